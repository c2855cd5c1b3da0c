// A browser profile's bookmark store on any bytes: an SQLite places database when the bytes begin
// like one, else a JSON bookmark file. Whatever they hold, the reader ends with bookmarks or nothing.
#include "BrowserProfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const bool places = bytes.startsWith(QByteArrayView("SQLite format 3\0", 16));
    const QString path = dir.filePath(places ? QStringLiteral("places.sqlite") : QStringLiteral("Bookmarks"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(bytes);
    file.close();
    ReadBrowserProfile({QStringLiteral("fuzz"), QStringLiteral("fuzz"), path,
                        places ? BrowserProfile::Kind::Places : BrowserProfile::Kind::Json});
    return 0;
}
