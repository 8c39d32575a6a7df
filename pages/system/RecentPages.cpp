#include "RecentPages.h"

#include <shlobj.h>

#include "FileWalk.h"
#include "PageMessage.h"
#include "resource.h"

namespace {
std::string SpecialFolderPath(int csidl) {
    char path[MAX_PATH] = "";
    return SUCCEEDED(::SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)) ? path : "";
}

EraseResult EraseFolderFiles(int csidl) {
    std::string folder = SpecialFolderPath(csidl);
    if (folder.empty()) {
        EraseResult r;
        r.Failed("the folder could not be found");
        return r;
    }
    return filewalk::EraseFilesIn(folder);
}
}  // namespace

// ---- Recent Documents ----

const char CRecentDocu::kNotErased[] = "Some recent documents could not be erased.";

const MsgMap CRecentDocu::messageMap{&CPageView::messageMap, {
    msg::Command(IDC_RECENTDOC_ERASE, &CRecentDocu::OnErase),
}};

CRecentDocu::CRecentDocu() : CPageView(IDD_RECENTDOC, look::ListLook(IDC_RECENTDOC_TITLE, IDC_RECENTDOC_TEXT), "Recent Documents") {}

void CRecentDocu::DoDataExchange(CDataExchange* pDX) {
    CPageView::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_RECENTDOC_TREE, m_tree);
    if (!pDX->m_bSaveAndValidate) Fill();
}

void CRecentDocu::Fill() {
    CSpecialFolderEnum reader;
    if (const std::list<ShellItem>* items = reader.EnumRecent()) m_contents.Fill(m_tree, "Recent Documents", *items);
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
const char* const kFixedNames[] = {"Add Network Place", "Entire Network", "Network Setup Wizard",
                                   "Wireless Network Setup Wizard"};

bool IsFixedName(const std::string& name) {
    for (const char* fixed : kFixedNames)
        if (name == fixed) return true;
    return false;
}
}  // namespace

const char CRecentNWFVw::kNotErased[] = "Some network folder links could not be erased.";

const MsgMap CRecentNWFVw::messageMap{&CPageView::messageMap, {
    msg::Command(IDC_RECENTNW_ERASE, &CRecentNWFVw::OnErase),
}};

CRecentNWFVw::CRecentNWFVw()
    : CPageView(IDD_RECENTNW, look::ListLook(IDC_RECENTNW_TITLE, IDC_RECENTNW_TEXT), "Recent Network Folder") {}

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
