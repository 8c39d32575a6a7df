// The program's application object, started once per test program as the real program starts
// (splash, templates, main frame, the command line with no arguments), with pacing off.
#pragma once
#include "TestKit.h"
#include "TidemarkApp.h"

namespace testkit {
CTidemarkApp* StartApp();
// Closes every open page (and introduction document), as closing them by hand would.
void CloseAllPages();
// The documents of every template (pages and introductions).
size_t DocumentCount();
// The frame and view of a document's first view.
CFrameWnd* FrameOf(CDocument* doc);
CView* ViewOf(CDocument* doc);
// Opens a page by key as the tree does (starting the application first) and handles what its
// opening posted; null when it did not open or its view is not a V.
template <class V = CView>
V* OpenPage(const char* key) {
    CDocument* doc = StartApp()->OpenPage(key);
    Pump();
    return dynamic_cast<V*>(ViewOf(doc));
}
// Sends a button's click to its dialog or view, as the button does, and handles what followed.
void Press(CWnd* parent, int id);
// What a window answers when a control of it asks for its colours (WM_CTLCOLORSTATIC): the brush's
// colour, the DC's background and text colours, and its font as "face height/width/weight" (empty
// when none was chosen).
struct CtlColours {
    COLORREF brush, background, text;
    std::wstring font;
};
CtlColours AskColours(CWnd* parent, HWND control);
std::wstring FontText(HFONT font);
// Paints the window's background into a bitmap and reads one pixel of it.
COLORREF ErasedPixel(CWnd* wnd, int x, int y);
}  // namespace testkit
