#include "CategoryTree.h"
#include "afxdpi.h"

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

// The tree texts of a group's categories, in the table's order (the branch sorts them).
std::vector<std::wstring> NodesOf(const char* group) {
    std::vector<std::wstring> nodes;
    for (const engine::Category& c : engine::Categories())
        if (c.group == group && pages::Find(c.key)) nodes.push_back(c.name);
    return nodes;
}

// The present drive (B to Z) whose drive text this is, or 0.
wchar_t DriveOfText(const std::wstring& text) {
    DWORD drives = ::GetLogicalDrives();
    for (int i = 1; i < 26; ++i)
        if ((drives & (1u << i)) && DriveText(static_cast<wchar_t>('A' + i)) == text) return static_cast<wchar_t>('A' + i);
    return 0;
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
        AddBranch(pages::TextOf(*pages::Find(b.page)), NodesOf(b.group));
        if (!all) break;  // the Internet branch only
        // The browsers' categories are rows of their page, found on this machine when it opens.
        if (b.page == kBranches[0].page) AddNode(pages::TextOf(*pages::Find(pages::kBrowsers)), TVI_ROOT);
    }
    if (!all) return;
    std::vector<std::wstring> unused;
    DWORD drives = ::GetLogicalDrives();
    for (wchar_t letter = 'B'; letter <= 'Z'; ++letter)
        if (drives & (1u << (letter - 'A'))) unused.push_back(DriveText(letter));
    unused.push_back(pages::TextOf(*pages::Find(pages::kWipeList)));
    AddBranch(pages::TextOf(*pages::Find(pages::kUnusedSpace)), unused);
}

void CCategoryTree::AddBranch(const std::wstring& root, const std::vector<std::wstring>& children) {
    HTREEITEM node = AddNode(root, TVI_ROOT);
    for (const std::wstring& text : children) AddNode(text, node);
    Expand(node, TVE_EXPAND);
    SortChildren(node);
}

HTREEITEM CCategoryTree::AddNode(const std::wstring& text, HTREEITEM parent) {
    bool top = parent == nullptr || parent == TVI_ROOT;
    HTREEITEM under = top ? TVI_ROOT : parent;
    for (HTREEITEM i = top ? GetRootItem() : GetChildItem(parent); i; i = GetNextSiblingItem(i))
        if (GetItemText(i) == text) return i;
    int image = -1;
    if (const pages::PageRow* row = pages::FindByText(text)) {
        if (row->top != top) return nullptr;
        image = pages::ImageOf(*row);
    } else {
        wchar_t drive = top ? 0 : DriveOfText(text);
        if (!drive) return nullptr;
        image = DriveImage(drive);
    }
    if (image < 0) return InsertItem(text, under);
    return InsertItem(text, image, image, under);
}

bool CCategoryTree::OpenCategory(const std::wstring& text) {
    CTidemarkApp* app = TheApp();
    if (!app) return false;
    if (const pages::PageRow* row = pages::FindByText(text)) {
        app->OpenPage(row->key);
        return true;
    }
    if (DriveOfText(text)) {
        app->OpenPage(pages::kDrives);
        return true;
    }
    return false;
}

void CCategoryTree::ChooseNode(HTREEITEM item) {
    SelectItem(item);
    SetFocus();
    std::wstring text = GetItemText(item);
    LastChosenText() = text;
    OpenCategory(text);
}

void CCategoryTree::OnLButtonDown(UINT, CPoint point) {
    if (HTREEITEM item = HitTest(point)) ChooseNode(item);
}

void CCategoryTree::OnRButtonDown(UINT, CPoint) {}
