#pragma once

#include <QString>

#include <optional>

// How an element, frame or form is named to the page automation.
enum class IdentifierKind {
    ByName = 0,
    ById = 1,
    ByIndex = 2,   // a 1-based position, as decimal text
    ByTitle = 3,   // link text or button caption
    ByAddress = 4, // link target or image-button image
};

// Bookmarks store the identifier type as the digit of the account dialog's list ("0、ID",
// "1、名称", "2、标题", "3、索引", "4、地址"), which is not the kind's own number.
std::optional<IdentifierKind> KindFromStoredDigit(const QString& digit);
