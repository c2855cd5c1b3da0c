#pragma once

#include <QString>

// What the user is told about protected passwords.
namespace PasswordTexts {
inline const QString PrimaryPasswordTitle = QStringLiteral("主密码");
inline const QString PrimaryPasswordPrompt = QStringLiteral("请输入主密码：");
inline const QString WrongPrimaryPassword = QStringLiteral("主密码不正确");
inline const QString PrimaryPasswordAgain = QStringLiteral("主密码不正确，请重新输入：");
inline const QString KeyMissing = QStringLiteral("系统密钥环中没有这个收藏的密钥，加密的密码无法使用。");
inline const QString KeyMismatch = QStringLiteral("系统密钥环中的密钥与这个收藏不符，加密的密码无法使用。");
inline const QString Tampered = QStringLiteral("密码无法解密，数据可能已被改动。");
inline const QString StorageFailed = QStringLiteral("无法写入数据库，密码保护没有更改。");
inline const QString Damaged = QStringLiteral("密码保护数据已损坏");
inline const QString CryptoFailed = QStringLiteral("无法使用加密功能（内存不足或加密库无法启动）。");
inline const QString ServerNeedsPrimaryPassword = QStringLiteral(
    "收藏在数据库服务器上，登录密码只能用主密码保护后保存。请先在“操作 → 密码保护...”中选择“主密码”。");
inline const QString ErrorTitle = QStringLiteral("密码保护");
} // namespace PasswordTexts
