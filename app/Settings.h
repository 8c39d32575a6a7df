// The user's choices of the View menu, kept in the program's profile (the "Settings" section under
// HKEY_CURRENT_USER's Local AppWizard-Generated Applications key); both are off until turned on.
#pragma once

namespace settings {
// The tree shows every category, not only the Internet ones.
bool AllCategories();
void SetAllCategories(bool on);
// Erases run without their pauses per folder, per file and before the erase.
bool QuickErase();
void SetQuickErase(bool on);
}  // namespace settings
