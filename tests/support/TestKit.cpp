#include "TestKit.h"

#include <sddl.h>
#include <shlwapi.h>

#include <chrono>
#include <cstring>

#include "RegKey.h"
#include "TraceCategories.h"

namespace testkit {

void Pump() {
    MSG m;
    CWinApp* app = AfxGetApp();
    while (::PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        if (m.message == WM_QUIT) continue;
        if (app && app->PreTranslateMessage(&m)) continue;
        ::TranslateMessage(&m);
        ::DispatchMessageW(&m);
    }
    CWnd::DeleteTempMap();
}

bool PumpUntil(const std::function<bool()>& cond, int timeoutMs) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        Pump();
        if (cond()) return true;
        if (std::chrono::steady_clock::now() > end) return cond();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

DialogAnswerer::DialogAnswerer(std::wstring caption, int answerId, int delayMs)
    : m_caption(std::move(caption)), m_answer(answerId), m_delayMs(delayMs), m_thread([this] { Run(); }) {}

DialogAnswerer::~DialogAnswerer() {
    m_stop = true;
    m_thread.join();
}

std::vector<SeenDialog> DialogAnswerer::Seen() {
    std::lock_guard<std::mutex> g(m_lock);
    return m_seen;
}

size_t DialogAnswerer::Count() { return Seen().size(); }

// Texts are read without sending messages: the user-interface thread may be waiting for the
// answerer to stop, or be busy in a modal loop, and a sent message would not be answered.
std::wstring TextOf(HWND h) {
    WCHAR w[2048] = L"";
    int n = ::InternalGetWindowText(h, w, 2048);
    return std::wstring(w, n > 0 ? n : 0);
}

HWND FindDialog(const std::wstring& caption, DWORD thread) {
    for (HWND h = nullptr; (h = ::FindWindowExW(nullptr, h, L"#32770", nullptr)) != nullptr;) {
        DWORD pid = 0, owner = ::GetWindowThreadProcessId(h, &pid);
        if (pid == ::GetCurrentProcessId() && (!thread || owner == thread) && ::IsWindowVisible(h) && TextOf(h) == caption)
            return h;
    }
    return nullptr;
}

void DialogAnswerer::Run() {
    for (HWND last = nullptr; !m_stop; ::Sleep(10)) {
        HWND found = FindDialog(m_caption);
        if (!found || found == last) continue;
        SeenDialog d{m_caption, TextOf(::GetDlgItem(found, 0xFFFF)), static_cast<DWORD>(::GetWindowLongPtrW(found, GWL_EXSTYLE))};
        for (HWND c = ::GetWindow(found, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
            if ((::GetWindowLongPtrW(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
                ::SendMessageTimeoutW(c, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 200, reinterpret_cast<PDWORD_PTR>(&d.icon));
        {
            std::lock_guard<std::mutex> g(m_lock);
            m_seen.push_back(d);
        }
        if (m_delayMs) ::Sleep(m_delayMs);
        HWND button = ::GetDlgItem(found, m_answer);
        bool yesOrNo = m_answer == IDYES || m_answer == IDNO;
        int answer = yesOrNo && !(button && ::IsWindowVisible(button)) ? IDOK : m_answer;
        ::PostMessageW(found, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(found, answer)));
        last = found;
    }
}

void RegSetBinary(HKEY root, const std::wstring& key, const std::wstring& name, const void* data, DWORD size, DWORD type) {
    ::SHSetValueW(root, key.c_str(), name.c_str(), type, data, size);  // makes the key where it is missing
}

void RegSetString(HKEY root, const std::wstring& key, const std::wstring& name, const std::wstring& value) {
    RegSetBinary(root, key, name, value.c_str(), static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)), REG_SZ);
}

void RegSetDword(HKEY root, const std::wstring& key, const std::wstring& name, DWORD value) {
    RegSetBinary(root, key, name, &value, sizeof value, REG_DWORD);
}

void RegDeleteTree(HKEY root, const std::wstring& key) { ::SHDeleteKeyW(root, key.c_str()); }

bool RegKeyExists(HKEY root, const std::wstring& key) {
    HKEY k = nullptr;
    return ::RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &k) == ERROR_SUCCESS && ::RegCloseKey(k) == ERROR_SUCCESS;
}

bool RegValueExists(HKEY root, const std::wstring& key, const std::wstring& name) {
    return ::SHGetValueW(root, key.c_str(), name.c_str(), nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

void PointCacheAt(const std::wstring& folder) {
    RegSetString(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", L"Cache", folder);
}

LockedKey::LockedKey(std::wstring key) : m_key(std::move(key)) { m_locked = SetDacl(L"D:(D;;0x2;;;WD)(A;;KA;;;WD)") == 0; }
LockedKey::~LockedKey() { SetDacl(L"D:(A;;KA;;;WD)"); }

LONG LockedKey::SetDacl(const wchar_t* sddl) {
    PSECURITY_DESCRIPTOR sd = nullptr;
    ::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &sd, nullptr);
    engine::RegKey key;
    LONG rc = key.Open(HKEY_CURRENT_USER, m_key, WRITE_DAC);
    if (rc == ERROR_SUCCESS) rc = ::RegSetKeySecurity(key.Get(), DACL_SECURITY_INFORMATION, sd);
    ::LocalFree(sd);
    return rc;
}

bool PutClipboard(UINT format, HANDLE data) {
    if (!::OpenClipboard(nullptr)) return false;
    ::EmptyClipboard();
    ::SetClipboardData(format, data);
    ::CloseClipboard();
    return true;
}

bool PutClipboardText(const wchar_t* text) {
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, (wcslen(text) + 1) * sizeof(wchar_t));
    wcscpy(static_cast<wchar_t*>(::GlobalLock(block)), text);
    ::GlobalUnlock(block);
    return PutClipboard(CF_UNICODETEXT, block);
}

COLORREF ClientPixel(HWND h, int x, int y) {
    ::UpdateWindow(h);
    HDC dc = ::GetDC(h);
    COLORREF c = ::GetPixel(dc, x, y);
    ::ReleaseDC(h, dc);
    return c;
}

std::wstring NumberedList::Name(int n) const {
    std::wstring name = pattern;
    return name.replace(name.find(L'*'), 1, std::to_wstring(n));
}

NumberedList NumberedListOf(const std::string& category) {
    const engine::TraceSource& s = engine::FindTraceDefinition(category)->sources.at(0);
    return {s.key, s.pattern, s.first, s.last};
}

}  // namespace testkit
