#pragma once

#include <QUrl>

// Whether a page that loaded belongs to the site a bookmark was made for: the same host, or a
// host of the same registrable domain (login.example.com for example.com), on the same port.
// The automatic login types passwords only into such pages.
bool IsSameSite(const QUrl& bookmark, const QUrl& page);

// example.com for login.example.com; sina.com.cn for mail.sina.com.cn.
QString RegistrableDomain(const QString& host);
