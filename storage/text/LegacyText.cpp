#include "LegacyText.h"

#include <QStringDecoder>

#include <uchardet.h>

#include <memory>

namespace {

// What the detector makes of the bytes: one of the Chinese encodings, or nothing.
QByteArray DetectedChineseEncoding(const QByteArray& bytes)
{
    const std::unique_ptr<std::remove_pointer_t<uchardet_t>, void (*)(uchardet_t)> detector(uchardet_new(),
                                                                                            uchardet_delete);
    if (!detector || uchardet_handle_data(detector.get(), bytes.constData(), size_t(bytes.size())) != 0)
        return {};
    uchardet_data_end(detector.get());
    const QByteArray name = QByteArray(uchardet_get_charset(detector.get())).toUpper();
    if (name == "GB18030" || name == "GBK" || name == "GB2312" || name == "BIG5" || name == "EUC-TW")
        return name == "GBK" || name == "GB2312" ? QByteArray("GB18030") : name;
    return {};
}

bool IsIdeograph(QChar c)
{
    return (c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF) ||
           (c.unicode() >= 0x3400 && c.unicode() <= 0x4DBF);
}

// GBK pairs often form valid two-byte UTF-8 ("实时" reads as "ʵʱ"), which detectors, reading
// few bytes, take for UTF-8. Text whose UTF-8 reading has no character of three bytes or more
// (none of Chinese) while its GB18030 reading is all Chinese is taken as GB18030.
bool ReadsBetterAsGb18030(const QString& asUtf8, const QString& asGb18030)
{
    bool anyNonAscii = false;
    for (QChar c : asUtf8) {
        if (c.unicode() >= 0x800)
            return false;
        anyNonAscii = anyNonAscii || c.unicode() >= 0x80;
    }
    if (!anyNonAscii)
        return false;
    for (QChar c : asGb18030) {
        if (c.unicode() >= 0x80 && !IsIdeograph(c) && !c.isPunct() && !c.isSpace())
            return false;
    }
    return true;
}

} // namespace

QString DecodeLegacyText(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    const bool hasBom = bytes.startsWith("\xEF\xBB\xBF");
    QStringDecoder gb18030("GB18030");
    if (!utf8.hasError()) {
        if (hasBom || !gb18030.isValid())
            return text;
        const QString asGb18030 = gb18030(bytes);
        return !gb18030.hasError() && ReadsBetterAsGb18030(text, asGb18030) ? asGb18030 : text;
    }
    QStringDecoder detected(DetectedChineseEncoding(bytes).constData());
    if (detected.isValid()) {
        QString decoded = detected(bytes);
        if (!detected.hasError())
            return decoded;
    }
    if (gb18030.isValid())
        return gb18030(bytes);
    return QString::fromLatin1(bytes);
}
