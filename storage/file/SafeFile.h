#pragma once

#include <QByteArray>
#include <QString>

// Writes a whole file or nothing: the bytes go to a temporary file beside `path`, every write and
// the flush are checked (a full disk shows at the flush, not at the buffered write), and only then
// does the new file replace the old one. On any failure the old file is left as it was.
bool WriteFileSafely(const QString& path, const QByteArray& bytes);
