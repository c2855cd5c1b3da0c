#include "BookmarkHtmlFile.h"

#include "TransferTexts.h"
#include "LegacyText.h"

#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QUrl>

#include <gumbo.h>

#include <functional>
#include <memory>
#include <vector>

namespace BookmarkHtmlFile {
namespace {

// The browsers' own top folders hold everything; their names say nothing about a bookmark.
const QStringList TopFolderNames = {
    QStringLiteral("Bookmarks bar"),   QStringLiteral("Bookmarks Toolbar"),
    QStringLiteral("Bookmarks Menu"),  QStringLiteral("Other bookmarks"),
    QStringLiteral("Other Bookmarks"), QStringLiteral("Mobile bookmarks"),
    QStringLiteral("书签栏"),          QStringLiteral("书签工具栏"),
    QStringLiteral("书签菜单"),        QStringLiteral("其他书签"),
    QStringLiteral("移动设备书签"),    QStringLiteral("收藏夹栏"),
    QStringLiteral("其他收藏夹"),
};

// On the folders qavex writes; browsers keep attributes they do not know or drop them.
constexpr const char* CategoryMark = "qavex_category";

QString TextOf(const GumboNode* node)
{
    if (node->type == GUMBO_NODE_TEXT || node->type == GUMBO_NODE_WHITESPACE ||
        node->type == GUMBO_NODE_CDATA)
        return QString::fromUtf8(node->v.text.text);
    if (node->type != GUMBO_NODE_ELEMENT)
        return {};
    QString text;
    const GumboVector& children = node->v.element.children;
    for (unsigned int i = 0; i < children.length; ++i)
        text += TextOf(static_cast<const GumboNode*>(children.data[i]));
    return text;
}

bool HasAttribute(const GumboNode* element, const char* name)
{
    return gumbo_get_attribute(&element->v.element.attributes, name) != nullptr;
}

class Reader {
public:
    explicit Reader(Contents& out) : m_out(out) {}

    // Returns the line of the last link that is a direct child of `node`, for a <DD> after it.
    qsizetype Walk(const GumboNode* node, const QStringList& folders)
    {
        qsizetype directLink = -1;
        qsizetype lastEntryLink = -1; // of the <DT> just walked, for the <DD> that follows it
        std::optional<QStringList> pendingFolder;
        const GumboVector& children = node->v.element.children;
        for (unsigned int i = 0; i < children.length; ++i) {
            const auto* child = static_cast<const GumboNode*>(children.data[i]);
            if (child->type != GUMBO_NODE_ELEMENT)
                continue;
            switch (child->v.element.tag) {
            case GUMBO_TAG_A:
                directLink = AddLink(child, folders);
                lastEntryLink = directLink;
                break;
            case GUMBO_TAG_H3:
                pendingFolder = FolderBelow(child, folders);
                // An unclosed heading holds the folder's own list.
                Walk(child, *pendingFolder);
                lastEntryLink = -1;
                break;
            case GUMBO_TAG_DL:
                Walk(child, pendingFolder.value_or(folders));
                pendingFolder.reset();
                lastEntryLink = -1;
                break;
            case GUMBO_TAG_DD:
                if (lastEntryLink >= 0)
                    m_out.lines[lastEntryLink].remark = TextOf(child).trimmed();
                lastEntryLink = -1;
                break;
            case GUMBO_TAG_H1:
            case GUMBO_TAG_TITLE:
            case GUMBO_TAG_HEAD:
                break;
            default:
                lastEntryLink = Walk(child, folders);
                break;
            }
        }
        return directLink;
    }

private:
    qsizetype AddLink(const GumboNode* a, const QStringList& folders)
    {
        const GumboAttribute* href = gumbo_get_attribute(&a->v.element.attributes, "href");
        const QString address = href ? QString::fromUtf8(href->value).trimmed() : QString();
        if (!IsPageAddress(address)) {
            ++m_out.notPages;
            return -1;
        }
        m_out.lines.append({TextOf(a).simplified(), address, CategoryOf(folders), {}});
        return m_out.lines.size() - 1;
    }

    static QStringList FolderBelow(const GumboNode* h3, const QStringList& folders)
    {
        // Its own text only: in broken markup the heading may hold more.
        QString text;
        const GumboVector& children = h3->v.element.children;
        for (unsigned int i = 0; i < children.length; ++i) {
            const auto* child = static_cast<const GumboNode*>(children.data[i]);
            if (child->type != GUMBO_NODE_ELEMENT)
                text += TextOf(child);
        }
        const QString name = text.simplified();
        // A folder qavex wrote is a category, whatever its name: "其他书签" of ours stays itself.
        const bool top =
            HasAttribute(h3, "personal_toolbar_folder") || HasAttribute(h3, "unfiled_bookmarks_folder") ||
            (folders.isEmpty() && TopFolderNames.contains(name) && !HasAttribute(h3, CategoryMark));
        return top ? folders : folders + QStringList{name};
    }

