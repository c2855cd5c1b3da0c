#include "TestServer.h"

#include "RecordTable.h"
#include "ServerSchema.h"

#include <QTest>

#include <atomic>

namespace {

ServerAddress FromEnvironment(const QString& database)
{
    ServerAddress server;
    server.host = qEnvironmentVariable("PGHOST");
    server.port = qEnvironmentVariableIntValue("PGPORT");
    server.user = qEnvironmentVariable("PGUSER");
    server.database = database;
    // The password is libpq's own PGPASSWORD, as a user's ~/.pgpass would be.
    return server;
}

} // namespace

namespace TestServer {

QString Missing()
{
    if (qEnvironmentVariableIsSet("QAVEX_POSTGRES_MISSING"))
        return QStringLiteral("PostgreSQL is not installed: ") +
               qEnvironmentVariable("QAVEX_POSTGRES_MISSING");
    if (!qEnvironmentVariableIsSet("PGPORT"))
        return QStringLiteral("no PostgreSQL cluster: run the test through tests/support/with_postgres.sh");
    return {};
}

ServerAddress NewDatabase()
{
    static std::atomic<int> made = 0;
    const QString name =
        QStringLiteral("qavex_test_%1_%2").arg(QCoreApplication::applicationPid()).arg(++made);
    RecordTable admin;
    if (!admin.OpenServer(FromEnvironment(qEnvironmentVariable("PGDATABASE"))) ||
        !admin.RunSchemaStatement(QStringLiteral("create database ") + name))
        qFatal("cannot make database %s: %s", qPrintable(name), qPrintable(admin.LastError()));
    return FromEnvironment(name);
}

ServerAddress NewCollection()
{
    const ServerAddress server = NewDatabase();
    RecordTable records;
    if (!records.OpenServer(server) || !ServerSchema::Create(records))
        qFatal("cannot make a collection on %s: %s", qPrintable(server.Label()),
               qPrintable(records.LastError()));
    return server;
}

void DropConnections(const ServerAddress& server)
{
    RecordTable admin;
    if (!admin.OpenServer(FromEnvironment(qEnvironmentVariable("PGDATABASE"))))
        qFatal("cannot reach the server: %s", qPrintable(admin.LastError()));
    // The database name is ours, made of letters, digits and underscores.
    admin.RunSchemaStatement(QStringLiteral("select pg_terminate_backend(pid) from pg_stat_activity where "
                                            "datname = '%1' and pid <> pg_backend_pid()")
                                 .arg(server.database));
}

} // namespace TestServer
