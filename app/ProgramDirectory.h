#pragma once

#include <QString>

// The executable's directory when it is writable (a portable copy keeps its data beside itself),
// otherwise the per-user data directory, created when missing.
QString ChooseProgramDirectory(const QString& executableDirectory);
