// The qavex executable: finds the program library, checks it with a handshake and hands it the
// command line. It uses no Qt, so it can report a missing or broken installation itself.
#include "LauncherAbi.h"

#include <dlfcn.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

extern char** environ;

namespace {

const char* const Message = "Not found the kernel library or the kernel library is invalid!";
const char* const Caption = "Error";

std::string ExecutableDirectory()
{
    std::string path(4096, '\0');
    const ssize_t length = readlink("/proc/self/exe", path.data(), path.size() - 1);
    if (length <= 0)
        return {};
    path.resize(size_t(length));
    return path.substr(0, path.rfind('/') + 1);
}

std::string Lower(std::string text)
{
    for (char& c : text)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string Trim(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t\r");
    const size_t last = text.find_last_not_of(" \t\r");
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

// Path of section [Install] in the per-user file of the development installation.
std::string DevelopmentDirectory()
{
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    std::string base = configHome && *configHome ? configHome
                       : home                    ? std::string(home) + "/.config"
                                                 : std::string();
    if (base.empty())
        return {};
    std::ifstream file(base + "/Norvane/Qvr.conf");
    std::string line;
    bool inInstall = false;
    while (std::getline(file, line)) {
        line = Trim(line);
        if (!line.empty() && line.front() == '[') {
            inInstall = Lower(Trim(line.substr(1, line.find(']') - 1))) == "install";
            continue;
        }
        const size_t equals = line.find('=');
        if (inInstall && equals != std::string::npos && Lower(Trim(line.substr(0, equals))) == "path")
            return Trim(line.substr(equals + 1));
    }
    return {};
}

void Report()
{
    std::fprintf(stderr, "%s: %s\n", Caption, Message);
    // On a desktop the user also gets a box, as a program started from a menu has no terminal.
    if (std::getenv("DISPLAY") && *std::getenv("DISPLAY")) {
        const char* argv[] = {"xmessage", "-center", "-title", Caption, Message, nullptr};
        pid_t child = 0;
        if (posix_spawnp(&child, "xmessage", nullptr, nullptr, const_cast<char**>(argv), environ) == 0)
            waitpid(child, nullptr, 0);
    }
}

int Launch(int argc, char** argv)
{
    void* library = dlopen((ExecutableDirectory() + "corvl.qrt").c_str(), RTLD_NOW);
    // Installed, the library sits in the package's private directory.
    if (!library)
        library = dlopen((ExecutableDirectory() + "../lib/qavex/corvl.qrt").c_str(), RTLD_NOW);
    if (!library) {
        std::string directory = DevelopmentDirectory();
        if (directory.empty())
            return -1;
        if (directory.back() != '/')
            directory += '/';
        library = dlopen((directory + "corvl.qlb").c_str(), RTLD_NOW);
        if (!library)
            return -1;
    }
    const auto getNewSock = reinterpret_cast<GetNewSockFunction>(dlsym(library, "GetNewSock"));
    const StartRoutine start = getNewSock ? getNewSock(LauncherHandshake) : nullptr;
    if (!start) {
        dlclose(library);
        return -1;
    }
    LauncherArguments arguments{argc, argv};
    start(&arguments);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const int result = Launch(argc, argv);
    if (result != 0)
        Report();
    return result;
}
