// Preloaded into the Windows-database reader by a test: the library's catalogue reading first
// prints a diagnostic on standard output, as the library does for some files.
#include <dlfcn.h>

#include <cstdio>

extern "C" void* mdb_read_catalog(void* mdb, int type)
{
    std::puts("Warning: the library speaks on standard output");
    std::fflush(stdout);
    using Read = void* (*)(void*, int);
    const auto real = reinterpret_cast<Read>(dlsym(RTLD_NEXT, "mdb_read_catalog"));
    return real(mdb, type);
}
