// The introduction page's view: its statics, their colours and fonts, its caption and printing.
#include <gtest/gtest.h>

#include "AppHarness.h"
#include "TidemarkView.h"
#include "resource.h"

using namespace testkit;

namespace {
const COLORREF kPage = RGB(208, 231, 247), kWhite = RGB(255, 255, 255);

CTidemarkView* FirstIntroView() {
    auto docs = StartApp()->GetDocTemplates().front()->GetDocuments();
    return docs.empty() ? nullptr : dynamic_cast<CTidemarkView*>(ViewOf(docs.front()));
}

std::vector<HWND> Children(CWnd* view, bool pictures) {
    std::vector<HWND> found;
    for (HWND c = ::GetWindow(view->m_hWnd, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
        if (((::GetWindowLongPtrW(c, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP) == pictures) found.push_back(c);
    return found;
}
}  // namespace

TEST(IntroView, LabelsCarryTheirTextsAndColoursDrawingNamesThePageAndPrintCommandsAreItsOwn) {
    CTidemarkView* view = FirstIntroView();
    ASSERT_NE(view, nullptr);
    // The band at the top, the title, the lead and the items, known by the beginnings of their texts.
    const wchar_t* starts[] = {L"", L"Corvane-Sweepmere", L"Corvane-Sweepmere allows you", L"  Using this program",
                               L"Cookies : ", L"History : ", L"Temporary internet files : ", L"Typed URL's : "};
    std::vector<HWND> labels = Children(view, false);
    ASSERT_EQ(labels.size(), std::size(starts));
    EXPECT_FALSE(::IsWindowEnabled(labels[0])) << L"the white band at the top";
    for (size_t i = 0; i < labels.size(); ++i) EXPECT_EQ(TextOf(labels[i]).rfind(starts[i], 0), 0u) << TextOf(labels[i]);
    // The band, the title and an item: their own colour behind black text, in their own size of one
    // face. (The statics paint with what they are answered.)
    for (auto [i, colour, size] : {std::tuple{0, kWhite, L"16"}, {1, kPage, L"36"}, {4, kWhite, L"16"}}) {
        CtlColours c = AskColours(view, labels[i]);
        EXPECT_EQ((std::vector<COLORREF>{c.brush, c.background, c.text}), (std::vector<COLORREF>{colour, colour, 0})) << i;
        EXPECT_EQ(c.font.rfind(std::wstring(L"Thoma ") + size + L"/", 0), 0u) << c.font;
    }
    std::vector<HWND> pictures = Children(view, true);
    EXPECT_FALSE(pictures.empty());
    for (HWND h : pictures) EXPECT_NE(::SendMessageW(h, STM_GETIMAGE, IMAGE_BITMAP, 0), 0) << L"the picture is loaded";
    view->SendMessage(WM_PAINT);  // drawing names the page, also in its frame that never shows
    EXPECT_EQ(view->GetDocument()->GetTitle(), L"Vivazo");

    // Print commands belong to the view, which is never active.
    for (UINT id : {ID_FILE_PRINT, ID_FILE_PRINT_DIRECT, ID_FILE_PRINT_PREVIEW}) {
        AFX_CMDHANDLERINFO info;
        EXPECT_TRUE(view->OnCmdMsg(id, CN_COMMAND, nullptr, &info) && info.pTarget == view) << id;
    }
    // Preview goes through the print dialog; cancelled, it prints nothing. (With no printer the
    // system first says so, in a box of the same caption.)
    DialogAnswerer printDialog(L"Print", IDCANCEL);
    view->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
    EXPECT_GE(printDialog.Count(), 1u);
}
