#pragma once

#include "BookmarkTextFile.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

// The bookmark HTML file every browser imports and exports (<!DOCTYPE NETSCAPE-Bookmark-file-1>):
// folders of links in nested <DL> lists, a <DD> after a link for its description.
namespace BookmarkHtmlFile {

struct Contents {
    // Folder paths become categories ("父/子"); links outside any folder get LooseCategory.
    QList<BookmarkTextFile::Line> lines;
    // Links to something other than a page (javascript:, place:, data:, …), left out.
    int notPages = 0;
    // Lines of a "|" text file left out, with why.
    QList<BookmarkTextFile::Skipped> skipped;
};

// Whatever the markup holds that reads as links; broken or cut markup gives what is readable.
// The charset is the one the file declares, else UTF-8, else the Chinese encodings' guess.
Contents Parse(const QByteArray& bytes);

// One folder per category, in the order they first appear; UTF-8, everything escaped.
QByteArray Format(const QList<BookmarkTextFile::Line>& lines);

// Pages a browser opens: http, https, ftp and file addresses, and addresses without a scheme
// ("www.baidu.com"); not javascript:, data:, place: and the like.
bool IsPageAddress(const QString& address);

// A category for a folder path below the browser's own top folders.
QString CategoryOf(const QStringList& folders);

} // namespace BookmarkHtmlFile
