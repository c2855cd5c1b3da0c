#pragma once

#include <QString>

// The number at the start of a text ("12px" → 12, "-3" → -3); 0 when there is none.
// Settings written by hand or by older versions may hold anything.
int TextToInteger(const QString& text);
