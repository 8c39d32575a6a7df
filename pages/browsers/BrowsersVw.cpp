#include "BrowsersVw.h"

#include <algorithm>

#include "Categories.h"
#include "Policy.h"
#include "ReportBox.h"
#include "Settings.h"
#include "resource.h"

const wchar_t CBrowsersVw::kNoneFound[] = L"No Edge, Chrome or Firefox profile was found.";
const wchar_t CBrowsersVw::kNothingChecked[] = L"Check the categories to erase first.";

namespace {
// Where the rows go, in dialog units: the same places as the other summaries' rows.
constexpr int kFirstRowY = 58, kRowPitch = 32, kButtonsWhenNone = 88;

// The icons of the Internet summary's rows of the same kind.
UINT IconOf(const std::string& key) {
    auto endsWith = [&](const char* end) {
        size_t n = strlen(end);
        return key.size() >= n && key.compare(key.size() - n, n, end) == 0;
    };
    if (endsWith(".cache")) return 310;
    if (endsWith(".cookies")) return 165;
    if (endsWith(".history")) return 162;
    return 182;
}

std::wstring Counted(unsigned long long n, const wchar_t* one, const wchar_t* many) {
    return std::to_wstring(n) + L" " + (n == 1 ? one : many);
}

std::wstring Description(const engine::BrowserSurveyRow& row) {
    return Counted(row.profiles, L"profile", L"profiles") + L", " + Counted(row.items, L"item", L"items") + L", " +
           engine::SizeText(row.bytes);
}

look::PageLook BrowsersLook(size_t rows) {
    using namespace look;
    std::vector<int> headings, white{IDC_BROWSERS_NONE};
    for (size_t i = 0; i < rows; ++i) {
        headings.push_back(CBrowsersVw::HeadingId(i));
        white.push_back(CBrowsersVw::DescriptionId(i));
    }
    std::vector<int> descriptions = white, onPageColour{IDC_BROWSERS_TITLE, IDC_BROWSERS_TEXT, IDC_BROWSERS_BAND};
    descriptions.push_back(IDC_BROWSERS_TEXT);
    onPageColour.insert(onPageColour.end(), headings.begin(), headings.end());
    return {kWhite,
            {Colour(kWhite, white), Colour(kPageColour, onPageColour), Font(kTitleFont, {IDC_BROWSERS_TITLE}),
             Font(kSummaryTextFont, descriptions), Font(kHeadingFont, headings)}};
}
}  // namespace

const MsgMap CBrowsersVw::messageMap{&CPageView::messageMap, {
    msg::Command(IDC_BROWSERS_SELECTALL, &CBrowsersVw::OnSelectAll),
    msg::Command(IDC_BROWSERS_CLEARALL, &CBrowsersVw::OnClearAll),
    msg::Command(IDC_BROWSERS_ERASE_NOW, &CBrowsersVw::OnEraseNow),
}};

CBrowsersVw::CBrowsersVw() : CPageView(IDD_BROWSERS, BrowsersLook(0), L"Web Browsers") {}

void CBrowsersVw::OnInitialUpdate() {
    CPageView::OnInitialUpdate();
    m_inbox = std::make_shared<ui::Inbox>();
    Start({});
}

BOOL CBrowsersVw::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    for (size_t i = 0; nCode == CN_COMMAND && i < m_rows.size(); ++i)
        if (nID == static_cast<UINT>(EraseId(i))) {
            if (!pHandlerInfo) OnEraseRow(i);
            return TRUE;
        }
    return CPageView::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CBrowsersVw::OnDestroy() {
    // Nothing the worker hands in reaches the page from now on; an erase still running ends
    // after its category, by itself.
    if (m_inbox) m_inbox->Close();
    m_worker.Stop(100);
    CPageView::OnDestroy();
}

void CBrowsersVw::OnSelectAll() {
    for (size_t i = 0; i < m_rows.size(); ++i) ::SendDlgItemMessageW(m_hWnd, CheckId(i), BM_SETCHECK, BST_CHECKED, 0);
}

void CBrowsersVw::OnClearAll() {
    for (size_t i = 0; i < m_rows.size(); ++i) ::SendDlgItemMessageW(m_hWnd, CheckId(i), BM_SETCHECK, BST_UNCHECKED, 0);
}

