#include "HexText.h"

#include "LegacyText.h"

#include <QList>

#include <algorithm>

namespace {

// The second, fourth, … elements, then the first, third, …
template <typename Seq> Seq Deal(const Seq& in)
{
    Seq out;
    out.reserve(in.size());
    for (qsizetype i = 1; i < in.size(); i += 2)
        out.append(in[i]);
    for (qsizetype i = 0; i < in.size(); i += 2)
        out.append(in[i]);
    return out;
}

template <typename Seq> Seq Undeal(const Seq& in)
{
    Seq out(in.size(), typename Seq::value_type{});
    const qsizetype secondHalf = in.size() / 2;
    for (qsizetype i = 0; i < secondHalf; ++i)
        out[2 * i + 1] = in[i];
    for (qsizetype i = secondHalf; i < in.size(); ++i)
        out[2 * (i - secondHalf)] = in[i];
    return out;
}

template <typename Seq> void SwapNeighbours(Seq& s)
{
    for (qsizetype i = 0; i + 1 < s.size(); i += 2)
        std::swap(s[i], s[i + 1]);
}

int HexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

// A pair reads as a hex number up to its first non-hex character; none at all reads as 0.
unsigned ParseHexPrefix(QStringView pair)
{
    unsigned value = 0;
    for (QChar c : pair) {
        const int digit = HexDigit(c);
        if (digit < 0)
            break;
        value = value * 16 + unsigned(digit);
    }
    return value;
}

} // namespace

QString DecodeHexText(const QString& encoded)
{
    const QString working = Deal(encoded);
    QByteArray bytes;
    for (qsizetype i = 0; i < working.size(); i += 2) {
        const unsigned byte = ParseHexPrefix(QStringView(working).mid(i, 2)) & 0xFF;
        if (byte == 0)
            break;
        bytes.append(char(byte));
    }
    return DecodeLegacyText(bytes);
}

QString EncodeHexText(const QString& text)
{
    return Undeal(QString::fromLatin1(text.toUtf8().toHex().toUpper()));
}

QString UnscrambleText(const QString& scrambled)
{
    QList<uint> chars = Undeal(scrambled.toUcs4());
    SwapNeighbours(chars);
    std::reverse(chars.begin(), chars.end());
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(chars.constData()), chars.size());
}

QString ScrambleText(const QString& text)
{
    QList<uint> chars = text.toUcs4();
    std::reverse(chars.begin(), chars.end());
    SwapNeighbours(chars);
    chars = Deal(chars);
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(chars.constData()), chars.size());
}
