#pragma once

#include <functional>

class ProgramGlobals;
class RecordTable;
class RuntimeServices;
class ServerLink;
class QWidget;

// "数据库位置": asks where the collection lives and moves it there — to a server (checked first,
// its tables made or the local collection copied up, its password into the keyring) or back to
// the local file. The window only shows the collection anew (`reload`).
class DatabaseLocationSwitch {
public:
    DatabaseLocationSwitch(ProgramGlobals& globals, RuntimeServices& services, ServerLink& link,
                           QWidget* window, int progressDelayMs, std::function<void()> reload);

    void Choose();

private:
    bool MakeServerCollection(RecordTable& remote);

    ProgramGlobals& m_globals;
    RuntimeServices& m_services;
    ServerLink& m_link;
    QWidget* m_window;
    int m_progressDelayMs;
    std::function<void()> m_reload;
};
