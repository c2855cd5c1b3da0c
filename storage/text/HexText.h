#pragma once

#include <QString>

// Built-in texts (start address, default bookmark, caption) are kept out of the binary's plain
// strings. DecodeHexText reads a hex text whose characters were dealt into two halves; the
// decoded bytes end at the first zero byte.
QString DecodeHexText(const QString& encoded);
QString EncodeHexText(const QString& text);

// A reversible rearrangement of characters in three passes.
QString UnscrambleText(const QString& scrambled);
QString ScrambleText(const QString& text);
