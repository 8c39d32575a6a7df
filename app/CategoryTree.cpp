#include "CategoryTree.h"

#include <cstring>

#include "DriveText.h"
#include "LastChosenText.h"
#include "Settings.h"
#include "TidemarkApp.h"

namespace {
// The node icons, by image index.
const UINT kIcons[CCategoryTree::kImageCount] = {141, 143, 140, 144, 146, 145, 155, 157, 158, 159, 162, 163,
                                                 165, 310, 167, 168, 169, 170, 171, 172, 175, 177, 178, 206,
                                                 180, 181, 182, 183, 184, 202, 203, 204, 211, 259, 263};

enum class Level { Top, Under };

struct Category {
    const wchar_t* text;
    int image;  // -1: none
    Level level;
    PageId page;
};

// Every category a node can name. The texts differ from each other, so the first equal text
// is the only one.
const Category kCategories[] = {
    {L"Recycle Bin", 6, Level::Under, PageId::Recycle},
    {L"System Registry Traces", 7, Level::Under, PageId::SystemRegistry},
    {L"Microsoft Management Console", 32, Level::Under, PageId::MMConsole},
    {L"Windows Media Player", 11, Level::Under, PageId::MediaPlayer},
    {L"Paint", 9, Level::Under, PageId::Paint},
    {L"Recent Documents", 21, Level::Under, PageId::RecentDocuments},
    {L"Typed URLs", 8, Level::Under, PageId::TypedUrls},
    {L"Cookies", 12, Level::Under, PageId::Cookies},
    {L"History", 10, Level::Under, PageId::History},
    {L"ClipBoard Content", 14, Level::Under, PageId::Clipboard},
    {L"Windows Event Log", 24, Level::Under, PageId::EventLog},
    {L"Unused Space", 25, Level::Top, PageId::UnusedSpace},
    {L"Temporary Internet Files", 13, Level::Under, PageId::TempInternetFiles},
    {L"Open File History", 23, Level::Under, PageId::OpenFileHistory},
    {L"Internet", 26, Level::Top, PageId::Internet},
    {L"System", 27, Level::Top, PageId::System},
    {L"Administrator's Temporary Files", 31, Level::Under, PageId::AdminTempFiles},
    {L"System Temporary Files", 29, Level::Under, PageId::SysTempFiles},
    {L"Recent Network Folder", 30, Level::Under, PageId::RecentNetworkFolder},
    {L"Application Traces", 28, Level::Top, PageId::ApplicationTraces},
    {L"Acrobat Reader", 15, Level::Under, PageId::Acrobat},
    {L"Microsoft Access", 22, Level::Under, PageId::Access},
    {L"Microsoft Excel", 16, Level::Under, PageId::Excel},
    {L"Microsoft PowerPoint", 18, Level::Under, PageId::PowerPoint},
    {L"Microsoft Word", 19, Level::Under, PageId::Word},
    {L"Winzip", 17, Level::Under, PageId::WinZip},
    {L"Wipe List", -1, Level::Under, PageId::WipeList},
    {L"WordPad", 20, Level::Under, PageId::WordPad},
    {L"Most Frequently Used Registry", 34, Level::Under, PageId::MfuRegistry},
    {L"Web Browsers", 26, Level::Top, PageId::Browsers},
};

// The branches the tree shows besides "Internet" when all categories are asked for.
const std::vector<std::wstring> kInternetNodes{L"Temporary Internet Files", L"Cookies", L"History", L"Typed URLs"};
const std::vector<std::wstring> kSystemNodes{L"Recycle Bin", L"System Registry Traces", L"Recent Documents",
                                            L"Open File History", L"Most Frequently Used Registry",
                                            L"Administrator's Temporary Files", L"System Temporary Files",
                                            L"ClipBoard Content", L"Windows Event Log", L"Recent Network Folder"};
const std::vector<std::wstring> kApplicationNodes{L"Acrobat Reader", L"Microsoft Access", L"Microsoft Excel",
                                                 L"Microsoft Word", L"Microsoft PowerPoint", L"Paint",
                                                 L"Windows Media Player", L"Winzip", L"WordPad",
                                                 L"Microsoft Management Console"};

const Category* FindCategory(const std::wstring& text) {
    for (const Category& c : kCategories)
        if (text == c.text) return &c;
    return nullptr;
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
    m_images.Create(16, 16, ILC_COLOR8 | ILC_MASK, kImageCount, 0);
    HICON blank = nullptr;
    for (UINT id : kIcons) {
        auto icon = static_cast<HICON>(
            ::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(id), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
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
    AddBranch(L"Internet", kInternetNodes);
    if (!all) return;
    AddBranch(L"Web Browsers", {});
    AddBranch(L"System", kSystemNodes);
    AddBranch(L"Application Traces", kApplicationNodes);
    std::vector<std::wstring> unused;
    DWORD drives = ::GetLogicalDrives();
    for (wchar_t letter = 'B'; letter <= 'Z'; ++letter)
        if (drives & (1u << (letter - 'A'))) unused.push_back(DriveText(letter));
    unused.push_back(L"Wipe List");
    AddBranch(L"Unused Space", unused);
}

void CCategoryTree::AddBranch(const wchar_t* root, const std::vector<std::wstring>& children) {
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
    if (const Category* c = FindCategory(text)) {
        if ((c->level == Level::Top) != top) return nullptr;
        image = c->image;
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
    if (const Category* c = FindCategory(text)) {
        app->OpenPage(c->page);
        return true;
    }
    if (DriveOfText(text)) {
        app->OpenPage(PageId::Drives);
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
