#pragma once

#include <QStringList>

#include <optional>

// qavex for scripts and backups: --help, --version, --export FILE, --import FILE, --check. No
// window is opened; the exit status says how it went (0 done, 1 failed, 2 misused) and what went
// wrong is said on stderr.
namespace CommandLine {

// True when the arguments (after the program's name) ask for a verb rather than the window.
bool AsksForVerb(int argc, char** argv);

// Runs the verb on the collection in `programDirectory`; a running window of that collection is
// not written under (an import is refused while it runs).
int Run(const QStringList& arguments, const QString& programDirectory);

} // namespace CommandLine
