#include "BookmarkListModel.h"

#include "BookmarkTexts.h"
#include "RowIcons.h"

BookmarkListModel::BookmarkListModel(QObject* parent)
    : QAbstractTableModel(parent), m_icon(BookmarkRowIcon()), m_loginIcon(LoginBookmarkRowIcon())
{
}

int BookmarkListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size() - m_gapSize);
}

int BookmarkListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant BookmarkListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const Row& row = RowAt(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return row.cells[index.column()];
    case Qt::DecorationRole:
        if (index.column() == NameColumn)
            return row.hasLogin ? m_loginIcon : m_icon;
        return {};
    case Qt::BackgroundRole:
        return m_textBackground.isValid() ? QVariant(m_textBackground) : QVariant();
    case Qt::ForegroundRole:
        return m_textColor.isValid() ? QVariant(m_textColor) : QVariant();
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

void BookmarkListModel::AppendRow(const Row& row)
{
    const int position = int(m_rows.size());
    beginInsertRows({}, position, position);
    m_rows.push_back(row);
    endInsertRows();
}

void BookmarkListModel::AppendRows(QList<Row> rows)
{
    if (rows.isEmpty())
        return;
    beginInsertRows({}, int(m_rows.size()), int(m_rows.size() + rows.size() - 1));
    m_rows.reserve(m_rows.size() + rows.size());
    for (Row& row : rows)
        m_rows.push_back(std::move(row));
    endInsertRows();
}

void BookmarkListModel::SetRow(int row, const Row& values)
{
    if (m_rows[row] == values)
        return;
    m_rows[row] = values;
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

void BookmarkListModel::RemoveRow(int row)
{
    beginRemoveRows({}, row, row);
    m_rows.erase(m_rows.begin() + row);
    endRemoveRows();
}

void BookmarkListModel::RemoveRows(const QList<int>& descendingRows)
{
    m_gapStart = m_rows.size();
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
            std::move_backward(m_rows.begin() + last + 1, m_rows.begin() + m_gapStart,
                               m_rows.begin() + m_gapStart + m_gapSize);
        std::fill(m_rows.begin() + first, m_rows.begin() + last + 1, Row{});
        m_gapStart = size_t(first);
        m_gapSize += count;
        endRemoveRows();
    }
    m_rows.erase(m_rows.begin() + m_gapStart, m_rows.begin() + m_gapStart + m_gapSize);
    m_gapStart = m_rows.size();
    m_gapSize = 0;
}

void BookmarkListModel::RemoveAll()
{
    if (m_rows.empty())
        return;
    beginRemoveRows({}, 0, int(m_rows.size()) - 1);
    m_rows.clear();
    endRemoveRows();
}

void BookmarkListModel::Rewrite(QList<Row> rows)
{
    const qsizetype kept = std::min(qsizetype(m_rows.size()), rows.size());
    qsizetype changedFrom = -1;
    for (qsizetype i = 0; i <= kept; ++i) {
        const bool changed = i < kept && !(m_rows[i] == rows[i]);
        if (changed) {
            m_rows[i] = std::move(rows[i]);
            if (changedFrom < 0)
                changedFrom = i;
        } else if (changedFrom >= 0) {
            emit dataChanged(index(int(changedFrom), 0), index(int(i - 1), ColumnCount - 1));
            changedFrom = -1;
        }
    }
    if (rows.size() > qsizetype(m_rows.size())) {
        beginInsertRows({}, int(m_rows.size()), int(rows.size() - 1));
        m_rows.reserve(rows.size());
        for (qsizetype i = m_rows.size(); i < rows.size(); ++i)
            m_rows.push_back(std::move(rows[i]));
        endInsertRows();
    } else if (rows.size() < qsizetype(m_rows.size())) {
        beginRemoveRows({}, int(rows.size()), int(m_rows.size() - 1));
        m_rows.erase(m_rows.begin() + rows.size(), m_rows.end());
        endRemoveRows();
    }
}

void BookmarkListModel::SetTextBackground(const QColor& color)
{
    m_textBackground = color;
    if (!m_rows.empty())
        emit dataChanged(index(0, 0), index(int(m_rows.size()) - 1, ColumnCount - 1), {Qt::BackgroundRole});
}

void BookmarkListModel::SetTextColor(const QColor& color)
{
    m_textColor = color;
    if (!m_rows.empty())
        emit dataChanged(index(0, 0), index(int(m_rows.size()) - 1, ColumnCount - 1), {Qt::ForegroundRole});
}
