// Drives the program through its menus and category tree for the README pictures. It runs the
// real application object with the real resources, seeds a few traces in the screenshot prefix,
// and at each picture writes C:\shots\<name>.want holding the rectangle to keep; it goes on once
// scripts/screenshots.sh has taken the picture and removed the file.
// It refuses to run anywhere but in a build folder's test prefix.
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
#include "Settings.h"
#include "LastChosenText.h"
#include "MainFrm.h"
#include "Pages.h"
#include "TestKit.h"
#include "TreeBar.h"
#include "afxwin.h"
#include "resource.h"

using namespace testkit;

namespace {
const wchar_t* const kShotFolder = L"C:\\shots";
const wchar_t* const kShellFolders = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
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
    ::SendMessageTimeoutW(Main(), WM_NULL, 0, 0, SMTO_NORMAL, 5000, nullptr);
}

void Shot(const std::wstring& name, HWND area) {
    Settle();
    RECT r{};
    ::GetWindowRect(area, &r);
    std::wstring want = std::wstring(kShotFolder) + L"\\" + name + L".want";
    if (FILE* f = _wfopen(want.c_str(), L"w")) {
        fwprintf(f, L"%ldx%ld+%ld+%ld\n", r.right - r.left, r.bottom - r.top, r.left, r.top);
        fclose(f);
    }
    for (int i = 0; i < 600 && ::GetFileAttributesW(want.c_str()) != INVALID_FILE_ATTRIBUTES; ++i) ::Sleep(100);
}

// The text of a menu item without its mnemonic marker.
std::wstring PlainMenuText(HMENU menu, int pos) {
    wchar_t text[128] = L"";
    ::GetMenuStringW(menu, pos, text, ARRAYSIZE(text), MF_BYPOSITION);
    std::wstring s;
    for (const wchar_t* p = text; *p && *p != '\t'; ++p)
        if (*p != '&') s += *p;
    return s;
}

// Chooses a menu command of the main window by its text, as a user would; false when absent.
bool ChooseMenu(const std::wstring& text, bool onlyWhenUnchecked = true) {
    HMENU bar = ::GetMenu(Main());
    for (int i = 0; bar && i < ::GetMenuItemCount(bar); ++i) {
        HMENU sub = ::GetSubMenu(bar, i);
        for (int j = 0; sub && j < ::GetMenuItemCount(sub); ++j) {
            if (PlainMenuText(sub, j) != text) continue;
            if (onlyWhenUnchecked && (::GetMenuState(sub, j, MF_BYPOSITION) & MF_CHECKED)) return true;
            ::SendMessageW(Main(), WM_COMMAND, MAKEWPARAM(::GetMenuItemID(sub, j), 0), 0);
            return true;
        }
    }
    return false;
}

HTREEITEM FindNode(CTreeCtrl* tree, HTREEITEM first, const std::wstring& prefix) {
    for (HTREEITEM i = first; i; i = tree->GetNextSiblingItem(i)) {
        if (tree->GetItemText(i).compare(0, prefix.size(), prefix) == 0) return i;
        if (HTREEITEM hit = FindNode(tree, tree->GetChildItem(i), prefix)) return hit;
    }
    return nullptr;
}

// Clicks the tree node whose text starts with prefix; without such a node (the short tree),
// does what the click does with that text: keeps it as the last chosen text and opens its page.
void OpenNode(const std::wstring& prefix, const std::wstring& fallback) {
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
            const char* key = pages::kDrives;  // a drive's text is the one that names no page
            for (const pages::PageRow& r : pages::Rows())
                if (pages::TextOf(r) == fallback) key = r.key;
            TheApp()->OpenPage(key);
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
    HWND client = ::FindWindowExW(Main(), nullptr, L"MDIClient", nullptr);
    HWND page = reinterpret_cast<HWND>(::SendMessageW(client, WM_MDIGETACTIVE, 0, 0));
    return page && ::IsWindowVisible(page) ? page : client;
}

