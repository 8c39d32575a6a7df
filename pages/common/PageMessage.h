// The message a system page shows after an erase, owned by the main window so that the page can
// be neither closed nor pressed again while it is up.
#pragma once
#include "afxwin.h"

inline void ShowPageMessage(const wchar_t* text) {
    CWnd* main = AfxGetMainWnd();
    ::MessageBoxW(main ? main->GetSafeHwnd() : nullptr, text, L"Corvane-Sweepmere", MB_ICONINFORMATION | MB_SYSTEMMODAL);
}
