#pragma once

#include "ServerAddress.h"

#include <QString>

class IniFile;
class RecordTable;
struct ServerAddress;

// The collection's tables on a PostgreSQL server: the same tables and columns as qavex.mdb, with
// identity keys, an address stored once (a unique index), trigram indexes for search and triggers
// that tell the other programs on the server which table changed.
namespace ServerSchema {

// Whether the server's database holds a collection.
bool Exists(RecordTable& records);
// Whether the server's database holds no table at all, so a collection may be copied up.
bool IsEmpty(RecordTable& records);
// Makes the tables in one transaction of its own.
bool Create(RecordTable& records);
// The same within a transaction of the caller's.
bool CreateTables(RecordTable& records);

// Opens the server qavex.ini chooses, its password from the keyring when it was put there, and
// makes the tables on an empty database. False with the reason in records.LastError().
bool OpenChosen(RecordTable& records, const IniFile& settings);
// The server qavex.ini chooses, with its password from the keyring when it was put there.
// `cancelled`, when given, tells that the user stopped waiting for the keyring.
ServerAddress ChosenServer(const IniFile& settings, bool* cancelled = nullptr);
// Opens this server and makes the tables on an empty database; as OpenChosen.
bool OpenAt(RecordTable& records, ServerAddress server);
// The keyring item that holds a server's password.
QString KeyringItem(const ServerAddress& server);

} // namespace ServerSchema
