#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// "Standard Jet DB" at offset 4: the Windows program's database, whole or not.
bool HasJetHeader(const QString& path);
// With the header, and a whole number of pages: a file the reader may try.
bool IsJetFile(const QString& path);

// A table of the Windows program's database as the reader process sends it.
struct LegacyTable {
    QStringList columns;
    QList<QList<std::optional<QString>>> rows; // nullopt: NULL
};

// The stream the reader process writes: a header, then per table its name, columns and rows.
namespace LegacyStream {
inline constexpr char Magic[] = "qavex-legacy-1";
}
