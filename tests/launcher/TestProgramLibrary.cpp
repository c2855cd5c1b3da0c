// Stand-ins for the program library, built in the variants the launcher must tell apart.
#include "LauncherAbi.h"

#include <cstdio>
#include <cstdlib>

namespace {

[[maybe_unused]] int Start(LauncherArguments* arguments)
{
    if (const char* path = std::getenv("QAVEX_TEST_MARK")) {
        if (FILE* file = std::fopen(path, "w")) {
            std::fprintf(file, "%s %d", MARK, arguments->argc);
            std::fclose(file);
        }
    }
    return 7; // the launcher ends with 0 whatever the program answers
}

// Tells the test when the library is released: before the launcher's message, or at exit.
__attribute__((destructor)) void Unloaded()
{
    std::fputs("unloaded\n", stderr);
}

} // namespace

#ifndef WITHOUT_GETNEWSOCK
extern "C" __attribute__((visibility("default"))) StartRoutine GetNewSock(int version)
{
#ifdef REFUSE_HANDSHAKE
    (void)version;
    return nullptr;
#else
    return version == LauncherHandshake ? &Start : nullptr;
#endif
}
#endif
