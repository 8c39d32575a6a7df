#include "TidemarkView.h"

#include "resource.h"

namespace {
constexpr UINT kTextId = 112, kPictureId = 113, kTitleId = 114;
constexpr int kWidth = 715, kMargin = 12, kPicture = 48, kTextLeft = kMargin + kPicture + 12;
constexpr int kFirstRow = 146, kRowHeight = 64, kRowPitch = 76;

const wchar_t kLeadText[] =
    L"Corvane-Sweepmere allows you to completely remove records of your on line activities and safely erase and "
    L"destroy files and other data that you do not want others to get.";
const wchar_t kEraseText[] = L"  Using this program, you can Erase:-";
const wchar_t* const kParagraphs[4] = {
    L"Cookies : A very small text file placed on your hard drive by a Web Page server. It is essentially your "
    L"identification card, and cannot be executed as code or deliver viruses. It is uniquely yours and can only "
    L"be read by the server that gave it to you. ",
    L"History : Computer takes all the information of the web pages that you have visited and save it in its "
    L"history so that if you want to open that web page again u can simply go in the history folder and it "
    L"working.",
    L"Temporary internet files : Temporary Internet Files are, in fact, the cache of the Internet Explorer. This "
    L"means that when you load a web page with Internet Explorer, it is saved on your computer so that if you "
    L"later decide to open the same page again, it will open a lot faster.  ",
    L"Typed URL's : URL address that you have typed inyour Internet Explorer bar.",
};
// The product's picture stands beside "Using this program", the others beside their paragraphs.
const UINT kPictures[5] = {297, 300, 301, 302, 303};

CRect RowText(int row) {
    int top = kFirstRow + row * kRowPitch;
    return CRect(kTextLeft, top, kWidth - kMargin, top + kRowHeight);
}
}  // namespace

const MsgMap CTidemarkView::messageMap{&CScrollView::messageMap, {
    msg::Command(ID_FILE_PRINT, &CView::OnFilePrint),
    msg::Command(ID_FILE_PRINT_DIRECT, &CView::OnFilePrintDirect),
    msg::Command(ID_FILE_PRINT_PREVIEW, &CView::OnFilePrintPreview),
}};

int CTidemarkView::OnCreate(LPCREATESTRUCTW lpcs) {
    if (CScrollView::OnCreate(lpcs) == -1) return -1;
    const DWORD text = WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX;
    m_band.Create(L"", text | WS_DISABLED, CRect(0, 0, kWidth, kMargin), this, kTextId);
    m_title.Create(L"Corvane-Sweepmere", text, CRect(kMargin, kMargin, kWidth - kMargin, 64), this, kTitleId);
    m_lead.Create(kLeadText, text, CRect(kMargin, 64, kWidth - kMargin, 134), this, kTextId);
    for (int i = 0; i < 5; ++i) {
        int top = kFirstRow + i * kRowPitch;
        m_pictures[i].Create(kPictures[i], CRect(kMargin, top, kMargin + kPicture, top + kPicture), this, kPictureId);
    }
    CRect erase = RowText(0);
    erase.bottom = erase.top + kPicture;
    m_eraseLead.Create(kEraseText, text | SS_CENTERIMAGE, erase, this, kTextId);
    for (int i = 0; i < 4; ++i) m_paragraphs[i].Create(kParagraphs[i], text, RowText(i + 1), this, kTextId);
    return 0;
}

void CTidemarkView::OnInitialUpdate() {
    CScrollView::OnInitialUpdate();
    SetScrollSizes(MM_TEXT, CSize(kWidth, kWidth));
}

void CTidemarkView::OnDraw(CDC*) {
    CDocument* doc = GetDocument();
    if (doc && doc->GetTitle() != L"Vivazo") doc->SetTitle(L"Vivazo");
}
