#pragma once

// What the launcher and the program library agree on. The library exports
//     extern "C" StartRoutine GetNewSock(int version);
// which answers a start routine for the version it understands (1000), or null. The start
// routine runs the whole program with the launcher's command line and returns when it ends.
struct LauncherArguments {
    int argc;
    char** argv;
};

using StartRoutine = int (*)(LauncherArguments* arguments);
using GetNewSockFunction = StartRoutine (*)(int version);

constexpr int LauncherHandshake = 1000;
