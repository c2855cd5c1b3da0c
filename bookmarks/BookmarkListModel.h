#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QIcon>
#include <QList>

#include <array>
#include <unordered_map>
#include <vector>

class RecordTable;

// The rows of the bookmark list: name, address, category, remark, and whether the bookmark
// carries login data. The list holds only the rows' IDs; their texts are read from the database
// as they are shown, a block at a time, so a list of a million rows costs what is on screen.
// Refills rewrite rows in place, so a view of many rows never resets.
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
    // Where rows not in memory are read from.
    void SetSource(RecordTable* records) { m_source = records; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    Row RowAt(int row) const;
    QString Cell(int row, Column column) const { return RowAt(row).cells[column]; }
    qint64 IdAt(int row) const { return m_ids[Physical(row)]; }

    void AppendRow(const Row& row);
    void AppendRows(QList<Row> rows);
    // Rows known by ID only: their texts are read when they are shown.
    void AppendIds(const std::vector<qint64>& ids);
    void SetRow(int row, const Row& values);
    void RemoveRow(int row);
    // Rows in descending order; neighbouring rows go in one step.
    void RemoveRows(const QList<int>& descendingRows);
    void RemoveAll();
    // Overwrites the rows that stay (signalling only those whose bookmark changed), appends beyond
    // the old count and removes the surplus from the bottom.
    void Rewrite(std::vector<qint64> ids);
    // The database changed behind the rows shown: they are read again as they are shown.
    void Reread();

    const QColor& TextBackground() const { return m_textBackground; }
    void SetTextBackground(const QColor& color);
    void SetTextColor(const QColor& color);

private:
    size_t Physical(int row) const
    {
        return size_t(row) < m_gapStart ? size_t(row) : size_t(row) + m_gapSize;
    }

    void Remember(const Row& row) const;
    void Fetch(int row) const;

    // While RemoveRows works through many ranges, the removed rows form one gap that moves up the
    // list, so each row is moved once rather than once per range above it.
    std::vector<qint64> m_ids;
    size_t m_gapStart = 0;
    size_t m_gapSize = 0;
    QColor m_textBackground;
    QColor m_textColor;
    QIcon m_icon;
    QIcon m_loginIcon;
    RecordTable* m_source = nullptr;
    // Texts of rows seen lately, by ID; dropped whole when it grows past a few screens' worth.
    mutable std::unordered_map<qint64, Row> m_cache;
};
