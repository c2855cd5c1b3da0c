#pragma once

#include <QString>

class IniFile;

// Where a collection kept on a PostgreSQL server is. The password is never written to qavex.ini:
// it comes from the desktop's keyring, or libpq finds it itself (~/.pgpass, PGPASSWORD).
struct ServerAddress {
    QString host;
    int port = 5432;
    QString database;
    QString user;
    QString password;

    // Names the server in messages and in the keyring: "user@host:port/database".
    QString Label() const;
    bool operator==(const ServerAddress&) const = default;
};

// The server qavex.ini chooses, or none when the collection is the local file.
bool ServerChosen(const IniFile& settings);
ServerAddress ReadServerAddress(const IniFile& settings);
// Chooses the server, or the local file when `server` is null.
bool WriteDatabaseLocation(const IniFile& settings, const ServerAddress* server);
