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

std::string CookieFolder() {
    std::string path;
    QueryRegString(HKEY_CURRENT_USER, kShellFoldersKey, "Cookies", path);
    return filewalk::WithSlash(path);
}

// Calls fn(find data) for every entry of the folder (which ends with '\').
template <class Fn>
void ForEachEntry(const std::string& folder, Fn fn) {
    WIN32_FIND_DATAA d;
    HANDLE h = ::FindFirstFileA((folder + "*.*").c_str(), &d);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        if (!fn(d)) break;
    } while (::FindNextFileA(h, &d));
    ::FindClose(h);
}

bool HoldsContent(const std::string& folder) {
    bool found = false;
    ForEachEntry(folder, [&](const WIN32_FIND_DATAA& d) {
        found = filewalk::CountsAsContent(d.dwFileAttributes, d.cFileName);
        return !found;
    });
    return found;
}
}  // namespace

const MsgMap CCookies::messageMap{&CPageView::messageMap, {
    msg::Command(IDC_COOKIES_ERASE, &CCookies::OnErase),
    msg::Message(filewalk::WM_WALK_ENDED, &CCookies::OnWalkEnded),
}};

CCookies::CCookies() : CPageView(IDD_COOKIES, look::ListLook(IDC_COOKIES_TITLE, IDC_COOKIES_TEXT), "Cookies") {}

void CCookies::DoDataExchange(CDataExchange* pDX) {
    CPageView::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_COOKIES_TREE, m_tree);
    if (!pDX->m_bSaveAndValidate) FillTree();
}

// The folder's own entries, full paths, sorted: sub-folders (with an empty child when they hold
// anything but hidden files) and files, without the index file.
void CCookies::FillTree() {
    char path[260] = "";
    auto reader = std::make_unique<CSpecialFolderEnum>();
    reader->ReadRegString(HKEY_CURRENT_USER, kShellFoldersKey, "Cookies", path);
    if (!*path || _access(path, 0) != 0) return;
    std::string folder = filewalk::WithSlash(path);
    std::vector<std::string> folders, files;
    ForEachEntry(folder, [&](const WIN32_FIND_DATAA& d) {
        switch (filewalk::Classify(d.dwFileAttributes, d.cFileName)) {
        case filewalk::Entry::Folder: folders.push_back(folder + d.cFileName); break;
        case filewalk::Entry::File: files.push_back(folder + d.cFileName); break;
        case filewalk::Entry::Skip: break;
        }
        return true;
    });

    m_tree.SendMessage(WM_SETREDRAW, FALSE);
    HCURSOR old = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
    for (const std::string& f : folders) {
        HTREEITEM item = m_tree.InsertItem(f, TVI_ROOT, TVI_SORT);
        if (HoldsContent(f + "\\")) m_tree.InsertItem("", 0, 0, item, TVI_SORT);
    }
    for (const std::string& f : files)
        if (filewalk::IsListedCookieName(filewalk::NameOf(f))) m_tree.InsertItem(f, TVI_ROOT, TVI_SORT);
    m_tree.SendMessage(WM_SETREDRAW, TRUE);
    ::SetCursor(old);
}

void CCookies::StartCookieErase() {
    filewalk::EraseBehindDialog({CookieFolder, GetSafeHwnd(), nullptr}, ProgressDialog());
}

void CCookies::OnErase() {
    StartCookieErase();
    RunLibraryStep("Cookies");
}

LRESULT CCookies::OnWalkEnded(WPARAM, LPARAM) {
    m_tree.DeleteAllItems();
    return 0;
}
