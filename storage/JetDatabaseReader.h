#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

// Reads the tables of the Windows program's database (Jet 3/4 .mdb), as text, with NULL kept
// apart from the empty text.
class JetDatabaseReader {
public:
    using Value = std::optional<QString>; // nullopt: NULL
    struct Table {
        QStringList columns;
        QList<QList<Value>> rows; // in stored order
    };

    // "Standard Jet DB" at offset 4, and a whole number of pages: a cut copy is not read, since
    // the library would give the missing pages as empty rows.
    static bool IsJetFile(const QString& path);

    explicit JetDatabaseReader(const QString& path);
    ~JetDatabaseReader();
    JetDatabaseReader(const JetDatabaseReader&) = delete;
    JetDatabaseReader& operator=(const JetDatabaseReader&) = delete;

    bool IsOpen() const;
    std::optional<Table> ReadTable(const QString& name);

private:
    struct Handle;
    std::unique_ptr<Handle> m_handle;
};
