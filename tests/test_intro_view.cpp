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
        if (((::GetWindowLongPtrA(c, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP) == pictures) found.push_back(c);
    return found;
}

std::string Text(HWND h) {
    char text[512] = "";
    ::GetWindowTextA(h, text, sizeof text);
    return text;
}
}  // namespace

TEST(IntroView, StaticsCarryTheTextsAndPicturesInOrder) {
    CTidemarkView* view = FirstIntroView();
    ASSERT_NE(view, nullptr);
    const std::vector<std::string> expected = {
        "",
        "Corvane-Sweepmere",
        "Corvane-Sweepmere allows you to completely remove records of your on line activities and safely erase "
        "and destroy files and other data that you do not want others to get.",
        "  Using this program, you can Erase:-",
        "Cookies : A very small text file placed on your hard drive by a Web Page server. It is essentially your "
        "identification card, and cannot be executed as code or deliver viruses. It is uniquely yours and can "
        "only be read by the server that gave it to you. ",
        "History : Computer takes all the information of the web pages that you have visited and save it in its "
        "history so that if you want to open that web page again u can simply go in the history folder and it "
        "working.",
        "Temporary internet files : Temporary Internet Files are, in fact, the cache of the Internet Explorer. "
        "This means that when you load a web page with Internet Explorer, it is saved on your computer so that "
        "if you later decide to open the same page again, it will open a lot faster.  ",
        "Typed URL's : URL address that you have typed inyour Internet Explorer bar.",
    };
    std::vector<std::string> texts;
    std::vector<int> ids;
    for (HWND h : Children(view, false)) {
        texts.push_back(Text(h));
        ids.push_back(::GetDlgCtrlID(h));
    }
    EXPECT_EQ(texts, expected);
    EXPECT_EQ(ids, (std::vector<int>{112, 114, 112, 112, 112, 112, 112, 112}));
    EXPECT_FALSE(::IsWindowEnabled(Children(view, false).front()));  // the white band at the top

    std::vector<HWND> pictures = Children(view, true);
    ASSERT_EQ(pictures.size(), 5u);
    for (HWND h : pictures) {
        EXPECT_EQ(::GetDlgCtrlID(h), 113);
        BITMAP bm{};
        EXPECT_TRUE(::GetObjectA(reinterpret_cast<HBITMAP>(::SendMessageA(h, STM_GETIMAGE, IMAGE_BITMAP, 0)),
                                 sizeof bm, &bm));
        EXPECT_EQ(bm.bmWidth, 48);
    }
    EXPECT_EQ(view->GetTotalSize().cx, 715);
    EXPECT_EQ(view->GetTotalSize().cy, 715);
}

TEST(IntroView, LabelsAskForBlackTextOnTheirColourInTheirOwnFont) {
    CTidemarkView* view = FirstIntroView();
    ASSERT_NE(view, nullptr);
    struct Want { COLORREF colour; LONG height, width, weight; };
    const Want title{kPage, 36, 12, 34}, lead{kPage, 22, 8, 24}, body{kWhite, 16, 7, 24};
    const Want wants[] = {body, title, lead, lead, body, body, body, body};
    std::vector<HWND> labels = Children(view, false);
    ASSERT_EQ(labels.size(), std::size(wants));
    for (size_t i = 0; i < labels.size(); ++i) {
        HDC dc = ::CreateCompatibleDC(nullptr);
        LRESULT brush = view->SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                          reinterpret_cast<LPARAM>(labels[i]));
        LOGBRUSH lb{};
        LOGFONTA lf{};
        ::GetObjectA(reinterpret_cast<HBRUSH>(brush), sizeof lb, &lb);
        ::GetObjectA(::GetCurrentObject(dc, OBJ_FONT), sizeof lf, &lf);
        EXPECT_EQ(lb.lbColor, wants[i].colour) << i;
        EXPECT_EQ(::GetBkColor(dc), wants[i].colour) << i;
        EXPECT_EQ(::GetTextColor(dc), RGB(0, 0, 0));
        EXPECT_EQ(::GetBkMode(dc), OPAQUE);
        EXPECT_STREQ(lf.lfFaceName, "Thoma");
        EXPECT_EQ((std::vector<LONG>{lf.lfHeight, lf.lfWidth, lf.lfWeight}),
                  (std::vector<LONG>{wants[i].height, wants[i].width, wants[i].weight})) << i;
        ::DeleteDC(dc);
    }
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
    EXPECT_TRUE(PumpUntil([&] { return doc->GetTitle() == "Vivazo"; }));
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
    CCmdUI ui;  // so the main window's Print stays disabled
    ui.m_nID = ID_FILE_PRINT;
    ui.DoUpdate(AfxGetMainWnd(), TRUE);
    EXPECT_FALSE(ui.m_bEnabled);
    // Preview goes through the print dialog; cancelled, it prints nothing. (With no printer the
    // system first says so, in a box of the same caption.)
    DialogAnswerer printDialog("Print", IDCANCEL);
    view->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
    EXPECT_GE(printDialog.Count(), 1u);
}
