#pragma once

#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

struct sqlite3;

// What reading a foreign database may cost.
struct ForeignDatabaseLimits {
    qint64 fileBytes = qint64(1) << 30;
    int timeMs = 15000; // for each statement
    qint64 rows = 2'000'000;
};

// Another program's SQLite database (a browser's profile), read as untrusted: from a private copy
// opened read-only and immutable, no code of its schema trusted, only ordinary tables of the
// expected shape queried, and every statement stopped at a deadline, at a number of rows, or when
// the caller cancels. Reading a copy also leaves the owner's locked files alone.
class ForeignDatabase {
public:
    using Limits = ForeignDatabaseLimits;

    ForeignDatabase(const QString& path, const std::atomic<bool>* cancelled = nullptr, Limits limits = {});
    ~ForeignDatabase();
    ForeignDatabase(const ForeignDatabase&) = delete;
    ForeignDatabase& operator=(const ForeignDatabase&) = delete;

    bool IsOpen() const { return m_db != nullptr; }
    // An ordinary table (not a view, not a virtual table) holding every one of these columns.
    bool HasTable(const QString& table, const QStringList& columns);
    // Each row's values as text (NULL as a null string); false when the statement failed, was
    // stopped, or passed the limit of rows.
    bool ForEachRow(const QString& statement, const std::function<void(const QStringList&)>& each);

private:
    static int Progress(void* self);

    sqlite3* m_db = nullptr;
    const std::atomic<bool>* m_cancelled;
    Limits m_limits;
    qint64 m_deadline = 0;
    QString m_copyDirectory;
};
