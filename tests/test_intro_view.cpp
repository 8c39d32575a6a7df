// The introduction page's view: its statics, their colours and fonts, its caption and printing.
#include <gtest/gtest.h>

#include "AppHarness.h"
#include "TestKit.h"
#include "TidemarkDoc.h"
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

TEST(IntroView, LabelsCarryTheirTextsInOrderAndAskForBlackTextOnTheirColourInTheirOwnFont) {
    CTidemarkView* view = FirstIntroView();
    ASSERT_NE(view, nullptr);
    // The band at the top, the title, the lead and the items, known by the beginnings of their texts.
    const wchar_t* starts[] = {L"", L"Corvane-Sweepmere", L"Corvane-Sweepmere allows you", L"  Using this program",
                               L"Cookies : ", L"History : ", L"Temporary internet files : ", L"Typed URL's : "};
    std::vector<HWND> labels = Children(view, false);
    ASSERT_EQ(labels.size(), std::size(starts));
    EXPECT_FALSE(::IsWindowEnabled(labels[0])) << L"the white band at the top";
    for (size_t i = 0; i < labels.size(); ++i) EXPECT_EQ(TextOf(labels[i]).rfind(starts[i], 0), 0u) << TextOf(labels[i]);
    // The title and an item: their own colour behind black text, in their own size of one face.
    for (auto [i, colour, size] : {std::tuple{1, kPage, L"36"}, {4, kWhite, L"16"}}) {
        CtlColours c = AskColours(view, labels[i]);
        EXPECT_EQ((std::vector<COLORREF>{c.brush, c.background, c.text}), (std::vector<COLORREF>{colour, colour, 0})) << i;
        EXPECT_EQ(c.font.rfind(std::wstring(L"Thoma ") + size + L"/", 0), 0u) << c.font;
    }
    std::vector<HWND> pictures = Children(view, true);
    EXPECT_FALSE(pictures.empty());
    for (HWND h : pictures) EXPECT_NE(::SendMessageW(h, STM_GETIMAGE, IMAGE_BITMAP, 0), 0) << L"the picture is loaded";
}

TEST(IntroView, ShownInAVisibleFrameItPaintsItsColoursAndTakesItsCaption) {
    StartApp();
    // The page's own frame never shows itself; an ordinary child frame does.
    CMultiDocTemplate shown(IDR_TIDEMATYPE, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(CMDIChildWnd),
                            RUNTIME_CLASS(CTidemarkView));
    shown.LoadTemplate();
    CDocument* doc = shown.OpenDocumentFile(nullptr, TRUE);
    ASSERT_NE(doc, nullptr);
    CView* view = ViewOf(doc);
    ::ShowWindow(FrameOf(doc)->m_hWnd, SW_MAXIMIZE);
    EXPECT_TRUE(PumpUntil([&] { return doc->GetTitle() == L"Vivazo"; }));
    CRect title;
    ::GetWindowRect(Children(view, false)[1], &title);
    view->ScreenToClient(&title);
    EXPECT_EQ(ClientPixel(view->m_hWnd, title.right - 2, title.bottom - 2), kPage);
    EXPECT_EQ(ClientPixel(view->m_hWnd, 2, 2), kWhite);
    doc->OnCloseDocument();
    Pump();
}

TEST(IntroView, PrintCommandsBelongToTheViewWhichIsNeverActive) {
    CTidemarkView* view = FirstIntroView();
    ASSERT_NE(view, nullptr);
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
