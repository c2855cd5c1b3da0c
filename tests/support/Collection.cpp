#include "Collection.h"

#include "DatabaseFile.h"
#include "RecordTable.h"
#include "StorageNames.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>

Collection::Collection()
{
    services.programDirectory = m_dir.path();
}

Collection::~Collection()
{
    Stop();
}

QString Collection::Path(const QString& fileName) const
{
    return QDir(m_dir.path()).filePath(fileName);
}

void Collection::Seed(const QStringList& categories, const QList<Bookmark>& bookmarks)
{
    const QString path = Path(DatabaseFileName);
    if (!QFile::exists(path) && !CreateDatabaseFile(path))
        qFatal("cannot create %s", qPrintable(path));
    RecordTable table;
    table.Open(path);
    table.BeginTransaction();
    for (const QString& category : categories)
        table.Insert(Tables::Categories, Columns::CategoryName, {category});
    for (const Bookmark& b : bookmarks)
        table.Insert(Tables::Bookmarks, QStringLiteral("名称,地址,分类,备注,账号"),
                     {b.name, b.address, b.category, b.remark, b.account});
    table.Commit();
}

void Collection::WriteSettings(const QByteArray& content)
{
    QFile file(Path(SettingsFileName));
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(content);
}

void Collection::Execute(const QString& statement)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("collection"));
        db.setDatabaseName(Path(DatabaseFileName));
        db.open();
        QSqlQuery query(db);
        if (!query.exec(statement))
            qFatal("statement failed: %s", qPrintable(statement));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("collection"));
}

QStringList Collection::Select(const QString& statement)
{
    QStringList values;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("collection"));
        db.setDatabaseName(Path(DatabaseFileName));
        db.open();
        QSqlQuery query(db);
        query.exec(statement);
        while (query.next())
            values.append(query.value(0).isNull() ? QStringLiteral("<NULL>") : query.value(0).toString());
    }
    QSqlDatabase::removeDatabase(QStringLiteral("collection"));
    return values;
}

MainWindow& Collection::Start()
{
    Stop();
    m_globals = std::make_unique<ProgramGlobals>();
    m_window = std::make_unique<MainWindow>(*m_globals, services);
    return *m_window;
}

void Collection::Stop()
{
    m_window.reset();
    m_globals.reset();
}
