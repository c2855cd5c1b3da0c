#pragma once

#include "HotKeyTable.h"
#include "IniFile.h"
#include "PageObject.h"
#include "PasswordVault.h"
#include "RecordTable.h"

#include <QString>

#include <memory>

// The state that all windows share, from start-up to exit. Windows receive this object rather
// than reaching for globals, so a test builds exactly the pieces it needs.
struct ProgramGlobals {
    ProgramGlobals();
    ~ProgramGlobals();
    ProgramGlobals(const ProgramGlobals&) = delete;
    ProgramGlobals& operator=(const ProgramGlobals&) = delete;

    // The settings file, once MainWindow has set its path.
    IniFile Settings() const { return IniFile(SettingsFile); }

    std::unique_ptr<RecordTable> Database;
    // Every read and write of a stored password goes through it (see PasswordAccess).
    std::unique_ptr<PasswordVault> Vault;
    QString SettingsFile;
    bool AutoLoginBusy = false;
    std::unique_ptr<HotKeyTable> ElementHotkey;
    std::unique_ptr<PageObject> CapturedElement;
    bool SkinEngineLoaded = false;
    bool BookmarkFromBrowser = false;
};
