#pragma once

#include "Requirement.h"
#include "ServerAddress.h"

#include <QString>

// The throw-away PostgreSQL cluster tests run beside (tests/support/with_postgres.sh), read from the
// PG* variables pg_virtualenv sets.
namespace TestServer {

// Why there is no server; empty when there is one.
QString Missing();
// A new, empty database of its own on the server.
ServerAddress NewDatabase();
// A new database holding an empty collection.
ServerAddress NewCollection();
// Ends every other connection to the database, as a server restart or a network cut would.
void DropConnections(const ServerAddress& server);

} // namespace TestServer

// Without a server the test fails in CI and is skipped elsewhere, saying why.
#define QAVEX_NEEDS_SERVER() QAVEX_REQUIRE(TestServer::Missing().isEmpty(), TestServer::Missing())
