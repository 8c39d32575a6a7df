// The message a system page shows after an erase: the program's one report box.
#pragma once
#include "ReportBox.h"

inline void ShowPageMessage(const wchar_t* text) { report::ShowText(text); }
