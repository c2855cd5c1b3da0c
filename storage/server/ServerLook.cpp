#include "ServerLook.h"

#include "RecordTable.h"
#include "ServerSchema.h"
#include "StorageNames.h"

ServerLook LookAtServer(ServerAddress server)
{
    ServerLook look;
    RecordTable probe;
    look.reached = probe.OpenServer(server);
    server.password.fill(u'\0');
    if (!look.reached) {
        look.error = probe.LastError();
        return look;
    }
    if (ServerSchema::Exists(probe)) {
        look.holds = ServerLook::Holds::Collection;
        const QList<QStringList> count = probe.ReadRows(Tables::Bookmarks, {QStringLiteral("count(*)")}, {});
        look.bookmarks = count.isEmpty() ? 0 : count[0][0].toLongLong();
    } else if (!ServerSchema::IsEmpty(probe)) {
        look.holds = ServerLook::Holds::OtherTables;
    }
    return look;
}
