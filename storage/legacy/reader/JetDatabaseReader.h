#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

// Reads the tables of the Windows program's database (Jet 3/4 .mdb), as text, with NULL kept
// apart from the empty text. Runs only inside the reader process: the library behind it is not
// made for damaged files.
class JetDatabaseReader {
public:
    using Value = std::optional<QString>; // nullopt: NULL
    struct Table {
        QStringList columns;
        QList<QList<Value>> rows; // in stored order
    };

    explicit JetDatabaseReader(const QString& path);
    ~JetDatabaseReader();
    JetDatabaseReader(const JetDatabaseReader&) = delete;
    JetDatabaseReader& operator=(const JetDatabaseReader&) = delete;

    bool IsOpen() const;
    // Nothing when the table is missing, or when fewer rows could be read than the table says it
    // holds (a copy cut short, a damaged page).
    std::optional<Table> ReadTable(const QString& name);

private:
    struct Handle;
    std::unique_ptr<Handle> m_handle;
};
