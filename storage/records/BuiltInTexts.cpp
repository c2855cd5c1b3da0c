#include "BuiltInTexts.h"

#include "HexText.h"

namespace BuiltInTexts {

QString StartAddress()
{
    return DecodeHexText(QStringLiteral("26E86724671467906743735A22EF623F67F767D727F7"));
}

QString DefaultBookmarkName()
{
    return DecodeHexText(QStringLiteral("EE48B8B5BB6EEE48BA8EAADFEE58BBFD8A3F"));
}

QString DefaultBookmarkAddress()
{
    return DecodeHexText(QStringLiteral("663827E47714771027E3633A62FF62DF27F0"));
}

QString Caption()
{
    return UnscrambleText(QStringLiteral("xveaq")) +
           DecodeHexText(QStringLiteral("02E06E974BBD69E18E95798DF8"));
}

} // namespace BuiltInTexts
