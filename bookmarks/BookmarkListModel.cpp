#include "BookmarkListModel.h"

#include "BookmarkTexts.h"
#include "RecordTable.h"
#include "RowIcons.h"
#include "StorageNames.h"

namespace {

// A screen shows a few dozen rows; a block read covers scrolling a page either way.
constexpr int FetchBefore = 64;
constexpr int FetchAfter = 192;
constexpr size_t CacheLimit = 20000;

} // namespace

BookmarkListModel::BookmarkListModel(QObject* parent)
    : QAbstractTableModel(parent), m_icon(BookmarkRowIcon()), m_loginIcon(LoginBookmarkRowIcon())
{
}

int BookmarkListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_ids.size() - m_gapSize);
}

int BookmarkListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant BookmarkListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole && role != Qt::DecorationRole) {
        if (role == Qt::BackgroundRole)
            return m_textBackground.isValid() ? QVariant(m_textBackground) : QVariant();
        if (role == Qt::ForegroundRole)
            return m_textColor.isValid() ? QVariant(m_textColor) : QVariant();
        return {};
    }
    const Row row = RowAt(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return row.cells[index.column()];
    case Qt::DecorationRole:
        if (index.column() == NameColumn)
            return row.hasLogin ? m_loginIcon : m_icon;
        return {};
    default:
        return {};
    }
}

QVariant BookmarkListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return {};
    return BookmarkTexts::ListColumns[section];
}

BookmarkListModel::Row BookmarkListModel::RowAt(int row) const
{
    const qint64 id = IdAt(row);
    auto known = m_cache.find(id);
    if (known == m_cache.end()) {
        Fetch(row);
        known = m_cache.find(id);
        if (known == m_cache.end())
            return Row{{}, false, id};
    }
    return known->second;
}

void BookmarkListModel::Remember(const Row& row) const
{
    if (m_cache.size() >= CacheLimit)
        m_cache.clear();
    m_cache[row.id] = row;
}

void BookmarkListModel::Fetch(int row) const
{
    if (!m_source)
        return;
    const int first = std::max(0, row - FetchBefore);
    const int last = std::min(rowCount() - 1, row + FetchAfter);
    if (m_cache.size() + size_t(last - first + 1) > CacheLimit)
        m_cache.clear();
    QVariantList wanted;
    QStringList marks;
    for (int r = first; r <= last; ++r) {
        const qint64 id = IdAt(r);
        if (!m_cache.contains(id)) {
            wanted.append(id);
            marks.append(QStringLiteral("?"));
        }
    }
    if (wanted.isEmpty())
        return;
    const QList<QStringList> rows = m_source->ReadRows(
        Tables::Bookmarks,
        {Columns::Id, Columns::Name, Columns::Address, Columns::Category, Columns::Remark, Columns::Account},
        QStringLiteral("ID in (") + marks.join(u',') + u')', wanted);
    for (const QStringList& fields : rows)
        m_cache[fields[0].toLongLong()] =
            Row{{fields[1], fields[2], fields[3], fields[4]}, !fields[5].isEmpty(), fields[0].toLongLong()};
    // A row deleted behind the list shows empty rather than being asked for on every paint.
    for (const QVariant& id : wanted)
        m_cache.try_emplace(id.toLongLong(), Row{{}, false, id.toLongLong()});
}

void BookmarkListModel::AppendRow(const Row& row)
{
    const int position = rowCount();
    beginInsertRows({}, position, position);
    m_ids.push_back(row.id);
    Remember(row);
    endInsertRows();
}

void BookmarkListModel::AppendRows(QList<Row> rows)
{
    if (rows.isEmpty())
        return;
    beginInsertRows({}, rowCount(), int(rowCount() + rows.size() - 1));
    m_ids.reserve(m_ids.size() + size_t(rows.size()));
    for (const Row& row : rows) {
        m_ids.push_back(row.id);
        // Only as many as could be on screen soon; the rest are read when shown.
        if (m_cache.size() < CacheLimit)
            m_cache[row.id] = row;
    }
    endInsertRows();
}

void BookmarkListModel::AppendIds(const std::vector<qint64>& ids)
{
    if (ids.empty())
        return;
    beginInsertRows({}, rowCount(), int(rowCount() + qsizetype(ids.size()) - 1));
    m_ids.insert(m_ids.end(), ids.begin(), ids.end());
    endInsertRows();
}

void BookmarkListModel::SetRow(int row, const Row& values)
{
    if (RowAt(row) == values)
        return;
    m_ids[Physical(row)] = values.id;
    Remember(values);
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

void BookmarkListModel::RemoveRow(int row)
{
    beginRemoveRows({}, row, row);
    m_ids.erase(m_ids.begin() + row);
    endRemoveRows();
}

void BookmarkListModel::RemoveRows(const QList<int>& descendingRows)
{
    m_gapStart = m_ids.size();
    m_gapSize = 0;
    for (qsizetype i = 0; i < descendingRows.size();) {
        const int last = descendingRows[i];
        int first = last;
        while (++i < descendingRows.size() && descendingRows[i] == first - 1)
            first = descendingRows[i];
        beginRemoveRows({}, first, last);
        // Rows between this range and the gap move up past the gap; the range joins the gap.
        const size_t count = size_t(last - first + 1);
        if (m_gapSize > 0)
            std::move_backward(m_ids.begin() + last + 1, m_ids.begin() + m_gapStart,
                               m_ids.begin() + m_gapStart + m_gapSize);
        m_gapStart = size_t(first);
        m_gapSize += count;
        endRemoveRows();
    }
    m_ids.erase(m_ids.begin() + m_gapStart, m_ids.begin() + m_gapStart + m_gapSize);
    m_gapStart = m_ids.size();
    m_gapSize = 0;
}

void BookmarkListModel::RemoveAll()
{
    if (m_ids.empty())
        return;
    beginRemoveRows({}, 0, int(m_ids.size()) - 1);
    m_ids.clear();
    endRemoveRows();
}

void BookmarkListModel::Rewrite(std::vector<qint64> ids)
{
    // What the database holds now is read as the rows are shown.
    m_cache.clear();
    const size_t kept = std::min(m_ids.size(), ids.size());
    qsizetype changedFrom = -1;
    for (size_t i = 0; i <= kept; ++i) {
        const bool changed = i < kept && m_ids[i] != ids[i];
        if (changed) {
            m_ids[i] = ids[i];
            if (changedFrom < 0)
                changedFrom = qsizetype(i);
        } else if (changedFrom >= 0) {
            emit dataChanged(index(int(changedFrom), 0), index(int(i - 1), ColumnCount - 1));
            changedFrom = -1;
        }
    }
    if (ids.size() > m_ids.size()) {
        beginInsertRows({}, int(m_ids.size()), int(ids.size() - 1));
        m_ids.insert(m_ids.end(), ids.begin() + qsizetype(m_ids.size()), ids.end());
        endInsertRows();
    } else if (ids.size() < m_ids.size()) {
        beginRemoveRows({}, int(ids.size()), int(m_ids.size() - 1));
        m_ids.resize(ids.size());
        endRemoveRows();
    }
}

void BookmarkListModel::Reread()
{
    m_cache.clear();
    if (!m_ids.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

void BookmarkListModel::SetTextBackground(const QColor& color)
{
    m_textBackground = color;
    if (!m_ids.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1), {Qt::BackgroundRole});
}

void BookmarkListModel::SetTextColor(const QColor& color)
{
    m_textColor = color;
    if (!m_ids.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1), {Qt::ForegroundRole});
}
