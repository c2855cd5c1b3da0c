#pragma once

#include <QString>

// The executable's directory when it is writable (a portable copy keeps its data beside itself),
// otherwise, and always for an installed package, the per-user data directory, created when missing. A collection beside a read-only
// executable is copied there when that directory has none yet, and `copiedFrom` names where it
// came from, for the user to be told.
QString ChooseProgramDirectory(const QString& executableDirectory, QString* copiedFrom = nullptr);
