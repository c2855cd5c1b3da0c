#pragma once

#include <QByteArray>
#include <QString>

// Text files may come from the Windows program, which wrote GBK; ours are UTF-8. UTF-8 with a BOM
// or with Chinese in it is UTF-8; GBK that happens to be valid UTF-8 is still GBK; other bytes are
// what the encoding detector finds among the Chinese encodings (Big5 too), else GB18030.
QString DecodeLegacyText(const QByteArray& bytes);
