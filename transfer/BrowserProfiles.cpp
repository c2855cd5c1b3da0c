#include "BrowserProfiles.h"

#include "ForeignDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// The JSON family: folder under ~/.config and the browser's name.
const QList<std::pair<QString, QString>> JsonBrowsers = {
    {QStringLiteral("google-chrome"), QStringLiteral("Google Chrome")},
    {QStringLiteral("google-chrome-beta"), QStringLiteral("Google Chrome Beta")},
    {QStringLiteral("chromium"), QStringLiteral("Chromium")},
    {QStringLiteral("microsoft-edge"), QStringLiteral("Microsoft Edge")},
    {QStringLiteral("BraveSoftware/Brave-Browser"), QStringLiteral("Brave")},
    {QStringLiteral("vivaldi"), QStringLiteral("Vivaldi")},
    {QStringLiteral("opera"), QStringLiteral("Opera")},
};

// The places family's own top folders; tags are labels on bookmarks kept elsewhere, not folders.
const QString TagsRoot = QStringLiteral("tags________");
const QStringList PlacesRoots = {QStringLiteral("root________"), QStringLiteral("menu________"),
                                 QStringLiteral("toolbar_____"), QStringLiteral("unfiled_____"),
                                 QStringLiteral("mobile______"), TagsRoot};

// A bookmark file larger than this is not a browser's.
constexpr qint64 LargestJsonBytes = qint64(64) << 20;

void ReadJsonNode(const QJsonObject& node, const QStringList& folders, BookmarkHtmlFile::Contents& out)
{
    const QString type = node.value(QStringLiteral("type")).toString();
    if (type == QStringLiteral("url")) {
        const QString address = node.value(QStringLiteral("url")).toString();
        if (BookmarkHtmlFile::IsPageAddress(address))
            out.lines.append({node.value(QStringLiteral("name")).toString().simplified(),
                              address,
                              BookmarkHtmlFile::CategoryOf(folders),
                              {}});
        else
            ++out.notPages;
        return;
    }
    const QStringList below =
        folders + QStringList{node.value(QStringLiteral("name")).toString().simplified()};
    for (const QJsonValue child : node.value(QStringLiteral("children")).toArray())
        ReadJsonNode(child.toObject(), below, out);
}

std::optional<BookmarkHtmlFile::Contents> ReadJson(const QString& path)
{
    BookmarkHtmlFile::Contents contents;
    QFile file(path);
    if (QFileInfo(path).size() > LargestJsonBytes || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QJsonObject roots =
        QJsonDocument::fromJson(file.readAll()).object().value(QStringLiteral("roots")).toObject();
    // The bar, "other" and "synced" are the browser's own top folders: their children are the top.
    for (const QString& root : roots.keys()) {
        for (const QJsonValue child :
             roots.value(root).toObject().value(QStringLiteral("children")).toArray())
            ReadJsonNode(child.toObject(), {}, contents);
    }
    return contents;
}

std::optional<BookmarkHtmlFile::Contents> ReadPlaces(const QString& path, const std::atomic<bool>* cancelled)
{
    ForeignDatabase db(path, cancelled);
    if (!db.HasTable(QStringLiteral("moz_bookmarks"),
                     {QStringLiteral("id"), QStringLiteral("parent"), QStringLiteral("type"),
                      QStringLiteral("title"), QStringLiteral("fk"), QStringLiteral("position"),
                      QStringLiteral("guid")}) ||
        !db.HasTable(QStringLiteral("moz_places"), {QStringLiteral("id"), QStringLiteral("url")}))
        return std::nullopt;

    struct Item {
        qint64 parent = 0;
        int type = 0;
        QString title;
        QString address;
        QString guid;
    };
    QList<qint64> order;
    QHash<qint64, Item> items;
    const bool read =
        db.ForEachRow(QStringLiteral("select b.id, b.parent, b.type, b.title, p.url, b.guid "
                                     "from moz_bookmarks b left join moz_places p on p.id = b.fk "
                                     "order by b.parent, b.position"),
                      [&](const QStringList& row) {
                          const qint64 id = row[0].toLongLong();
                          order.append(id);
                          items.insert(id, {row[1].toLongLong(), row[2].toInt(), row[3], row[4], row[5]});
                      });
    if (!read)
        return std::nullopt;

    BookmarkHtmlFile::Contents contents;
    for (const qint64 id : order) {
        const Item& item = items[id];
        if (item.type != 1)
            continue;
        QStringList folders;
        bool tag = false;
        // Up to a top folder; a broken chain (or a loop) ends at the hundredth step.
        qint64 parent = item.parent;
        for (int depth = 0; depth < 100 && items.contains(parent); ++depth) {
            const Item& folder = items[parent];
            if (PlacesRoots.contains(folder.guid)) {
                tag = folder.guid == TagsRoot;
                break;
            }
            folders.prepend(folder.title.simplified());
            parent = folder.parent;
        }
        if (tag)
            continue;
        if (BookmarkHtmlFile::IsPageAddress(item.address))
            contents.lines.append(
                {item.title.simplified(), item.address, BookmarkHtmlFile::CategoryOf(folders), {}});
        else
            ++contents.notPages;
    }
    return contents;
}

void AddProfile(QList<BrowserProfile>& profiles, BrowserProfile profile, const std::atomic<bool>* cancelled)
{
    const std::optional<BookmarkHtmlFile::Contents> contents = ReadBrowserProfile(profile, cancelled);
    profile.bookmarkCount = contents ? int(contents->lines.size()) : 0;
    if (profile.bookmarkCount > 0)
        profiles.append(std::move(profile));
}

} // namespace

QList<BrowserProfile> FindBrowserProfiles(const QString& home, const std::atomic<bool>* cancelled)
{
    QList<BrowserProfile> profiles;
    const QDir firefox(QDir(home).filePath(QStringLiteral(".mozilla/firefox")));
    for (const QString& name : firefox.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString places = QDir(firefox.filePath(name)).filePath(QStringLiteral("places.sqlite"));
        if (QFile::exists(places))
            AddProfile(profiles, {QStringLiteral("Firefox"), name, places, BrowserProfile::Kind::Places},
                       cancelled);
    }
    for (const auto& [folder, browser] : JsonBrowsers) {
        const QDir root(QDir(home).filePath(QStringLiteral(".config/") + folder));
        QStringList names{QString()};
        names += root.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
        for (const QString& name : names) {
            const QString bookmarks = QDir(root.filePath(name)).filePath(QStringLiteral("Bookmarks"));
            if (QFile::exists(bookmarks))
                AddProfile(profiles,
                           {browser, name.isEmpty() ? browser : name, bookmarks, BrowserProfile::Kind::Json},
                           cancelled);
        }
    }
    return profiles;
}

std::optional<BookmarkHtmlFile::Contents> ReadBrowserProfile(const BrowserProfile& profile,
                                                             const std::atomic<bool>* cancelled)
{
    return profile.kind == BrowserProfile::Kind::Places ? ReadPlaces(profile.path, cancelled)
                                                        : ReadJson(profile.path);
}
