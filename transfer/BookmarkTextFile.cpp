#include "BookmarkTextFile.h"

#include "BookmarkHtmlFile.h"
#include "TransferTexts.h"
#include "LegacyText.h"

namespace BookmarkTextFile {

QByteArray Format(const Line& line)
{
    return (line.name + u'|' + line.address + u'|' + line.category + u'|' + line.remark).toUtf8() + "\r\n";
}

Read Parse(const QByteArray& bytes)
{
    Read read;
    const QString text = DecodeLegacyText(bytes);
    int number = 0;
    for (QStringView line : QStringView(text).split(u'\n')) {
        ++number;
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.trimmed().isEmpty())
            continue;
        const QList<QStringView> fields = line.split(u'|');
        const auto field = [&](int at) { return at < fields.size() ? fields[at].toString() : QString(); };
        const Line parsed{field(0), field(1), field(2), field(3)};
        const QString why = fields.size() < 3                     ? TransferTexts::LineTooShort
                            : parsed.name.trimmed().isEmpty()     ? TransferTexts::LineWithoutName
                            : parsed.address.trimmed().isEmpty()  ? TransferTexts::LineWithoutAddress
                            : parsed.category.trimmed().isEmpty() ? TransferTexts::LineWithoutCategory
                                                                  : QString();
        if (!why.isEmpty()) {
            read.skipped.append({number, why});
            continue;
        }
        if (!BookmarkHtmlFile::IsPageAddress(parsed.address.trimmed())) {
            ++read.notPages;
            continue;
        }
        read.lines.append(parsed);
    }
    return read;
}

} // namespace BookmarkTextFile