    Contents& m_out;
};

QString DeclaredCharset(const QByteArray& bytes)
{
    static const QRegularExpression charset(QStringLiteral("charset\\s*=\\s*[\"']?([A-Za-z0-9_.:\\-]+)"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = charset.match(QString::fromLatin1(bytes.left(4096)));
    return match.hasMatch() ? match.captured(1) : QString();
}

QString Decode(const QByteArray& bytes)
{
    const QString declared = DeclaredCharset(bytes);
    if (!declared.isEmpty() && declared.compare(QStringLiteral("utf-8"), Qt::CaseInsensitive) != 0) {
        QStringDecoder decoder(declared.toLatin1().constData());
        if (decoder.isValid())
            return decoder.decode(bytes);
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    // Files without a declaration from Chinese systems are in their code page.
    return utf8.hasError() ? DecodeLegacyText(bytes) : text;
}

QString Escaped(const QString& text)
{
    return text.toHtmlEscaped();
}

} // namespace

bool IsPageAddress(const QString& address)
{
    static const QStringList schemes = {QStringLiteral("http"), QStringLiteral("https"),
                                        QStringLiteral("ftp"), QStringLiteral("file")};
    // What comes before the first colon is a scheme only when it reads like one: "www.a.cn:8080/"
    // and "localhost:8080" are a host and its port.
    static const QRegularExpression scheme(QStringLiteral("^([A-Za-z][A-Za-z0-9+-]*):(?!\\d)"));
    if (address.isEmpty())
        return false;
    const QRegularExpressionMatch match = scheme.match(address);
    // An address without one ("www.baidu.com"), as typed into 添加 or kept by the Windows program,
    // is a page the browser finds.
    return !match.hasMatch() || schemes.contains(match.captured(1).toLower());
}

QString CategoryOf(const QStringList& folders)
{
    const QString joined = folders.join(u'/');
    return joined.isEmpty() ? TransferTexts::LooseBookmarksCategory : joined;
}

Contents Parse(const QByteArray& bytes)
{
    Contents contents;
    const QByteArray utf8 = Decode(bytes).toUtf8();
    const std::unique_ptr<GumboOutput, void (*)(GumboOutput*)> output(
        gumbo_parse_with_options(&kGumboDefaultOptions, utf8.constData(), size_t(utf8.size())),
        [](GumboOutput* parsed) { gumbo_destroy_output(&kGumboDefaultOptions, parsed); });
    if (output && output->root->type == GUMBO_NODE_ELEMENT)
        Reader(contents).Walk(output->root, {});
    return contents;
}

QByteArray Format(const QList<BookmarkTextFile::Line>& lines)
{
    // Categories made from nested folders ("外层/内层") are written nested again, each folder in
    // the order it first appears, its own links before its folders.
    struct Folder {
        QString name;
        QList<const BookmarkTextFile::Line*> links;
        QList<qsizetype> folders;
    };
    std::vector<Folder> tree(1);
    QHash<QString, qsizetype> byPath;
    for (const BookmarkTextFile::Line& line : lines) {
        qsizetype at = 0;
        QString path;
        for (const QString& part : line.category.split(u'/')) {
            path += u'/' + part;
            auto found = byPath.constFind(path);
            if (found == byPath.cend()) {
                tree.push_back({part, {}, {}});
                tree[size_t(at)].folders.append(qsizetype(tree.size()) - 1);
                found = byPath.insert(path, qsizetype(tree.size()) - 1);
            }
            at = *found;
        }
        tree[size_t(at)].links.append(&line);
    }

    QString html = QStringLiteral("<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
                                  "<!-- This is an automatically generated file.\n"
                                  "     It will be read and overwritten.\n"
                                  "     DO NOT EDIT! -->\n"
                                  "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
                                  "<TITLE>Bookmarks</TITLE>\n"
                                  "<H1>Bookmarks</H1>\n"
                                  "<DL><p>\n");
    const std::function<void(qsizetype, int)> write = [&](qsizetype index, int depth) {
        const Folder& folder = tree[size_t(index)];
        const QString indent(depth * 4, u' ');
        for (const BookmarkTextFile::Line* line : folder.links) {
            html += indent + QStringLiteral("<DT><A HREF=\"") + Escaped(line->address) +
                    QStringLiteral("\">") + Escaped(line->name) + QStringLiteral("</A>\n");
            if (!line->remark.isEmpty())
                html += indent + QStringLiteral("<DD>") + Escaped(line->remark) + u'\n';
        }
        for (qsizetype child : folder.folders) {
            html += indent +
                    QStringLiteral("<DT><H3 %1=\"1\">").arg(QString::fromLatin1(CategoryMark).toUpper()) +
                    Escaped(tree[size_t(child)].name) + QStringLiteral("</H3>\n") + indent +
                    QStringLiteral("<DL><p>\n");
            write(child, depth + 1);
            html += indent + QStringLiteral("</DL><p>\n");
        }
    };
    write(0, 1);
    html += QStringLiteral("</DL><p>\n");
    return html.toUtf8();
}

} // namespace BookmarkHtmlFile
