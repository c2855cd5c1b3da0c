#pragma once

#include <QIcon>

// The 16 × 16 pictures of the bookmark list: a plain bookmark, and one that logs in.
QIcon BookmarkRowIcon();
QIcon LoginBookmarkRowIcon();
