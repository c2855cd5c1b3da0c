#pragma once

#include "LegacyFile.h"

#include <QMap>
#include <QString>

#include <optional>

// Reads the three tables of the Windows program's database through the reader process, which runs
// under limits of memory, CPU time and wall-clock time. Nothing when the file cannot be read whole,
// whatever happens there: a crash, a hang or a runaway of the reader ends only the reader.
std::optional<QMap<QString, LegacyTable>> ReadLegacyTables(const QString& path);

// The reader program: $QAVEX_JET_READER, else qavex-jet-reader beside the running program.
QString LegacyReaderProgram();
