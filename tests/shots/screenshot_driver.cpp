// Drives the program through its menus and category tree for the README pictures. It runs the
// real application object with the real resources, seeds a few traces in the screenshot prefix,
// and at each picture writes C:\shots\<name>.want holding the rectangle to keep; it goes on once
// scripts/screenshots.sh has taken the picture and removed the file.
// It refuses to run anywhere but in a prefix named test-prefix inside a build folder.
#include <atomic>
#include <cstdio>
#include <cstring>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "AppHarness.h"
#include "CategoryTree.h"
#include "LastChosenText.h"
#include "MainFrm.h"
#include "TestKit.h"
#include "TreeBar.h"
#include "afxwin.h"
#include "resource.h"

using namespace testkit;

namespace {
const char* const kShotFolder = "C:\\shots";
const char* const kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
std::atomic<bool> g_done{false};
std::mutex g_lock;
std::function<void()> g_uiTask;  // one call for the user-interface thread to make
std::atomic<bool> g_uiTaskDone{false};

// Runs fn on the user-interface thread, which owns every window, and waits for it.
void OnUiThread(std::function<void()> fn) {
    {
        std::lock_guard<std::mutex> hold(g_lock);
        g_uiTask = std::move(fn);
        g_uiTaskDone = false;
    }
    while (!g_uiTaskDone) ::Sleep(20);
}

void RunUiTask() {
    std::function<void()> task;
    {
        std::lock_guard<std::mutex> hold(g_lock);
        task.swap(g_uiTask);
    }
    if (!task) return;
    task();
    g_uiTaskDone = true;
}

HWND Main() { return AfxGetMainWnd() ? AfxGetMainWnd()->m_hWnd : nullptr; }

// Waits (on the driver thread) for the user-interface thread to handle what was posted so far.
void Settle(int ms = 400) {
    ::Sleep(ms);
    ::SendMessageTimeoutA(Main(), WM_NULL, 0, 0, SMTO_NORMAL, 5000, nullptr);
}

void Shot(const std::string& name, HWND area) {
    Settle();
    RECT r{};
    ::GetWindowRect(area, &r);
    std::string want = std::string(kShotFolder) + "\\" + name + ".want";
    if (FILE* f = fopen(want.c_str(), "w")) {
        fprintf(f, "%ldx%ld+%ld+%ld\n", r.right - r.left, r.bottom - r.top, r.left, r.top);
        fclose(f);
    }
    for (int i = 0; i < 600 && ::GetFileAttributesA(want.c_str()) != INVALID_FILE_ATTRIBUTES; ++i) ::Sleep(100);
}

// The text of a menu item without its mnemonic marker.
std::string PlainMenuText(HMENU menu, int pos) {
    char text[128] = "";
    ::GetMenuStringA(menu, pos, text, sizeof text, MF_BYPOSITION);
    std::string s;
    for (const char* p = text; *p && *p != '\t'; ++p)
        if (*p != '&') s += *p;
    return s;
}

// Chooses a menu command of the main window by its text, as a user would; false when absent.
bool ChooseMenu(const std::string& text, bool onlyWhenUnchecked = true) {
    HMENU bar = ::GetMenu(Main());
    for (int i = 0; bar && i < ::GetMenuItemCount(bar); ++i) {
        HMENU sub = ::GetSubMenu(bar, i);
        for (int j = 0; sub && j < ::GetMenuItemCount(sub); ++j) {
            if (PlainMenuText(sub, j) != text) continue;
            if (onlyWhenUnchecked && (::GetMenuState(sub, j, MF_BYPOSITION) & MF_CHECKED)) return true;
            ::SendMessageA(Main(), WM_COMMAND, MAKEWPARAM(::GetMenuItemID(sub, j), 0), 0);
            return true;
        }
    }
    return false;
}

HTREEITEM FindNode(CTreeCtrl* tree, HTREEITEM first, const std::string& prefix) {
    for (HTREEITEM i = first; i; i = tree->GetNextSiblingItem(i)) {
        if (tree->GetItemText(i).compare(0, prefix.size(), prefix) == 0) return i;
        if (HTREEITEM hit = FindNode(tree, tree->GetChildItem(i), prefix)) return hit;
    }
    return nullptr;
}

// Clicks the tree node whose text starts with prefix; without such a node (the short tree),
// does what the click does with that text: keeps it as the last chosen text and opens its page.
void OpenNode(const std::string& prefix, const std::string& fallback) {
    CCategoryTree* tree = dynamic_cast<CMainFrame*>(AfxGetMainWnd())->TreeBar().Tree();
    if (HTREEITEM item = FindNode(tree, tree->GetRootItem(), prefix)) {
        tree->SendMessage(TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
        RECT r{};
        memcpy(&r, &item, sizeof item);
        tree->SendMessage(TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r));
        LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        tree->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
        tree->SendMessage(WM_LBUTTONUP, 0, at);
    } else {
        OnUiThread([&] {
            LastChosenText() = fallback;
            CCategoryTree::OpenCategory(fallback);
        });
    }
    Settle(1500);
    tree->SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 0), 0);  // a long node chosen scrolls it sideways
    Settle(200);
}

void CloseAllPagesNow() {
    OnUiThread([] { CloseAllPages(); });
    Settle();
}

