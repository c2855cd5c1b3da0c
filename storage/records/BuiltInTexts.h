#pragma once

#include <QString>

// Texts the program carries encoded and decodes when it needs them.
namespace BuiltInTexts {
QString StartAddress();
QString DefaultBookmarkName();
QString DefaultBookmarkAddress();
QString Caption();
} // namespace BuiltInTexts
