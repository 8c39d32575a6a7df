// Drives a modal dialog from inside its own message loop: a thread timer fires while the
// dialog runs, finds it by caption and hands it to a script.
#pragma once
#include <functional>
#include <string>

#include "afxwin.h"

namespace testkit {
// Calls open(), which shows a modal dialog and returns once it is closed. As soon as a visible
// dialog of this thread with the caption exists, script(dialog) runs inside the dialog's message
// loop; a dialog the script leaves open is then cancelled. Calls nest (a dialog opened by the
// script can be scripted in turn). Returns whether the script ran.
bool WithModalDialog(const std::wstring& caption, const std::function<void(HWND)>& script,
                     const std::function<void()>& open);

// User actions on a dialog's controls.
void Click(HWND dialog, int id);
void TypeText(HWND dialog, int id, const std::wstring& text);
std::wstring ItemText(HWND dialog, int id);
}  // namespace testkit
