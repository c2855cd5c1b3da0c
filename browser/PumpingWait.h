#pragma once

#include <QtGlobal>

// Units of a wait: 0 ms, 1 µs, 2 s, 3 min, 4 h, 5 days.
enum class WaitUnit { Millisecond = 0, Microsecond = 1, Second = 2, Minute = 3, Hour = 4, Day = 5 };

// The wait as a due time in 100-nanosecond steps, negative for "from now".
qint64 DueTime(int amount, WaitUnit unit);

// Pauses the caller while events go on being handled: pages load, windows repaint, the user
// works. Handlers may run inside, another wait too; each returns when its own time is up, so
// callers look at their state again afterwards.
void PumpingWait(int amount, WaitUnit unit = WaitUnit::Millisecond);
