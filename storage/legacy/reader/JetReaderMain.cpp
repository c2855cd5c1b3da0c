// qavex-jet-reader FILE: writes the three tables of the Windows program's database at FILE to
// the channel it was given as standard output, for the program to read. A separate process, so
// that a damaged file that crashes or exhausts the library ends here and never in the program.
#include "JetDatabaseReader.h"
#include "LegacyFile.h"
#include "StorageNames.h"

#include <QDataStream>
#include <QFile>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

int main(int argc, char* argv[])
{
    if (argc != 2)
        return 2;
    // The library prints its diagnostics on standard output: the rows keep the channel to
    // themselves, and what the library prints goes where standard error goes.
    const int rows = ::fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3);
    if (rows < 0 || ::dup2(STDERR_FILENO, STDOUT_FILENO) < 0)
        return 4;
    JetDatabaseReader reader(QFile::decodeName(argv[1]));
    if (!reader.IsOpen())
        return 3;
    QFile out;
    if (!out.open(rows, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle))
        return 4;
    QDataStream stream(&out);
    stream << QByteArray(LegacyStream::Magic);
    for (const QString& name : {Tables::Bookmarks, Tables::Categories, Tables::History}) {
        const std::optional<JetDatabaseReader::Table> table = reader.ReadTable(name);
        if (!table)
            return 5;
        stream << name << table->columns << quint32(table->rows.size());
        for (const QList<JetDatabaseReader::Value>& row : table->rows) {
            for (const JetDatabaseReader::Value& value : row)
                stream << bool(value) << value.value_or(QString());
        }
    }
    stream << QByteArray("end");
    out.flush();
    return stream.status() == QDataStream::Ok && out.error() == QFileDevice::NoError ? 0 : 6;
}
