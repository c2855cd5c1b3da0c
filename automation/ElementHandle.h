#pragma once

// A page element held for later use; 0 holds nothing. The number is a key into the registry that
// the page-side script keeps, so it leads nowhere once the page has navigated.
struct ElementHandle {
    int id = 0;
    bool IsEmpty() const { return id == 0; }
};