HWND FindChild(HWND parent, const std::wstring& text) {
    for (HWND c = ::GetWindow(parent, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        if (TextOf(c) == text) return c;
        if (HWND hit = FindChild(c, text)) return hit;
    }
    return nullptr;
}

void SeedTraces() {
    ::CreateDirectoryW(L"C:\\shots\\cache", nullptr);
    for (int i = 1; i <= 40; ++i) {
        wchar_t name[96];
        swprintf(name, ARRAYSIZE(name), L"C:\\shots\\cache\\page%02d[1].htm", i);
        WriteFile(name, L"<html></html>");
    }
    RegSetString(HKEY_CURRENT_USER, kShellFolders, L"Cache", L"C:\\shots\\cache");
    const std::wstring paint = L"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Paint\\Recent File List";
    const wchar_t* files[] = {L"C:\\Users\\Public\\Pictures\\holiday.bmp", L"C:\\Users\\Public\\Pictures\\plan.png",
                           L"C:\\Users\\Public\\Pictures\\sketch.jpg"};
    for (int i = 0; i < 3; ++i) RegSetString(HKEY_CURRENT_USER, paint, L"File" + std::to_wstring(i + 1), files[i]);
    // Names in three scripts, for the page that lists the temporary files (TMP of this process).
    ::CreateDirectoryW(L"C:\\shots\\temp", nullptr);
    for (const wchar_t* name : {L"отчёт за май.docx", L"Фотографии отпуска.zip", L"履歴書.txt", L"会議メモ 2026.xlsx",
                                L"Łódź – plan miasta.pdf", L"Crème brûlée, recette.txt", L"Ærøskøbing.jpg"})
        WriteFile(std::wstring(L"C:\\shots\\temp\\") + name, L"x");
    ::SetEnvironmentVariableW(L"TMP", L"C:\\shots\\temp");
    ::SetEnvironmentVariableW(L"TEMP", L"C:\\shots\\temp");
    const std::wstring typed = L"Software\\Microsoft\\Internet Explorer\\TypedURLs";
    RegSetString(HKEY_CURRENT_USER, typed, L"url1", L"http://www.example.com/");
    RegSetString(HKEY_CURRENT_USER, typed, L"url2", L"http://news.example.org/today");
    const std::wstring word = L"Software\\Microsoft\\Office\\16.0\\Word\\File MRU";
    RegSetString(HKEY_CURRENT_USER, word, L"Item 1", L"[F00000000][T01DA0B1C2D3E4F50][O00000000]*C:\\Users\\Public\\Documents\\Offer 2026.docx");
    RegSetString(HKEY_CURRENT_USER, word, L"Item 2", L"[F00000000][T01DA0B1C2D3E4F51][O00000000]*C:\\Users\\Public\\Documents\\Минуты.docx");
    const std::wstring paths = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\TypedPaths";
    RegSetString(HKEY_CURRENT_USER, paths, L"url1", L"C:\\Users\\Public\\Documents\\Taxes");
    RegSetString(HKEY_CURRENT_USER, paths, L"url2", L"\\\\fileserver\\projects");
}

// Every category page once, for checking the looks of all pages (scripts/screenshots.sh --all).
void EveryPage() {
    int n = 0;
    for (const pages::PageRow& row : pages::Rows()) {
        const std::wstring page = pages::TextOf(row);  // the drives page has no text of its own
        if (page.empty()) continue;
        OpenNode(page, page);
        wchar_t name[16];
        swprintf(name, ARRAYSIZE(name), L"page-%02d", ++n);
        Shot(name, Main());
        CloseAllPagesNow();
    }
}

void Script(bool everyPage, bool highDpi) {
    while (!Main() || !::IsWindowVisible(Main())) ::Sleep(100);
    ::MoveWindow(Main(), 0, 0, 1000, 700, TRUE);
    SeedTraces();
    // At 150% the window takes the whole screen, with every category and a summary open.
    if (highDpi) {
        ::MoveWindow(Main(), 0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN), TRUE);
        if (!settings::AllCategories()) ChooseMenu(L"All Categories");
        OpenNode(L"System", L"System");
        Settle(1000);
        Shot(L"main-window-144dpi", Main());
        g_done = true;
        return;
    }
    if (everyPage) {
        ChooseMenu(L"All Categories");
        EveryPage();
        g_done = true;
        return;
    }
    ChooseMenu(L"All Categories");
    Settle(1000);
    Shot(L"main-window", Main());

    OpenNode(L"Internet", L"Internet");
    Shot(L"internet-summary", Main());
    CloseAllPagesNow();

    OpenNode(L"Temporary Internet Files", L"Temporary Internet Files");
    if (HWND erase = FindChild(ActivePage(), L"ERASE")) {
        ::PostMessageW(::GetParent(erase), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(erase), BN_CLICKED),
                       reinterpret_cast<LPARAM>(erase));
        for (int i = 0; i < 50 && !::FindWindowW(L"#32770", L"Vivazo"); ++i) ::Sleep(100);
        ::Sleep(2500);
        Shot(L"cache-erasing", Main());
        if (HWND progress = ::FindWindowW(L"#32770", L"Vivazo"))
            ::PostMessageW(progress, WM_COMMAND, MAKEWPARAM(IDC_PROGRESS_CANCEL, BN_CLICKED), 0);
        for (int i = 0; i < 50 && ::FindWindowW(L"#32770", L"Vivazo"); ++i) ::Sleep(100);
        // A cancelled erase ends with its report: the box is answered as a user would.
        HWND box = nullptr;
        for (int i = 0; i < 50 && !(box = ::FindWindowW(L"#32770", L"Corvane-Sweepmere")); ++i) ::Sleep(100);
        if (box) ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        for (int i = 0; i < 50 && box && ::IsWindow(box); ++i) ::Sleep(100);
    }
    CloseAllPagesNow();

    OpenNode(L"System", L"System");
    Shot(L"system-summary", Main());
    CloseAllPagesNow();

    OpenNode(L"Administrator's Temporary Files", L"Administrator's Temporary Files");
    Shot(L"names-in-three-scripts", Main());
    CloseAllPagesNow();

    OpenNode(L"Paint", L"Paint");
    Shot(L"recent-files-paint", Main());
    CloseAllPagesNow();

    wchar_t label[64] = L"";
    ::GetVolumeInformationW(L"C:\\", label, ARRAYSIZE(label), nullptr, nullptr, nullptr, nullptr, 0);
    OpenNode(L"C:", label[0] ? std::wstring(L"C: [") + label + L"]" : L"C:");
    Shot(L"drives", Main());
    CloseAllPagesNow();
    g_done = true;
}
}  // namespace

int main(int argc, char** argv) {
    if (!InsideTestPrefix()) return 2;
    ::CreateDirectoryW(kShotFolder, nullptr);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (!StartApp()) return 1;
    const std::string mode = argc > 1 ? argv[1] : "";
    std::thread script(Script, mode == "--all", mode == "--hidpi");
    while (!g_done) {
        Pump();
        RunUiTask();
        AfxGetApp()->OnIdle(0);
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    script.join();
    return 0;
}
