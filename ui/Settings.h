// The user's choices of the View menu, kept in the program's profile (the "Settings" section under
// HKEY_CURRENT_USER's Local AppWizard-Generated Applications key); both are off until turned on.
#pragma once

#include "Options.h"

namespace settings {
// The tree shows every category, not only the Internet ones.
bool AllCategories();
void SetAllCategories(bool on);
// Erases run without their pauses per folder, per file and before the erase.
bool QuickErase();
void SetQuickErase(bool on);
// Erase Settings: files are overwritten before they are deleted (off until turned on), with 1 to 3
// passes (1 until chosen).
bool Overwrite();
void SetOverwrite(bool on);
unsigned Passes();
void SetPasses(unsigned passes);
// Erase Settings: the temporary-file erases keep what was written in the last 24 hours (on until
// turned off: a running installer's files are in use).
bool KeepRecentTemp();
void SetKeepRecentTemp(bool on);
// What every erase of the window program goes by: these choices, under what the policy sets.
engine::Options EraseOptions();
}  // namespace settings
