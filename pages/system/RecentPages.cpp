#include "RecentPages.h"
#include "afxdpi.h"

#include "Categories.h"
#include "Settings.h"
#include "PageMessage.h"
#include "resource.h"

namespace {
// Deletes the files directly in the category's folder (its sub-folders stay).
engine::Result EraseCategory(const char* key) {
    return engine::RunErase(engine::CategoryOf(key), settings::EraseOptions());
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

void CRecentDocu::OnErase() {
    engine::Result result = EraseCategory(engine::keys::kRecentDocuments);
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
    m_images.Create(AfxScaled(16), AfxScaled(16), ILC_COLOR32 | ILC_MASK, 1, 1);
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

void CRecentNWFVw::OnErase() {
    engine::Result result = EraseCategory(engine::keys::kNetworkPlaces);
    Fill();
    if (!result.Complete()) ShowPageMessage(kNotErased);
}
