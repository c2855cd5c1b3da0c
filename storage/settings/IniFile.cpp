#include "IniFile.h"

#include "LegacyText.h"
#include "SafeFile.h"

#include <QFile>
#include <QStringList>

namespace {

bool EqualsIgnoringAsciiCase(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        char16_t x = a[i].unicode(), y = b[i].unicode();
        if (x >= 'A' && x <= 'Z')
            x += 'a' - 'A';
        if (y >= 'A' && y <= 'Z')
            y += 'a' - 'A';
        if (x != y)
            return false;
    }
    return true;
}

// A section line's name, or a null view when the line is no section line.
QStringView SectionName(QStringView line)
{
    line = line.trimmed();
    if (!line.startsWith(u'['))
        return {};
    line = line.mid(1);
    const qsizetype close = line.indexOf(u']');
    if (close >= 0)
        line = line.left(close);
    line = line.trimmed();
    return line.isEmpty() ? QStringView(u"") : line;
}

bool IsComment(QStringView line)
{
    return line.trimmed().startsWith(u';');
}

// The key of a key line, or a null view.
QStringView KeyName(QStringView line)
{
    if (IsComment(line))
        return {};
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0)
        return {};
    return line.left(eq).trimmed();
}

struct Lines {
    QStringList lines;
    QString newline = QStringLiteral("\n");
    bool endsWithNewline = true;
};

Lines ReadLines(const QString& path)
{
    Lines result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return result;
    const QString text = DecodeLegacyText(file.readAll());
    if (text.contains(u"\r\n"))
        result.newline = QStringLiteral("\r\n");
    result.endsWithNewline = text.isEmpty() || text.endsWith(u'\n');
    for (QStringView line : QStringView(text).split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        result.lines.append(line.toString());
    }
    if (text.isEmpty() || text.endsWith(u'\n'))
        result.lines.removeLast();
    return result;
}

// A line break inside a value would start a new line of the file and forge other keys.
QString OneLine(QString text)
{
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    return text;
}

} // namespace

IniFile::IniFile(QString path) : m_path(std::move(path)) {}

QString IniFile::Read(const QString& section, const QString& key, const QString& defaultValue) const
{
    const Lines file = ReadLines(m_path);
    bool inSection = false;
    for (const QString& line : file.lines) {
        const QStringView name = SectionName(line);
        if (!name.isNull()) {
            // Only the first section of a name counts, as for a write.
            if (inSection)
                break;
            inSection = EqualsIgnoringAsciiCase(name, section);
            continue;
        }
        if (!inSection)
            continue;
        const QStringView lineKey = KeyName(line);
        if (!lineKey.isNull() && EqualsIgnoringAsciiCase(lineKey, key))
            return line.mid(line.indexOf(u'=') + 1).trimmed();
    }
    return defaultValue.isNull() ? QStringLiteral("") : defaultValue;
}

bool IniFile::Write(const QString& section, const QString& key, const QString& value) const
{
    if (m_path.isEmpty())
        return false;
    Lines file = ReadLines(m_path);
    const QString keyLine = OneLine(key) + u'=' + OneLine(value);

    qsizetype sectionLine = -1;
    qsizetype lastContentLine = -1; // where a new key of the section goes after
    bool written = false;
    for (qsizetype i = 0; i < file.lines.size(); ++i) {
        const QString& line = file.lines[i];
        const QStringView name = SectionName(line);
        if (!name.isNull()) {
            if (sectionLine >= 0)
                break;
            if (EqualsIgnoringAsciiCase(name, section))
                sectionLine = lastContentLine = i;
            continue;
        }
        if (sectionLine < 0)
            continue;
        if (!line.trimmed().isEmpty())
            lastContentLine = i;
        const QStringView lineKey = KeyName(line);
        if (!lineKey.isNull() && EqualsIgnoringAsciiCase(lineKey, key)) {
            file.lines[i] = keyLine;
            written = true;
            break;
        }
    }
    if (!written) {
        if (sectionLine >= 0) {
            file.lines.insert(lastContentLine + 1, keyLine);
        } else {
            file.lines.append(u'[' + OneLine(section) + u']');
            file.lines.append(keyLine);
        }
    }

    QString text = file.lines.join(file.newline);
    if (file.endsWithNewline || !written)
        text += file.newline;
    return WriteFileSafely(m_path, text.toUtf8());
}
