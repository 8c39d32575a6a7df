// The program's application object, started once per test program as the real program starts
// (splash, templates, main frame, the command line with no arguments), with pacing off.
#pragma once
#include "TidemarkApp.h"

namespace testkit {
CTidemarkApp* StartApp();
// Closes every open page (and introduction document), as closing them by hand would.
void CloseAllPages();
// The frame and view of a document's first view.
CFrameWnd* FrameOf(CDocument* doc);
CView* ViewOf(CDocument* doc);
// Paints the window's background into a bitmap and reads one pixel of it.
COLORREF ErasedPixel(CWnd* wnd, int x, int y);
}  // namespace testkit
