#pragma once

// Qt's own dialogs and buttons, and the web engine's pages and menus, speak Chinese whatever the
// desktop's locale. Call once the application exists and before the first web page is made.
void UseChineseInterface();
