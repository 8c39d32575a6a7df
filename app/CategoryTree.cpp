#include "CategoryTree.h"
#include "afxdpi.h"

#include <algorithm>
#include <cstring>

#include "DriveText.h"
#include "LastChosenText.h"
#include "Settings.h"
#include "Categories.h"
#include "Pages.h"
#include "TidemarkApp.h"

namespace {
// The node icons, by image index.
const UINT kIcons[CCategoryTree::kImageCount] = {141, 143, 140, 144, 146, 145, 155, 157, 158, 159, 162, 163,
                                                 165, 310, 167, 168, 169, 170, 171, 172, 175, 177, 178, 206,
                                                 180, 181, 182, 183, 184, 202, 203, 204, 211, 259, 263};

// The branch a group of the engine's categories goes under, with the summary page at its root.
struct Branch {
    const char* group;
    const char* page;
};
const Branch kBranches[] = {{"internet", pages::kInternet}, {"system", pages::kSystem}, {"apps", pages::kApplications}};

// The page keys of a group's categories, in the table's order (the branch sorts them).
std::vector<const char*> NodesOf(const char* group) {
    std::vector<const char*> nodes;
    for (const engine::Category& c : engine::Categories())
        if (c.group == group)
            if (const pages::PageRow* row = pages::Find(c.key)) nodes.push_back(row->key);
    return nodes;
}

int DriveImage(wchar_t letter) {
    wchar_t root[] = {letter, ':', '\\', '\0'};
    switch (::GetDriveTypeW(root)) {
    case DRIVE_CDROM: return 2;
    case DRIVE_REMOVABLE: return letter == 'A' ? 4 : 3;
    default: return 5;
    }
}

// A fully transparent icon for an image whose resource is missing.
HICON BlankIcon() {
    BYTE andMask[16 * 16 / 8];
    BYTE xorMask[16 * 16 / 8] = {};
    memset(andMask, 0xFF, sizeof andMask);
    return ::CreateIcon(AfxGetInstanceHandle(), 16, 16, 1, 1, andMask, xorMask);
}
}  // namespace

int CCategoryTree::ImageOf(UINT iconId) {
    const UINT* at = std::find(std::begin(kIcons), std::end(kIcons), iconId);
    return at == std::end(kIcons) ? -1 : static_cast<int>(at - kIcons);
}

void CCategoryTree::BuildImages() {
    const int size = AfxScaled(16);
    m_images.Create(size, size, ILC_COLOR32 | ILC_MASK, kImageCount, 0);
    HICON blank = nullptr;
    for (UINT id : kIcons) {
        auto icon = static_cast<HICON>(
            ::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
        if (icon) {
            m_images.Add(icon);
            ::DestroyIcon(icon);
        } else {
            if (!blank) blank = BlankIcon();
            m_images.Add(blank);
        }
    }
    if (blank) ::DestroyIcon(blank);
}

void CCategoryTree::Initialise() {
    BuildImages();
    SetImageList(m_images, TVSIL_NORMAL);
    ShowAllCategories(settings::AllCategories());
}

void CCategoryTree::ShowAllCategories(bool all) {
    DeleteAllItems();
    for (const Branch& b : kBranches) {
        AddBranch(b.page, NodesOf(b.group));
        if (!all) break;  // the Internet branch only
        // The browsers' categories are rows of their page, found on this machine when it opens.
        if (b.page == kBranches[0].page) AddNode(pages::kBrowsers, TVI_ROOT);
    }
    if (!all) return;
    HTREEITEM unused = AddBranch(pages::kUnusedSpace, {pages::kWipeList});
    DWORD drives = ::GetLogicalDrives();
    for (wchar_t letter = 'B'; letter <= 'Z'; ++letter)
        if (drives & (1u << (letter - 'A'))) Insert(DriveText(letter), DriveImage(letter), pages::kDrives, unused);
    SortChildren(unused);
}

HTREEITEM CCategoryTree::AddBranch(const char* root, const std::vector<const char*>& children) {
    HTREEITEM node = AddNode(root, TVI_ROOT);
    for (const char* key : children) AddNode(key, node);
    Expand(node, TVE_EXPAND);
    SortChildren(node);
    return node;
}

HTREEITEM CCategoryTree::AddNode(const std::string& key, HTREEITEM parent) {
    bool top = parent == nullptr || parent == TVI_ROOT;
    const pages::PageRow* row = pages::Find(key);
    if (!row || row->top != top) return nullptr;
    for (HTREEITEM i = top ? GetRootItem() : GetChildItem(parent); i; i = GetNextSiblingItem(i))
        if (const char* k = KeyOf(i); k && strcmp(k, row->key) == 0) return i;
    return Insert(pages::TextOf(*row), ImageOf(pages::IconOf(*row)), row->key, top ? TVI_ROOT : parent);
}

HTREEITEM CCategoryTree::Insert(const std::wstring& text, int image, const char* key, HTREEITEM parent) {
    TVINSERTSTRUCTW tis{};
    tis.hParent = parent;
    tis.hInsertAfter = TVI_LAST;
    tis.item.mask = TVIF_TEXT | TVIF_PARAM | (image < 0 ? 0 : TVIF_IMAGE | TVIF_SELECTEDIMAGE);
    tis.item.pszText = const_cast<wchar_t*>(text.c_str());
    tis.item.iImage = tis.item.iSelectedImage = image;
    tis.item.lParam = reinterpret_cast<LPARAM>(key);  // a constant of the page table: it outlives the tree
    return InsertItem(&tis);
}

const char* CCategoryTree::KeyOf(HTREEITEM item) const {
    TVITEMW it{};
    it.mask = TVIF_PARAM;
    it.hItem = item;
    return SendMessage(TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&it)) ? reinterpret_cast<const char*>(it.lParam) : nullptr;
}

void CCategoryTree::ChooseNode(HTREEITEM item) {
    SelectItem(item);
    SetFocus();
    LastChosenText() = GetItemText(item);
    if (const char* key = KeyOf(item))
        if (CTidemarkApp* app = TheApp()) app->OpenPage(key);
}

void CCategoryTree::OnLButtonDown(UINT, CPoint point) {
    if (HTREEITEM item = HitTest(point)) ChooseNode(item);
}

void CCategoryTree::OnRButtonDown(UINT, CPoint) {}
