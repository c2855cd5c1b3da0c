#pragma once

#include "Collection.h"
#include "WindowProbes.h"

#include <QString>

// The login data of the one bookmark a login test opens.
struct Login {
    QString accountId;
    QString passwordId;
    QString idType;
    QString buttonId;
    QString buttonIdType;
    QString controlType;
    QString account = QStringLiteral("zhang");
    QString password = QStringLiteral("secret");
};
Q_DECLARE_METATYPE(Login)

// Starts the collection with one bookmark, for `address`, carrying `login`, selected; the browser
// opens on `startPage` first.
inline void PrepareLoginBookmark(Collection& c, const QString& address, const Login& login,
                                 const QString& startPage)
{
    c.Seed({QStringLiteral("网站")}, {});
    c.Execute(QStringLiteral("insert into 网址 values (null, '站点', '%1', '网站', '', '%2', '%3', "
                             "'%4', '%5', '%6', '%7', '%8', '%9')")
                  .arg(address, login.account, login.password, login.accountId, login.passwordId,
                       login.idType, login.buttonId, login.buttonIdType, login.controlType));
    c.WriteSettings(QStringLiteral("[记录]\nIE地址=%1\n").arg(startPage).toUtf8());
    c.Start();
    SelectRows(c.window(), {0});
}
