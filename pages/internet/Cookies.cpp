#include "Cookies.h"

#include "CategoryKeys.h"
#include "EraseProgressDlg.h"
#include "LibraryStep.h"
#include "ReportBox.h"
#include "Traces.h"
#include "Walk.h"
#include "resource.h"

namespace {
CEraseProgressDlg& ProgressDialog() {
    static auto* dialog = new CEraseProgressDlg;
    return *dialog;
}
}  // namespace

const MsgMap CCookies::messageMap{&CPageView::messageMap, {
    msg::Command(IDC_COOKIES_ERASE, &CCookies::OnErase),
}};

CCookies::CCookies() : CPageView(IDD_COOKIES, look::ListLook(IDC_COOKIES_TITLE, IDC_COOKIES_TEXT), L"Cookies") {}

void CCookies::DoDataExchange(CDataExchange* pDX) {
    CPageView::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_COOKIES_TREE, m_tree);
    if (pDX->m_bSaveAndValidate) return;
    m_walk.Attach(m_hWnd);
    FillTree();
}

void CCookies::OnDestroy() {
    m_walk.Stop();
    CPageView::OnDestroy();
}

// The folder's own entries, full paths, sorted: sub-folders (with an empty child when they hold
// anything but hidden files) and files, without the index file.
void CCookies::FillTree() {
    std::wstring folder = engine::ShellFolder(L"Cookies");
    std::vector<engine::Entry> entries;
    if (folder.empty() || !engine::ListEntries(folder, entries)) return;
    if (folder.back() != L'\\') folder += L'\\';
    m_tree.SendMessage(WM_SETREDRAW, FALSE);
    HCURSOR old = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
    for (const engine::Entry& e : entries)
        if (e.folder) {
            HTREEITEM item = m_tree.InsertItem(folder + e.name, TVI_ROOT, TVI_SORT);
            if (e.holdsContent) m_tree.InsertItem(L"", 0, 0, item, TVI_SORT);
        }
    for (const engine::Entry& e : entries)
        if (!e.folder && engine::IsListedCookieName(e.name)) m_tree.InsertItem(folder + e.name, TVI_ROOT, TVI_SORT);
    m_tree.SendMessage(WM_SETREDRAW, TRUE);
    ::SetCursor(old);
}

void CCookies::OnErase() {
    bool ran = false;
    engine::Result r = m_walk.EraseBehindDialog(engine::keys::kCookies, ProgressDialog(), [this] { m_tree.DeleteAllItems(); }, &ran);
    if (!ran) return;  // ERASE pressed again while this erase runs
    if (!r.Complete()) report::ShowOutcomes({{L"Cookies", r, 0}});
    RunLibraryStep("Cookies");
}
