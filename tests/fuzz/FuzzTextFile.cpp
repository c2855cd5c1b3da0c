// The "|" bookmark text reader on any bytes, and what it read written out again.
#include "BookmarkTextFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QList<BookmarkTextFile::Line> lines =
        BookmarkTextFile::Parse(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size))).lines;
    for (const BookmarkTextFile::Line& line : lines)
        BookmarkTextFile::Format(line);
    return 0;
}