// The visible page frame on top of the MDI client, or the client itself.
HWND ActivePage() {
    HWND client = ::FindWindowExA(Main(), nullptr, "MDIClient", nullptr);
    HWND page = reinterpret_cast<HWND>(::SendMessageA(client, WM_MDIGETACTIVE, 0, 0));
    return page && ::IsWindowVisible(page) ? page : client;
}

HWND FindChild(HWND parent, const std::string& text) {
    for (HWND c = ::GetWindow(parent, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        if (TextOf(c) == text) return c;
        if (HWND hit = FindChild(c, text)) return hit;
    }
    return nullptr;
}

void SeedTraces() {
    ::CreateDirectoryA("C:\\shots\\cache", nullptr);
    for (int i = 1; i <= 40; ++i) {
        char name[96];
        snprintf(name, sizeof name, "C:\\shots\\cache\\page%02d[1].htm", i);
        WriteFile(name, "<html></html>");
    }
    RegSetString(HKEY_CURRENT_USER, kShellFolders, "Cache", "C:\\shots\\cache");
    const std::string paint = "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Paint\\Recent File List";
    const char* files[] = {"C:\\Users\\Public\\Pictures\\holiday.bmp", "C:\\Users\\Public\\Pictures\\plan.png",
                           "C:\\Users\\Public\\Pictures\\sketch.jpg"};
    for (int i = 0; i < 3; ++i) RegSetString(HKEY_CURRENT_USER, paint, "File" + std::to_string(i + 1), files[i]);
    const std::string typed = "Software\\Microsoft\\Internet Explorer\\TypedURLs";
    RegSetString(HKEY_CURRENT_USER, typed, "url1", "http://www.example.com/");
    RegSetString(HKEY_CURRENT_USER, typed, "url2", "http://news.example.org/today");
}

// Every category page once, for checking the looks of all pages (scripts/screenshots.sh --all).
void EveryPage() {
    const char* pages[] = {"Internet", "Temporary Internet Files", "Cookies", "History", "Typed URLs", "System",
                           "Administrator's Temporary Files", "System Temporary Files", "ClipBoard Content",
                           "Windows Event Log", "Recycle Bin", "Recent Documents", "Recent Network Folder",
                           "System Registry Traces", "Open File History", "Most Frequently Used Registry",
                           "Application Traces", "Acrobat Reader", "Microsoft Access", "Microsoft Excel",
                           "Microsoft PowerPoint", "Microsoft Word", "Winzip", "WordPad", "Paint",
                           "Windows Media Player", "Microsoft Management Console", "Unused Space", "Wipe List"};
    int n = 0;
    for (const char* page : pages) {
        OpenNode(page, page);
        char name[16];
        snprintf(name, sizeof name, "page-%02d", ++n);
        Shot(name, Main());
        CloseAllPagesNow();
    }
}

void Script(bool everyPage) {
    while (!Main() || !::IsWindowVisible(Main())) ::Sleep(100);
    ::MoveWindow(Main(), 0, 0, 1000, 700, TRUE);
    SeedTraces();
    if (everyPage) {
        ChooseMenu("All Categories");
        EveryPage();
        g_done = true;
        return;
    }
    ChooseMenu("All Categories");
    Settle(1000);
    Shot("main-window", Main());

    OpenNode("Internet", "Internet");
    Shot("internet-summary", Main());
    CloseAllPagesNow();

    OpenNode("Temporary Internet Files", "Temporary Internet Files");
    if (HWND erase = FindChild(ActivePage(), "ERASE")) {
        ::PostMessageA(::GetParent(erase), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(erase), BN_CLICKED),
                       reinterpret_cast<LPARAM>(erase));
        for (int i = 0; i < 50 && !::FindWindowA("#32770", "Vivazo"); ++i) ::Sleep(100);
        ::Sleep(2500);
        Shot("cache-erasing", Main());
        if (HWND progress = ::FindWindowA("#32770", "Vivazo"))
            ::PostMessageA(progress, WM_COMMAND, MAKEWPARAM(IDC_PROGRESS_CANCEL, BN_CLICKED), 0);
        for (int i = 0; i < 50 && ::FindWindowA("#32770", "Vivazo"); ++i) ::Sleep(100);
    }
    CloseAllPagesNow();

    OpenNode("System", "System");
    Shot("system-summary", Main());
    CloseAllPagesNow();

    OpenNode("Paint", "Paint");
    Shot("recent-files-paint", Main());
    CloseAllPagesNow();

    char label[64] = "";
    ::GetVolumeInformationA("C:\\", label, sizeof label, nullptr, nullptr, nullptr, nullptr, 0);
    OpenNode("C:", label[0] ? std::string("C: [") + label + "]" : "C:");
    Shot("drives", Main());
    CloseAllPagesNow();
    g_done = true;
}
}  // namespace

int main(int argc, char** argv) {
    char prefix[1024] = "";
    ::GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof prefix);
    if (!strstr(prefix, "/test-prefix")) {
        fprintf(stderr, "refusing to run outside a build folder's test prefix (WINEPREFIX=%s)\n", prefix);
        return 2;
    }
    ::CreateDirectoryA(kShotFolder, nullptr);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (!StartApp()) return 1;
    std::thread script(Script, argc > 1 && strcmp(argv[1], "--all") == 0);
    while (!g_done) {
        Pump();
        RunUiTask();
        AfxGetApp()->OnIdle(0);
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    script.join();
    return 0;
}
