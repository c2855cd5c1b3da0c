#pragma once

#include <QByteArray>
#include <QString>

// Text files may come from the Windows program, which wrote GBK; ours are UTF-8.
// Valid UTF-8 (with or without BOM) is taken as UTF-8, anything else as GB18030.
QString DecodeLegacyText(const QByteArray& bytes);
