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
    const char* text;
    int image;  // -1: none
    Level level;
    PageId page;
};

// Every category a node can name. The texts differ from each other, so the first equal text
// is the only one.
const Category kCategories[] = {
    {"Recycle Bin", 6, Level::Under, PageId::Recycle},
    {"System Registry Traces", 7, Level::Under, PageId::SystemRegistry},
    {"Microsoft Management Console", 32, Level::Under, PageId::MMConsole},
    {"Windows Media Player", 11, Level::Under, PageId::MediaPlayer},
    {"Paint", 9, Level::Under, PageId::Paint},
    {"Recent Documents", 21, Level::Under, PageId::RecentDocuments},
    {"Typed URLs", 8, Level::Under, PageId::TypedUrls},
    {"Cookies", 12, Level::Under, PageId::Cookies},
    {"History", 10, Level::Under, PageId::History},
    {"ClipBoard Content", 14, Level::Under, PageId::Clipboard},
    {"Windows Event Log", 24, Level::Under, PageId::EventLog},
    {"Unused Space", 25, Level::Top, PageId::UnusedSpace},
    {"Temporary Internet Files", 13, Level::Under, PageId::TempInternetFiles},
    {"Open File History", 23, Level::Under, PageId::OpenFileHistory},
    {"Internet", 26, Level::Top, PageId::Internet},
    {"System", 27, Level::Top, PageId::System},
    {"Administrator's Temporary Files", 31, Level::Under, PageId::AdminTempFiles},
    {"System Temporary Files", 29, Level::Under, PageId::SysTempFiles},
    {"Recent Network Folder", 30, Level::Under, PageId::RecentNetworkFolder},
    {"Application Traces", 28, Level::Top, PageId::ApplicationTraces},
    {"Acrobat Reader", 15, Level::Under, PageId::Acrobat},
    {"Microsoft Access", 22, Level::Under, PageId::Access},
    {"Microsoft Excel", 16, Level::Under, PageId::Excel},
    {"Microsoft PowerPoint", 18, Level::Under, PageId::PowerPoint},
    {"Microsoft Word", 19, Level::Under, PageId::Word},
    {"Winzip", 17, Level::Under, PageId::WinZip},
    {"Wipe List", -1, Level::Under, PageId::WipeList},
    {"WordPad", 20, Level::Under, PageId::WordPad},
    {"Most Frequently Used Registry", 34, Level::Under, PageId::MfuRegistry},
};

// The branches the tree shows besides "Internet" when all categories are asked for.
const std::vector<std::string> kInternetNodes{"Temporary Internet Files", "Cookies", "History", "Typed URLs"};
const std::vector<std::string> kSystemNodes{"Recycle Bin", "System Registry Traces", "Recent Documents",
                                            "Open File History", "Most Frequently Used Registry",
                                            "Administrator's Temporary Files", "System Temporary Files",
                                            "ClipBoard Content", "Windows Event Log", "Recent Network Folder"};
const std::vector<std::string> kApplicationNodes{"Acrobat Reader", "Microsoft Access", "Microsoft Excel",
                                                 "Microsoft Word", "Microsoft PowerPoint", "Paint",
                                                 "Windows Media Player", "Winzip", "WordPad",
                                                 "Microsoft Management Console"};

const Category* FindCategory(const std::string& text) {
    for (const Category& c : kCategories)
        if (text == c.text) return &c;
    return nullptr;
}

// The present drive (B to Z) whose drive text this is, or 0.
char DriveOfText(const std::string& text) {
    DWORD drives = ::GetLogicalDrives();
    for (int i = 1; i < 26; ++i)
        if ((drives & (1u << i)) && DriveText(static_cast<char>('A' + i)) == text) return static_cast<char>('A' + i);
    return 0;
}

int DriveImage(char letter) {
    char root[] = {letter, ':', '\\', '\0'};
    switch (::GetDriveTypeA(root)) {
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
            ::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
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
    AddBranch("Internet", kInternetNodes);
    if (!all) return;
    AddBranch("System", kSystemNodes);
    AddBranch("Application Traces", kApplicationNodes);
    std::vector<std::string> unused;
    DWORD drives = ::GetLogicalDrives();
    for (char letter = 'B'; letter <= 'Z'; ++letter)
        if (drives & (1u << (letter - 'A'))) unused.push_back(DriveText(letter));
    unused.push_back("Wipe List");
    AddBranch("Unused Space", unused);
}

void CCategoryTree::AddBranch(const char* root, const std::vector<std::string>& children) {
    HTREEITEM node = AddNode(root, TVI_ROOT);
    for (const std::string& text : children) AddNode(text, node);
    Expand(node, TVE_EXPAND);
    SortChildren(node);
}

HTREEITEM CCategoryTree::AddNode(const std::string& text, HTREEITEM parent) {
    bool top = parent == nullptr || parent == TVI_ROOT;
    HTREEITEM under = top ? TVI_ROOT : parent;
    for (HTREEITEM i = top ? GetRootItem() : GetChildItem(parent); i; i = GetNextSiblingItem(i))
        if (GetItemText(i) == text) return i;
    int image = -1;
    if (const Category* c = FindCategory(text)) {
        if ((c->level == Level::Top) != top) return nullptr;
        image = c->image;
    } else {
        char drive = top ? 0 : DriveOfText(text);
        if (!drive) return nullptr;
        image = DriveImage(drive);
    }
    if (image < 0) return InsertItem(text, under);
    return InsertItem(text, image, image, under);
}

bool CCategoryTree::OpenCategory(const std::string& text) {
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
    std::string text = GetItemText(item);
    LastChosenText() = text;
    OpenCategory(text);
}

void CCategoryTree::OnLButtonDown(UINT, CPoint point) {
    if (HTREEITEM item = HitTest(point)) ChooseNode(item);
}

void CCategoryTree::OnRButtonDown(UINT, CPoint) {}
