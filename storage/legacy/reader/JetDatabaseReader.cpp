#include "JetDatabaseReader.h"

#include "LegacyFile.h"

#include <QFile>

// The library's header wraps glib in extern "C"; glib comes first, with C++ linkage where it needs it.
#include <glib.h>
#include <mdbtools.h>

#include <algorithm>
#include <vector>

struct JetDatabaseReader::Handle {
    MdbHandle* mdb = nullptr;
};

JetDatabaseReader::JetDatabaseReader(const QString& path) : m_handle(std::make_unique<Handle>())
{
    if (!IsJetFile(path))
        return;
    m_handle->mdb = mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS);
    if (m_handle->mdb && !mdb_read_catalog(m_handle->mdb, MDB_TABLE)) {
        mdb_close(m_handle->mdb);
        m_handle->mdb = nullptr;
    }
}

JetDatabaseReader::~JetDatabaseReader()
{
    if (m_handle->mdb)
        mdb_close(m_handle->mdb);
}

bool JetDatabaseReader::IsOpen() const
{
    return m_handle->mdb != nullptr;
}

std::optional<JetDatabaseReader::Table> JetDatabaseReader::ReadTable(const QString& name)
{
    if (!m_handle->mdb)
        return std::nullopt;
    QByteArray tableName = name.toUtf8();
    MdbTableDef* table = mdb_read_table_by_name(m_handle->mdb, tableName.data(), MDB_TABLE);
    if (!table)
        return std::nullopt;
    if (!mdb_read_columns(table)) {
        mdb_free_tabledef(table);
        return std::nullopt;
    }
    mdb_rewind_table(table);

    Table result;
    const unsigned columns = table->num_cols;
    std::vector<std::vector<char>> buffers(columns, std::vector<char>(MDB_BIND_SIZE));
    std::vector<int> lengths(columns);
    for (unsigned i = 0; i < columns; ++i) {
        auto* column = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
        result.columns.append(QString::fromUtf8(column->name));
        mdb_bind_column(table, int(i) + 1, buffers[i].data(), &lengths[i]);
    }
    // The bound texts give NULL as the empty text; the row itself says which it was.
    std::vector<MdbField> fields(columns);
    while (mdb_fetch_row(table)) {
        int start = 0;
        size_t length = 0;
        if (mdb_find_row(m_handle->mdb, int(table->cur_row) - 1, &start, &length) != 0)
            continue;
        // The row states its own column count, which a damaged row may set past the table's.
        const int cracked = mdb_crack_row(table, start, length, fields.data());
        QList<Value> row(columns);
        for (unsigned i = 0; i < columns; ++i)
            row[i] = QString::fromUtf8(buffers[i].data());
        for (int i = 0; i < std::min(cracked, int(columns)); ++i) {
            if (fields[i].is_null && unsigned(fields[i].colnum) < columns)
                row[fields[i].colnum] = std::nullopt;
        }
        result.rows.append(row);
    }
    const unsigned stored = table->num_rows;
    mdb_free_tabledef(table);
    // Rows the table definition counts but no page gave: the file is not whole.
    if (unsigned(result.rows.size()) != stored)
        return std::nullopt;
    return result;
}
