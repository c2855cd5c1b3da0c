#include "LegacyText.h"

#include <QStringDecoder>

QString DecodeLegacyText(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;

    QStringDecoder gb18030("GB18030");
    if (gb18030.isValid())
        return gb18030(bytes);
    return QString::fromLatin1(bytes);
}
