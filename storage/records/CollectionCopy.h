#pragma once

#include <QString>

#include <functional>

class RecordTable;

struct CopiedCollection {
    bool ok = false;
    int bookmarks = 0;
    int categories = 0;
    int history = 0;
    // Bookmarks left out because an earlier one has the same address (the server keeps one).
    int repeated = 0;
};

// Copies every bookmark, category, history address and the password protection row from one
// collection into another that has the tables, in one transaction of the target's: all of it
// arrives or nothing. The rows get new IDs; sealed passwords travel as they are, so the target
// opens them with the same primary password. `progress(done, total)` returning false cancels.
// `makeTables` runs first in the same transaction (the target's tables made with the rows).
CopiedCollection CopyCollection(RecordTable& from, RecordTable& to,
                                const std::function<bool(qint64, qint64)>& progress = {},
                                const std::function<bool(RecordTable&)>& makeTables = {});
