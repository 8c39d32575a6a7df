#include "Cookies.h"

#include <io.h>

#include <memory>

#include "EraseProgressDlg.h"
#include "FileWalk.h"
#include "RegistryRead.h"
#include "ShellReader.h"
#include "resource.h"

namespace {
CEraseProgressDlg& ProgressDialog() {
    static auto* dialog = new CEraseProgressDlg;
    return *dialog;
}

std::wstring CookieFolder() {
    std::wstring path;
    QueryRegString(HKEY_CURRENT_USER, kShellFoldersKey, L"Cookies", path);
    return filewalk::WithSlash(path);
}

}  // namespace

const MsgMap CCookies::messageMap{&CPageView::messageMap, {
    msg::Command(IDC_COOKIES_ERASE, &CCookies::OnErase),
    msg::Message(filewalk::WM_WALK_ENDED, &CCookies::OnWalkEnded),
}};

CCookies::CCookies() : CPageView(IDD_COOKIES, look::ListLook(IDC_COOKIES_TITLE, IDC_COOKIES_TEXT), L"Cookies") {}

void CCookies::DoDataExchange(CDataExchange* pDX) {
    CPageView::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_COOKIES_TREE, m_tree);
    if (!pDX->m_bSaveAndValidate) FillTree();
}

// The folder's own entries, full paths, sorted: sub-folders (with an empty child when they hold
// anything but hidden files) and files, without the index file.
void CCookies::FillTree() {
    wchar_t path[260] = L"";
    auto reader = std::make_unique<CSpecialFolderEnum>();
    reader->ReadRegString(HKEY_CURRENT_USER, kShellFoldersKey, L"Cookies", path);
    if (!*path || _waccess(path, 0) != 0) return;
    std::wstring folder = filewalk::WithSlash(path);
    std::vector<filewalk::FolderEntry> entries;
    filewalk::ListEntries(folder, entries);
    std::vector<const filewalk::FolderEntry*> folders, files;
    for (const filewalk::FolderEntry& e : entries) {
        if (e.kind == filewalk::Entry::Folder) folders.push_back(&e);
        if (e.kind == filewalk::Entry::File && filewalk::IsListedCookieName(e.name)) files.push_back(&e);
    }

    m_tree.SendMessage(WM_SETREDRAW, FALSE);
    HCURSOR old = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
    for (const filewalk::FolderEntry* f : folders) {
        HTREEITEM item = m_tree.InsertItem(folder + f->name, TVI_ROOT, TVI_SORT);
        if (f->holdsContent) m_tree.InsertItem(L"", 0, 0, item, TVI_SORT);
    }
    for (const filewalk::FolderEntry* f : files) m_tree.InsertItem(folder + f->name, TVI_ROOT, TVI_SORT);
    m_tree.SendMessage(WM_SETREDRAW, TRUE);
    ::SetCursor(old);
}

void CCookies::StartCookieErase() {
    filewalk::EraseBehindDialog({CookieFolder, GetSafeHwnd(), nullptr}, ProgressDialog());
}

EraseResult CCookies::EraseWithoutWindow() { return filewalk::EraseWithoutWindow({CookieFolder, nullptr, nullptr}); }

void CCookies::OnErase() {
    if (ProgressDialog().GetSafeHwnd()) return;  // ERASE pressed again while this erase runs
    StartCookieErase();
    filewalk::ReportRefusedFolder(CookieFolder());
    RunLibraryStep("Cookies");
}

LRESULT CCookies::OnWalkEnded(WPARAM, LPARAM) {
    m_tree.DeleteAllItems();
    return 0;
}
