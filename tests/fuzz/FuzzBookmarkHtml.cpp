// The bookmark HTML reader on any bytes, and what it read written out and read again.
#include "BookmarkHtmlFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const BookmarkHtmlFile::Contents contents =
        BookmarkHtmlFile::Parse(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    BookmarkHtmlFile::Parse(BookmarkHtmlFile::Format(contents.lines));
    return 0;
}
