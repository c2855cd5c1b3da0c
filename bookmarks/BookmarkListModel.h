#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QIcon>
#include <QList>

#include <array>
#include <vector>

// The rows of the bookmark list: name, address, category, remark, and whether the bookmark
// carries login data. Refills rewrite rows in place, so a view of 100,000 rows never resets.
class BookmarkListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { NameColumn, AddressColumn, CategoryColumn, RemarkColumn, ColumnCount };

    struct Row {
        std::array<QString, ColumnCount> cells;
        bool hasLogin = false;
        // The row's ID in table 网址: addresses need not be unique in collections from the
        // Windows program, so a row is changed and deleted by this. 0: not known.
        qint64 id = 0;
        bool operator==(const Row&) const = default;
    };

    explicit BookmarkListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    const Row& RowAt(int row) const { return m_rows[Physical(row)]; }
    const QString& Cell(int row, Column column) const { return RowAt(row).cells[column]; }

    void AppendRow(const Row& row);
    void AppendRows(QList<Row> rows);
    void SetRow(int row, const Row& values);
    void RemoveRow(int row);
    // Rows in descending order; neighbouring rows go in one step.
    void RemoveRows(const QList<int>& descendingRows);
    void RemoveAll();
    // Overwrites the rows that stay (signalling only the changed ones), appends beyond the old
    // count and removes the surplus from the bottom.
    void Rewrite(QList<Row> rows);

    const QColor& TextBackground() const { return m_textBackground; }
    void SetTextBackground(const QColor& color);
    void SetTextColor(const QColor& color);

private:
    size_t Physical(int row) const
    {
        return size_t(row) < m_gapStart ? size_t(row) : size_t(row) + m_gapSize;
    }

    // While RemoveRows works through many ranges, the removed rows form one gap that moves up the
    // list, so each row is moved once rather than once per range above it.
    std::vector<Row> m_rows;
    size_t m_gapStart = 0;
    size_t m_gapSize = 0;
    QColor m_textBackground;
    QColor m_textColor;
    QIcon m_icon;
    QIcon m_loginIcon;
};
