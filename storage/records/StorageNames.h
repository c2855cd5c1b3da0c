#pragma once

#include <QString>

// Table and column names of qavex.mdb. Stored files depend on them: never translate or rename.
namespace Tables {
inline const QString Bookmarks = QStringLiteral("网址");
inline const QString Categories = QStringLiteral("分类");
inline const QString History = QStringLiteral("历史地址");
} // namespace Tables

namespace Columns {
inline const QString Id = QStringLiteral("ID");
inline const QString Name = QStringLiteral("名称");
inline const QString Address = QStringLiteral("地址");
inline const QString Category = QStringLiteral("分类");
inline const QString Remark = QStringLiteral("备注");
inline const QString Account = QStringLiteral("账号");
inline const QString Password = QStringLiteral("密码");
inline const QString AccountId = QStringLiteral("账号标识");
inline const QString PasswordId = QStringLiteral("密码标识");
inline const QString IdType = QStringLiteral("标识类型");
inline const QString ButtonId = QStringLiteral("按钮标识");
inline const QString ButtonIdType = QStringLiteral("按钮标识类型");
inline const QString ControlType = QStringLiteral("控件类型");
inline const QString CategoryName = QStringLiteral("分类名");
} // namespace Columns

// The database file, beside the settings file in the program directory.
inline const QString DatabaseFileName = QStringLiteral("qavex.mdb");

// How the passwords of 网址 are protected: one row, there only while protection is on.
namespace Protection {
inline const QString Table = QStringLiteral("密码保护");
inline const QString Mode = QStringLiteral("方式");
inline const QString Salt = QStringLiteral("盐");
inline const QString Operations = QStringLiteral("运算次数");
inline const QString Memory = QStringLiteral("内存用量");
inline const QString WrappedKey = QStringLiteral("封装密钥");
inline const QString KeyCheck = QStringLiteral("密钥校验");
inline const QString KeyringItem = QStringLiteral("密钥环项");
inline const QString KeyringMode = QStringLiteral("系统密钥环");
inline const QString PrimaryPasswordMode = QStringLiteral("主密码");
} // namespace Protection
