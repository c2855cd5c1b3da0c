#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The "|" text format of exported bookmarks: name|address|category|remark, CRLF after every line,
// no header and no quoting.
namespace BookmarkTextFile {

struct Line {
    QString name;
    QString address;
    QString category;
    QString remark;
};

QByteArray Format(const Line& line);

// A line of the file left out, and why ("缺少网址").
struct Skipped {
    int number; // from 1
    QString why;
};

struct Read {
    QList<Line> lines;
    // Lines without what "添加" asks for: a name, an address, a category (fewer than three fields
    // among them). Empty lines are no lines.
    QList<Skipped> skipped;
    // Lines whose address is no page (javascript:, …).
    int notPages = 0;
};

// Lines of a file written by qavex (UTF-8) or by the Windows program (GBK), checked as "添加"
// checks an entry; fields after the fourth are ignored.
Read Parse(const QByteArray& bytes);

} // namespace BookmarkTextFile
