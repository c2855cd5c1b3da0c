#include "BookmarkTextFile.h"

#include "LegacyText.h"

namespace BookmarkTextFile {

QByteArray Format(const Line& line)
{
    return (line.name + u'|' + line.address + u'|' + line.category + u'|' + line.remark).toUtf8() + "\r\n";
}

QList<Line> Parse(const QByteArray& bytes)
{
    QList<Line> lines;
    const QString text = DecodeLegacyText(bytes);
    for (QStringView line : QStringView(text).split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.isEmpty())
            continue;
        const QList<QStringView> fields = line.split(u'|');
        if (fields.size() < 3)
            continue;
        lines.append({fields[0].toString(), fields[1].toString(), fields[2].toString(),
                      fields.size() > 3 ? fields[3].toString() : QString()});
    }
    return lines;
}

} // namespace BookmarkTextFile
