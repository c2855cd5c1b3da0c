#include "SameSite.h"

#include <QHostAddress>
#include <QSet>
#include <QStringList>

namespace {

// Second-level labels under which a name is registered one level deeper (sina.com.cn, bbc.co.uk).
const QSet<QString> SharedSecondLevels = {
    QStringLiteral("com"), QStringLiteral("net"), QStringLiteral("org"), QStringLiteral("gov"),
    QStringLiteral("edu"), QStringLiteral("ac"),  QStringLiteral("co"),  QStringLiteral("or"),
    QStringLiteral("ne"),  QStringLiteral("go"),  QStringLiteral("mil"), QStringLiteral("int"),
};

int EffectivePort(const QUrl& url)
{
    const QString scheme = url.scheme().toLower();
    return url.port(scheme == QStringLiteral("https") ? 443 : scheme == QStringLiteral("http") ? 80 : -1);
}

bool IsWeb(const QUrl& url)
{
    const QString scheme = url.scheme().toLower();
    return scheme == QStringLiteral("http") || scheme == QStringLiteral("https");
}

} // namespace

QString RegistrableDomain(const QString& host)
{
    const QString name = host.toLower();
    if (!QHostAddress(name).isNull())
        return name;
    const QStringList labels = name.split(u'.', Qt::SkipEmptyParts);
    if (labels.size() <= 2)
        return labels.join(u'.');
    const int keep = labels.size() >= 3 && labels.last().size() == 2 &&
                             SharedSecondLevels.contains(labels[labels.size() - 2])
                         ? 3
                         : 2;
    return labels.mid(labels.size() - keep).join(u'.');
}

bool IsSameSite(const QUrl& bookmark, const QUrl& page)
{
    if (!bookmark.isValid() || !page.isValid())
        return false;
    if (bookmark.isLocalFile() || page.isLocalFile())
        return bookmark.isLocalFile() && page.isLocalFile() &&
               bookmark.adjusted(QUrl::RemoveQuery | QUrl::RemoveFragment) ==
                   page.adjusted(QUrl::RemoveQuery | QUrl::RemoveFragment);
    // A site that moves from http to https is still itself; anything else is another one.
    if (!IsWeb(bookmark) || !IsWeb(page))
        return false;
    const bool upgraded = bookmark.scheme().toLower() == QStringLiteral("http") &&
                          page.scheme().toLower() == QStringLiteral("https") && bookmark.port() == -1 &&
                          page.port() == -1;
    if (!upgraded && EffectivePort(bookmark) != EffectivePort(page))
        return false;
    const QString bookmarkHost = bookmark.host().toLower();
    const QString pageHost = page.host().toLower();
    if (bookmarkHost.isEmpty() || pageHost.isEmpty())
        return false;
    return bookmarkHost == pageHost || RegistrableDomain(bookmarkHost) == RegistrableDomain(pageHost);
}
