#pragma once

#include <QUrl>

// Whether a page belongs to the site a bookmark was made for: the same host, or a host of the same
// registrable domain by the public suffix list (login.example.com for example.com, but never
// other.github.io for mine.github.io), on the same port; http may become https, never the reverse.
// The automatic login types passwords only into such pages.
bool IsSameSite(const QUrl& bookmark, const QUrl& page);

// example.com for login.example.com; sina.com.cn for mail.sina.com.cn; mine.github.io for
// a.mine.github.io. A host that is itself a public suffix, or an address, stands for itself.
QString RegistrableDomain(const QString& host);
