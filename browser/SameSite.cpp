#include "SameSite.h"

#include <QHostAddress>

#include <libpsl.h>

namespace {

// The newer of the list built into libpsl and the one the system keeps up to date.
const psl_ctx_t* SuffixList()
{
    static const psl_ctx_t* list = [] {
        const psl_ctx_t* latest = psl_latest(nullptr);
        return latest ? latest : psl_builtin();
    }();
    return list;
}

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

// The host as the page's own scripts see it: lower case, international names in their ASCII form.
QString AsciiHost(const QUrl& url)
{
    return url.host(QUrl::FullyEncoded).toLower();
}

} // namespace

QString RegistrableDomain(const QString& host)
{
    QString name = host.toLower();
    if (name.endsWith(u'.'))
        name.chop(1);
    if (name.isEmpty() || !QHostAddress(name).isNull() || name.startsWith(u'['))
        return name;
    const QByteArray ascii = QUrl::toAce(name);
    if (ascii.isEmpty() || !SuffixList())
        return name;
    const char* domain = psl_registrable_domain(SuffixList(), ascii.constData());
    return domain ? QUrl::fromAce(QByteArray(domain)) : name;
}

bool IsSameSite(const QUrl& bookmark, const QUrl& page)
{
    if (!bookmark.isValid() || !page.isValid())
        return false;
    if (bookmark.isLocalFile() || page.isLocalFile())
        return bookmark.isLocalFile() && page.isLocalFile() &&
               bookmark.adjusted(QUrl::RemoveQuery | QUrl::RemoveFragment) ==
                   page.adjusted(QUrl::RemoveQuery | QUrl::RemoveFragment);
    // A site that moves from http to https is still itself (on the default ports, or on the same
    // port); anything else is another one.
    if (!IsWeb(bookmark) || !IsWeb(page))
        return false;
    const QString from = bookmark.scheme().toLower();
    const QString to = page.scheme().toLower();
    if (from == to) {
        if (EffectivePort(bookmark) != EffectivePort(page))
            return false;
    } else if (from != QStringLiteral("http") || bookmark.port() != page.port()) {
        return false;
    }
    const QString bookmarkHost = AsciiHost(bookmark);
    const QString pageHost = AsciiHost(page);
    if (bookmarkHost.isEmpty() || pageHost.isEmpty())
        return false;
    return bookmarkHost == pageHost || RegistrableDomain(bookmarkHost) == RegistrableDomain(pageHost);
}
