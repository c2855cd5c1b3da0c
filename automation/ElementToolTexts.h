#pragma once

#include <QString>

// Texts of the element tools.
namespace ElementToolTexts {
inline const QString CodeCaption = QStringLiteral("代码显示");
inline const QString ToolCaption = QStringLiteral("元素操作");
inline const QString IdentifierLabel = QStringLiteral("元素标识：");
inline const QString ContentLabel = QStringLiteral("填写内容：");
inline const QString TypeGroup = QStringLiteral("标识类型");
inline const QString ById = QStringLiteral("ID");
inline const QString ByName = QStringLiteral("名称");
inline const QString ByTitle = QStringLiteral("标题");
inline const QString ByIndex = QStringLiteral("索引");
inline const QString ByAddress = QStringLiteral("地址");
inline const QString Exact = QStringLiteral("完全匹配");
inline const QString FillForm = QStringLiteral("填写表单");
inline const QString ClickLink = QStringLiteral("点击链接");
inline const QString ClickButton = QStringLiteral("点击按钮");
inline const QString CaptureFailed = QStringLiteral("取对象失败");
inline const QString NothingMatched = QStringLiteral("没有找到与此标识匹配的元素");
inline const QString CaptureHotKeyName = QStringLiteral("取元素");
} // namespace ElementToolTexts
