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

// Lines of a file written by qavex (UTF-8) or by the Windows program (GBK). Empty lines and lines
// of fewer than three fields are left out; fields after the fourth are ignored.
QList<Line> Parse(const QByteArray& bytes);

} // namespace BookmarkTextFile
