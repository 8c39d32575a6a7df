// Drives the program through its menus and category tree for the README pictures. It runs the
// real application object with the real resources, seeds a few traces in the screenshot prefix,
// and at each picture writes C:\shots\<name>.want holding the rectangle to keep; it goes on once
// scripts/screenshots.sh has taken the picture and removed the file.
// It refuses to run anywhere but in a build folder's test prefix.
#include <atomic>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "AppHarness.h"
#include "CategoryTree.h"
#include "LastChosenText.h"
#include "MainFrm.h"
#include "Pages.h"
#include "TreeBar.h"
#include "resource.h"

using namespace testkit;

namespace {
const wchar_t* const kShotFolder = L"C:\\shots";
std::atomic<bool> g_done{false};
HWND g_runner = nullptr;  // a message-only window of the user-interface thread that runs calls sent to it

// Runs fn on the user-interface thread, which owns every window, and waits for it.
void OnUiThread(std::function<void()> fn) { ::SendMessageW(g_runner, WM_APP, 0, reinterpret_cast<LPARAM>(&fn)); }

LRESULT CALLBACK RunnerProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != WM_APP) return ::DefWindowProcW(h, msg, wp, lp);
    (*reinterpret_cast<std::function<void()>*>(lp))();
    return 0;
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