bool CBrowsersVw::Checked(size_t row) const {
    return ::SendDlgItemMessageW(m_hWnd, CheckId(row), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CBrowsersVw::OnEraseNow() {
    if (m_busy) return;
    std::vector<std::string> keys;
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (Checked(i)) keys.push_back(m_rows[i].key);
    if (keys.empty()) return report::ShowText(kNothingChecked);
    Start(keys);
}

void CBrowsersVw::OnEraseRow(size_t row) {
    if (!m_busy && row < m_rows.size()) Start({m_rows[row].key});
}

void CBrowsersVw::Start(std::vector<std::string> keys) {
    m_busy = true;
    EnableButtons(false);
    engine::Options options = settings::EraseOptions();
    std::shared_ptr<ui::Inbox> inbox = m_inbox;
    CBrowsersVw* self = this;  // used only in calls the inbox runs, which never outlive the page
    std::vector<const engine::Category*> categories;
    for (const std::string& key : keys)
        if (const engine::Category* c = engine::FindCategory(key)) categories.push_back(c);
    auto job = [=](const engine::StopToken& stop) {
        engine::Options o = options;
        o.stop = &stop;
        std::vector<engine::Outcome> outcomes = engine::EraseCategories(categories, o);
        if (stop.Requested()) return;
        // Counted again, so that the rows show what the erase left.
        std::vector<engine::BrowserSurveyRow> rows = engine::SurveyBrowsers(o);
        inbox->Post([self, rows, outcomes] { self->Finished(rows, outcomes); });
    };
    auto failure = [=](const std::wstring& why) {
        engine::Outcome outcome;
        outcome.name = L"Web Browsers";
        outcome.result.Failed(why);
        inbox->Post([self, outcome] { self->Finished(self->m_rows, {outcome}); });
    };
    if (m_worker.Start(job, failure)) return;
    m_busy = false;
    EnableButtons(true);
    report::ShowText(L"The erase could not be started.", true);
}

void CBrowsersVw::Finished(std::vector<engine::BrowserSurveyRow> rows, const std::vector<engine::Outcome>& outcomes) {
    m_busy = !outcomes.empty();  // a survey alone is over; an erase is when its report is closed
    ShowRows(std::move(rows));
    if (!m_busy) return;
    if (!report::ShowPageReport(*this, outcomes)) return;
    m_busy = false;
    EnableButtons(true);
}

void CBrowsersVw::ShowRows(std::vector<engine::BrowserSurveyRow> rows) {
    std::vector<std::string> checked;
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (Checked(i)) checked.push_back(m_rows[i].key);
    for (HWND h : m_rowWindows) ::DestroyWindow(h);
    m_rowWindows.clear();
    m_rows = std::move(rows);
    m_look = BrowsersLook(m_rows.size());

    auto make = [this](const wchar_t* cls, const std::wstring& text, DWORD style, int id, RECT r, HFONT font) {
        ::MapDialogRect(m_hWnd, &r);
        HWND h = ::CreateWindowExW(0, cls, text.c_str(), WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right,
                                   r.bottom, m_hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   AfxGetInstanceHandle(), nullptr);
        ::SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        m_rowWindows.push_back(h);
        return h;
    };
    HFONT dialogFont = GetFont();
    for (size_t i = 0; i < m_rows.size(); ++i) {
        const engine::BrowserSurveyRow& r = m_rows[i];
        int y = kFirstRowY + static_cast<int>(i) * kRowPitch;
        HWND check = make(L"BUTTON", L"", BS_AUTOCHECKBOX | WS_TABSTOP, CheckId(i), {10, y + 5, 10, 10}, dialogFont);
        if (std::find(checked.begin(), checked.end(), r.key) != checked.end())
            ::SendMessageW(check, BM_SETCHECK, BST_CHECKED, 0);
        HWND icon = make(L"STATIC", L"", SS_ICON, HeadingId(i) + 4, {24, y + 1, 21, 20}, nullptr);
        HANDLE image = ::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IconOf(r.key)), IMAGE_ICON, 0, 0,
                                    LR_DEFAULTSIZE | LR_SHARED);
        ::SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(image), 0);
        make(L"STATIC", r.browser + L": " + r.category, SS_NOPREFIX, HeadingId(i), {50, y, 280, 13},
             m_cache.Font(look::kHeadingFont));
        make(L"STATIC", Description(r), SS_NOPREFIX, DescriptionId(i), {50, y + 14, 280, 12},
             m_cache.Font(look::kSummaryTextFont));
        make(L"BUTTON", L"Erase", BS_PUSHBUTTON | WS_TABSTOP, EraseId(i), {340, y, 70, 14}, dialogFont);
    }
    // The "none found" line lies where the first row goes: hidden, or it paints over that row's button.
    HWND none = ::GetDlgItem(m_hWnd, IDC_BROWSERS_NONE);
    ::SetWindowTextW(none, m_rows.empty() ? kNoneFound : L"");
    ::ShowWindow(none, m_rows.empty() ? SW_SHOW : SW_HIDE);
    PlaceButtons();
    EnableButtons(!m_busy);  // the new rows' buttons too wait for the report
}

void CBrowsersVw::PlaceButtons() {
    int y = m_rows.empty() ? kButtonsWhenNone : kFirstRowY + static_cast<int>(m_rows.size()) * kRowPitch + 4;
    for (auto [id, x, width] : {std::tuple{IDC_BROWSERS_SELECTALL, 10, 55}, std::tuple{IDC_BROWSERS_CLEARALL, 70, 55},
                                std::tuple{IDC_BROWSERS_ERASE_NOW, 340, 70}}) {
        RECT r{x, y, width, 15};
        ::MapDialogRect(m_hWnd, &r);
        ::SetWindowPos(::GetDlgItem(m_hWnd, id), nullptr, r.left, r.top, r.right, r.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RECT total{0, 0, 420, y + 24};
    ::MapDialogRect(m_hWnd, &total);
    // Twice: the first fit changes which scroll bars show, and so the room the form has.
    for (int pass = 0; pass < 2; ++pass) {
        SetScrollSizes(MM_TEXT, CSize(total.right, total.bottom));
        FitFrameToForm();
    }
    // The page's background is drawn under its children: they are drawn again after it.
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void CBrowsersVw::EnableButtons(bool enable) {
    auto set = [this](int id, bool on) { ::EnableWindow(::GetDlgItem(m_hWnd, id), on); };
    for (size_t i = 0; i < m_rows.size(); ++i) {
        const engine::Category* c = engine::FindCategory(m_rows[i].key);
        set(EraseId(i), enable && !(c && engine::TurnedOff(*c)));
    }
    for (int id : {IDC_BROWSERS_SELECTALL, IDC_BROWSERS_CLEARALL, IDC_BROWSERS_ERASE_NOW}) set(id, enable && !m_rows.empty());
}
