// The hex text decoder and the unscrambler on any text.
#include "HexText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromLatin1(reinterpret_cast<const char*>(data), qsizetype(size));
    DecodeHexText(text);
    UnscrambleText(text);
    return 0;
}