// Chooses a menu command of the main window by its text, as a user would, unless it is checked
// already; false when absent.
bool ChooseMenu(const std::wstring& text) {
    HMENU bar = ::GetMenu(Main());
    for (int i = 0; bar && i < ::GetMenuItemCount(bar); ++i) {
        HMENU sub = ::GetSubMenu(bar, i);
        for (int j = 0; sub && j < ::GetMenuItemCount(sub); ++j) {
            if (PlainMenuText(sub, j) != text) continue;
            if (::GetMenuState(sub, j, MF_BYPOSITION) & MF_CHECKED) return true;
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
    for (int i = 101; i <= 140; ++i)
        WriteFile(L"C:\\shots\\cache\\page" + std::to_wstring(i).substr(1) + L"[1].htm", L"<html></html>");
    // Names in three scripts, for the page that lists the temporary files (TMP of this process).
    ::CreateDirectoryW(L"C:\\shots\\temp", nullptr);
    for (const wchar_t* name : {L"отчёт за май.docx", L"Фотографии отпуска.zip", L"履歴書.txt", L"会議メモ 2026.xlsx",
                                L"Łódź – plan miasta.pdf", L"Crème brûlée, recette.txt", L"Ærøskøbing.jpg"})
        WriteFile(std::wstring(L"C:\\shots\\temp\\") + name, L"x");
    ::SetEnvironmentVariableW(L"TMP", L"C:\\shots\\temp");
    ::SetEnvironmentVariableW(L"TEMP", L"C:\\shots\\temp");
    PointCacheAt(L"C:\\shots\\cache");
    const struct { const wchar_t *key, *name; std::vector<const wchar_t*> values; } lists[] = {
        {L"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Paint\\Recent File List", L"File",
         {L"C:\\Users\\Public\\Pictures\\holiday.bmp", L"C:\\Users\\Public\\Pictures\\plan.png", L"C:\\Users\\Public\\Pictures\\sketch.jpg"}},
        {L"Software\\Microsoft\\Internet Explorer\\TypedURLs", L"url", {L"http://www.example.com/", L"http://news.example.org/today"}},
        {L"Software\\Microsoft\\Office\\16.0\\Word\\File MRU", L"Item ",
         {L"[F00000000][T01DA0B1C2D3E4F50][O00000000]*C:\\Users\\Public\\Documents\\Offer 2026.docx",
          L"[F00000000][T01DA0B1C2D3E4F51][O00000000]*C:\\Users\\Public\\Documents\\Минуты.docx"}},
        {L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\TypedPaths", L"url",
         {L"C:\\Users\\Public\\Documents\\Taxes", L"\\\\fileserver\\projects"}}};
    for (const auto& l : lists)
        for (size_t i = 0; i < l.values.size(); ++i) RegSetString(HKEY_CURRENT_USER, l.key, l.name + std::to_wstring(i + 1), l.values[i]);
}

// Every category page once, for checking the looks of all pages (scripts/screenshots.sh --all).
void EveryPage() {
    int n = 100;
    for (const pages::PageRow& row : pages::Rows()) {
        const std::wstring page = pages::TextOf(row);  // the drives page has no text of its own
        if (page.empty()) continue;
        OpenNode(page, page);
        Shot(L"page-" + std::to_wstring(++n).substr(1), Main());  // page-01, page-02, ...
        CloseAllPagesNow();
    }
}

// Waits up to five seconds for cond.
bool WaitFor(const std::function<bool()>& cond) {
    for (int i = 0; i < 50 && !cond(); ++i) ::Sleep(100);
    return cond();
}

// Starts the cache page's erase and pictures it under way; cancelled, it ends with its report,
// which is answered as a user would.
void EraseUnderWay() {
    HWND erase = FindChild(ActivePage(), L"ERASE");
    if (!erase) return;
    ::PostMessageW(::GetParent(erase), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(erase), BN_CLICKED), reinterpret_cast<LPARAM>(erase));
    WaitFor([] { return ::FindWindowW(L"#32770", L"Vivazo") != nullptr; });
    ::Sleep(2500);
    Shot(L"cache-erasing", Main());
    if (HWND progress = ::FindWindowW(L"#32770", L"Vivazo"))
        ::PostMessageW(progress, WM_COMMAND, MAKEWPARAM(IDC_PROGRESS_CANCEL, BN_CLICKED), 0);
    WaitFor([] { return !::FindWindowW(L"#32770", L"Vivazo"); });
    HWND box = nullptr;
    if (WaitFor([&] { return (box = ::FindWindowW(L"#32770", L"Corvane-Sweepmere")) != nullptr; })) {
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        WaitFor([&] { return !::IsWindow(box); });
    }
}

void Script(bool everyPage, bool highDpi) {
    while (!Main() || !::IsWindowVisible(Main())) ::Sleep(100);
    ::MoveWindow(Main(), 0, 0, 1000, 700, TRUE);
    SeedTraces();
    ChooseMenu(L"All Categories");
    if (highDpi) {  // at 150% the window takes the whole screen, with every category and a summary open
        ::MoveWindow(Main(), 0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN), TRUE);
        OpenNode(L"System", L"System");
        Settle(1000);
        Shot(L"main-window-144dpi", Main());
    } else if (everyPage) {
        EveryPage();
    } else {
        Settle(1000);
        Shot(L"main-window", Main());
        wchar_t label[64] = L"";
        ::GetVolumeInformationW(L"C:\\", label, ARRAYSIZE(label), nullptr, nullptr, nullptr, nullptr, 0);
        const std::wstring drive = label[0] ? std::wstring(L"C: [") + label + L"]" : L"C:";
        const wchar_t* const shots[][2] = {{L"Internet", L"internet-summary"}, {L"Temporary Internet Files", L""},
                                           {L"System", L"system-summary"},
                                           {L"Administrator's Temporary Files", L"names-in-three-scripts"},
                                           {L"Paint", L"recent-files-paint"}, {L"C:", L"drives"}};
        for (const auto& shot : shots) {
            OpenNode(shot[0], shot[0] == std::wstring(L"C:") ? drive : shot[0]);
            if (!*shot[1]) EraseUnderWay();
            else Shot(shot[1], Main());
            CloseAllPagesNow();
        }
    }
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
    g_runner = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ::SetWindowLongPtrW(g_runner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RunnerProc));
    const std::string mode = argc > 1 ? argv[1] : "";
    std::thread script(Script, mode == "--all", mode == "--hidpi");
    while (!g_done) {
        Pump();
        AfxGetApp()->OnIdle(0);
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    script.join();
    return 0;
}
