#pragma once

#include <QString>

// Texts of the bookmark manager's windows and messages.
namespace BookmarkTexts {
inline const QString DesignCaption = QStringLiteral("网址收藏");
inline const QString CannotOpenDatabase = QStringLiteral("无法打开数据库文件：");
inline const QString ErrorTitle = QStringLiteral("错误：");
} // namespace BookmarkTexts
