#include "ProgramGlobals.h"

ProgramGlobals::ProgramGlobals()
    : Database(std::make_unique<RecordTable>()), ElementHotkey(std::make_unique<HotKeyTable>()),
      CapturedElement(std::make_unique<PageObject>())
{
}

// Released in this order; MainWindow has closed the database before.
ProgramGlobals::~ProgramGlobals()
{
    Database.reset();
    SettingsFile.clear();
    ElementHotkey.reset();
    CapturedElement.reset();
}
