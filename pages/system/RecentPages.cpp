#include "RecentPages.h"

#include <shlobj.h>

#include "FileWalk.h"
#include "PageMessage.h"
#include "resource.h"

namespace {
std::wstring SpecialFolderPath(int csidl) {
    wchar_t path[MAX_PATH] = L"";
    return SUCCEEDED(::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)) ? path : L"";
}

EraseResult EraseFolderFiles(int csidl) {
    std::wstring folder = SpecialFolderPath(csidl);
    if (folder.empty()) {
        EraseResult r;
        r.Failed(L"the folder could not be found");
        return r;
    }
    return filewalk::EraseFilesIn(folder);
}
}  // namespace

// ---- Recent Documents ----

const wchar_t CRecentDocu::kNotErased[] = L"Some recent documents could not be erased.";

const MsgMap CRecentDocu::messageMap{&CPageView::messageMap, {
    msg::Command(IDC_RECENTDOC_ERASE, &CRecentDocu::OnErase),
}};

CRecentDocu::CRecentDocu() : CPageView(IDD_RECENTDOC, look::ListLook(IDC_RECENTDOC_TITLE, IDC_RECENTDOC_TEXT), L"Recent Documents") {}

void CRecentDocu::DoDataExchange(CDataExchange* pDX) {
    CPageView::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_RECENTDOC_TREE, m_tree);
    if (!pDX->m_bSaveAndValidate) Fill();
}

void CRecentDocu::Fill() {
    CSpecialFolderEnum reader;
    if (const std::list<ShellItem>* items = reader.EnumRecent()) m_contents.Fill(m_tree, L"Recent Documents", *items);
}

EraseResult CRecentDocu::EraseWithoutWindow() {
    EraseResult result = EraseFolderFiles(CSIDL_RECENT);
    ::SHAddToRecentDocs(SHARD_PIDL, nullptr);  // the shell's own list of them
    return result;
}

void CRecentDocu::OnErase() {
    EraseResult result = EraseWithoutWindow();
    Fill();
    if (!result.Complete()) ShowPageMessage(kNotErased);
}

// ---- Recent Network Folders ----

namespace {
// The shell's fixed entries of the network neighbourhood, compared whole and case-sensitively.
const wchar_t* const kFixedNames[] = {L"Add Network Place", L"Entire Network", L"Network Setup Wizard",
                                   L"Wireless Network Setup Wizard"};

bool IsFixedName(const std::wstring& name) {
    for (const wchar_t* fixed : kFixedNames)
        if (name == fixed) return true;
    return false;
}
}  // namespace

const wchar_t CRecentNWFVw::kNotErased[] = L"Some network folder links could not be erased.";

const MsgMap CRecentNWFVw::messageMap{&CPageView::messageMap, {
    msg::Command(IDC_RECENTNW_ERASE, &CRecentNWFVw::OnErase),
}};

CRecentNWFVw::CRecentNWFVw()
    : CPageView(IDD_RECENTNW, look::ListLook(IDC_RECENTNW_TITLE, IDC_RECENTNW_TEXT), L"Recent Network Folder") {}

void CRecentNWFVw::DoDataExchange(CDataExchange* pDX) {
    CPageView::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_RECENTNW_LIST, m_list);
    if (pDX->m_bSaveAndValidate) return;
    m_images.Create(16, 16, ILC_COLOR8, 1, 1);
    m_images.Add(::LoadIcon(AfxGetResourceHandle(), MAKEINTRESOURCE(203)));
    m_list.SetImageList(m_images, LVSIL_SMALL);
    Fill();
}

void CRecentNWFVw::Fill() {
    CSpecialFolderEnum reader;
    if (const std::list<ShellItem>* items = reader.EnumNetworkPlaces()) Fill(*items);
}

void CRecentNWFVw::Fill(const std::list<ShellItem>& items) {
    m_list.DeleteAllItems();
    // The list holds the newest enumerated first; each row going to the top restores the shell's order.
    for (const ShellItem& item : items)
        if (!IsFixedName(item.Name)) m_list.InsertItem(0, item.Name, 0);
}

EraseResult CRecentNWFVw::EraseWithoutWindow() { return EraseFolderFiles(CSIDL_NETHOOD); }

void CRecentNWFVw::OnErase() {
    EraseResult result = EraseWithoutWindow();
    Fill();
    if (!result.Complete()) ShowPageMessage(kNotErased);
}
