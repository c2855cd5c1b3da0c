#pragma once

#include "BookmarkHtmlFile.h"

#include <QList>
#include <QString>

#include <atomic>
#include <optional>

// The bookmarks the browsers on this machine keep in their profiles: the SQLite places database of
// one family, the JSON "Bookmarks" file of the other. Both are only ever read.
struct BrowserProfile {
    enum class Kind { Places, Json };
    QString browser; // "Firefox", "Chromium", …
    QString name;    // the profile's folder
    QString path;    // places.sqlite or Bookmarks
    Kind kind = Kind::Json;
    int bookmarkCount = 0;
};

// Profiles under `home`, each with how many page bookmarks it holds; unreadable ones are left out.
// Reading takes time: not on the window's thread.
QList<BrowserProfile> FindBrowserProfiles(const QString& home, const std::atomic<bool>* cancelled = nullptr);

// A profile's bookmarks with folders as categories, as a bookmark HTML file of it would give them.
// Its files are untrusted (see ForeignDatabase): nullopt when it cannot be read whole, being of
// another shape, too large, too slow, or cancelled.
std::optional<BookmarkHtmlFile::Contents> ReadBrowserProfile(const BrowserProfile& profile,
                                                             const std::atomic<bool>* cancelled = nullptr);
