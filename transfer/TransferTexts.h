#pragma once

#include <QString>

// What moving bookmarks in and out says: import reports, the reasons a line is left out, and the
// command line's messages.
namespace TransferTexts {
inline const QString LineTooShort = QStringLiteral("少于三项");
inline const QString LineWithoutName = QStringLiteral("缺少网站名");
inline const QString LineWithoutAddress = QStringLiteral("缺少网址");
inline const QString LineWithoutCategory = QStringLiteral("缺少分类");
inline const QString LooseBookmarksCategory = QStringLiteral("导入的书签");
inline const QString Imported = QStringLiteral("已导入 %1 个网址");
inline const QString SkippedLine = QStringLiteral("第 %1 行：%2");
inline const QString ImportSkipped = QStringLiteral("，%1 行格式不对未导入（%2）");
inline const QString ListSeparator = QStringLiteral("；");
inline const QString ImportRepeats = QStringLiteral("，%1 个已经收藏过的网址未导入");
inline const QString ImportNotPages = QStringLiteral("，%1 个不是网页的地址未导入");
inline const QString ImportRefused = QStringLiteral("，%1 行无法存入数据库");
inline const QString ImportCategoriesRefused = QStringLiteral("，%1 个分类无法登记");
inline const QString CannotReachServer = QStringLiteral("无法连接数据库服务器");
inline const QString NoCollection = QStringLiteral("没有收藏：");
inline const QString NotOurDatabase = QStringLiteral("不是 qavex 的数据库文件：");
inline const QString CannotReadBookmarks = QStringLiteral("无法读取数据库中的网址，没有导出。");
inline const QString CannotWriteFile = QStringLiteral("无法写入文件：");
inline const QString Exported = QStringLiteral("已导出 %1 个网址");
inline const QString CollectionInUse = QStringLiteral("qavex 正在使用这个收藏，请关闭它的窗口后再导入");
inline const QString CannotReadFile = QStringLiteral("无法打开文件：");
inline const QString AddFailed = QStringLiteral("添加失败");
inline const QString DatabaseDamaged = QStringLiteral("数据库已损坏：");
inline const QString DatabaseSound = QStringLiteral("数据库完好：");
inline const QString WrongArguments = QStringLiteral("参数不对：");
} // namespace TransferTexts
