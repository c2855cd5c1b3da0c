#pragma once

#include "LegacyFile.h"

#include <QMap>
#include <QString>

#include <functional>
#include <optional>

// Reads the three tables of the Windows program's database through the reader process, which runs
// under limits of memory, CPU time and wall-clock time. Nothing when the file cannot be read whole,
// whatever happens there: a crash, a hang or a runaway of the reader ends only the reader.
// `keepGoing`, asked every 50 ms while the reader runs, may end it: the reader is killed and
// nothing is returned. A window passes its progress, which repaints and takes 取消 meanwhile.
std::optional<QMap<QString, LegacyTable>> ReadLegacyTables(const QString& path,
                                                           const std::function<bool()>& keepGoing = {});

// The reader program: $QAVEX_JET_READER, else qavex-jet-reader beside the running program.
QString LegacyReaderProgram();
