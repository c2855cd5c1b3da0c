#include "ServerAddress.h"

#include "IniFile.h"
#include "SettingsKeys.h"

QString ServerAddress::Label() const
{
    return QStringLiteral("%1@%2:%3/%4").arg(user, host, QString::number(port), database);
}

bool ServerChosen(const IniFile& settings)
{
    return settings.Read(Settings::DatabaseLocation) == Settings::ServerLocation;
}

ServerAddress ReadServerAddress(const IniFile& settings)
{
    ServerAddress server;
    server.host = settings.Read(Settings::ServerHost);
    bool ok = false;
    const int port = settings.Read(Settings::ServerPort).toInt(&ok);
    if (ok && port > 0 && port < 65536)
        server.port = port;
    server.database = settings.Read(Settings::ServerDatabase);
    server.user = settings.Read(Settings::ServerUser);
    return server;
}

bool WriteDatabaseLocation(const IniFile& settings, const ServerAddress* server)
{
    if (!server)
        return settings.Write(Settings::DatabaseLocation, Settings::LocalLocation);
    return settings.Write(Settings::ServerHost, server->host) &&
           settings.Write(Settings::ServerPort, QString::number(server->port)) &&
           settings.Write(Settings::ServerDatabase, server->database) &&
           settings.Write(Settings::ServerUser, server->user) &&
           settings.Write(Settings::DatabaseLocation, Settings::ServerLocation);
}
