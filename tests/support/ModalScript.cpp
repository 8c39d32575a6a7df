#include "ModalScript.h"

#include "TestKit.h"

#include <map>

namespace testkit {
namespace {
struct Pending {
    std::wstring caption;
    const std::function<void(HWND)>* script;
    bool ran = false;
};
thread_local std::map<UINT_PTR, Pending*> t_pending;

void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD) {
    auto it = t_pending.find(id);
    if (it == t_pending.end() || it->second->ran) return;
    HWND found = FindDialog(it->second->caption, ::GetCurrentThreadId());
    if (!found) return;
    it->second->ran = true;
    ::KillTimer(nullptr, id);
    (*it->second->script)(found);
    if (::IsWindow(found) && ::IsWindowVisible(found)) ::PostMessageW(found, WM_COMMAND, IDCANCEL, 0);
}
}  // namespace

bool WithModalDialog(const std::wstring& caption, const std::function<void(HWND)>& script,
                     const std::function<void()>& open) {
    Pending p{caption, &script};
    UINT_PTR id = ::SetTimer(nullptr, 0, 10, OnTimer);
    t_pending[id] = &p;
    open();
    if (!p.ran) ::KillTimer(nullptr, id);
    t_pending.erase(id);
    return p.ran;
}

void Click(HWND dialog, int id) { ::SendMessageW(::GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

void TypeText(HWND dialog, int id, const std::wstring& text) {
    HWND edit = ::GetDlgItem(dialog, id);
    ::SendMessageW(edit, EM_SETSEL, 0, -1);
    ::SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

std::wstring ItemText(HWND dialog, int id) {
    wchar_t text[1024] = L"";
    ::GetDlgItemTextW(dialog, id, text, ARRAYSIZE(text));
    return text;
}
}  // namespace testkit
