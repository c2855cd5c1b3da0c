#include "ProgramGlobals.h"

ProgramGlobals::ProgramGlobals()
    : Database(std::make_unique<RecordTable>()), Vault(std::make_unique<PasswordVault>(*Database)),
      ElementHotkey(std::make_unique<HotKeyTable>()), CapturedElement(std::make_unique<PageObject>())
{
}

// Released in this order; MainWindow has closed the database before.
ProgramGlobals::~ProgramGlobals()
{
    Vault.reset();
    Database.reset();
    SettingsFile.clear();
    ElementHotkey.reset();
    CapturedElement.reset();
}
