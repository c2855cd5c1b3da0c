#pragma once

#include <QString>

#include <array>

// Texts of the bookmark manager's windows and messages.
namespace BookmarkTexts {
inline const QString DesignCaption = QStringLiteral("网址收藏");
inline const std::array<QString, 4> ListColumns = {QStringLiteral("网站名称"), QStringLiteral("地址"),
                                                   QStringLiteral("分类"), QStringLiteral("备注")};
inline const QString CategoryListLabel = QStringLiteral("分类列表：");
inline const QString NameLabel = QStringLiteral("网站名：");
inline const QString AddressLabel = QStringLiteral("地址：");
inline const QString RemarkLabel = QStringLiteral("备注：");
inline const QString CategoryLabel = QStringLiteral("分类：");
inline const QString AddButton = QStringLiteral("添加");
inline const QString ModifyButton = QStringLiteral("修改");
inline const QString AdvancedButton = QStringLiteral("高级");

inline const QString OperationsMenu = QStringLiteral("操作");
inline const QString OpenWebPage = QStringLiteral("打开网页");
inline const QString OpenInBuiltInBrowser = QStringLiteral("自带浏览器打开");
inline const QString ExportData = QStringLiteral("导出数据");
inline const QString ImportData = QStringLiteral("导入数据");
inline const QString ChangeCategory = QStringLiteral("修改分类");
inline const QString DeleteBookmarks = QStringLiteral("删除网址");
inline const QString ClearData = QStringLiteral("清空数据");
inline const QString FindInNames = QStringLiteral("在名称中查找...");
inline const QString FindInAddresses = QStringLiteral("在地址中查找...");
inline const QString AppearanceSettings = QStringLiteral("设置外观...");
inline const QString UseBuiltInBrowser = QStringLiteral("使用自带浏览器");
inline const QString CategoryMenu = QStringLiteral("分类");
inline const QString RenameCategory = QStringLiteral("重命名");
inline const QString DeleteCategory = QStringLiteral("删除");

inline const QString ShowAll = QStringLiteral("显示全部");
inline const QString DefaultCategory = QStringLiteral("软件下载");
inline const QString DefaultRemark = QStringLiteral("精品软件下载站");

inline const QString ErrorTitle = QStringLiteral("错误：");
inline const QString QuestionTitle = QStringLiteral("询问");
inline const QString CannotOpenDatabase = QStringLiteral("无法打开数据库文件：");
inline const QString MissingFields = QStringLiteral("请输入网站名称、地址和分类！");
inline const QString AlreadyBookmarked = QStringLiteral("此网址已经收藏过");
inline const QString AddFailed = QStringLiteral("添加失败");
inline const QString SelectRecordToModify = QStringLiteral("请选择要修改的记录");
inline const QString NameAndAddressRequired = QStringLiteral("网址名称和网页地址不能为空");
inline const QString ModifyFailed = QStringLiteral("修改失败");
inline const QString SelectBookmarksToDelete = QStringLiteral("请选择要删除的网址!");
inline const QString ConfirmDelete = QStringLiteral("确定删除选定网址吗？");
inline const QString ConfirmClear = QStringLiteral("确定清空网址数据吗？");
} // namespace BookmarkTexts
