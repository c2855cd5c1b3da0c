#pragma once

#include "ServerAddress.h"

#include <QString>

#include <atomic>

// What a server holds, looked at through a connection of the look's own, opened and closed on the
// calling thread: a window asks it on a thread beside it, so that a server that does not answer
// never holds the window.
struct ServerLook {
    enum class Holds { Nothing, Collection, OtherTables };
    bool reached = false;
    QString error; // the server's or libpq's reason when not reached
    Holds holds = Holds::Nothing;
    qint64 bookmarks = 0;
};

// `stop`, when given and set, ends the look within a moment, reached or not.
ServerLook LookAtServer(ServerAddress server, const std::atomic<bool>* stop = nullptr);
