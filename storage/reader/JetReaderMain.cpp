// qavex-jet-reader FILE: writes the three tables of the Windows program's database at FILE to
// standard output, for the program to read. A separate process, so that a damaged file that
// crashes or exhausts the library ends here and never in the program.
#include "JetDatabaseReader.h"
#include "LegacyFile.h"
#include "StorageNames.h"

#include <QDataStream>
#include <QFile>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 2)
        return 2;
    JetDatabaseReader reader(QFile::decodeName(argv[1]));
    if (!reader.IsOpen())
        return 3;
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly))
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
