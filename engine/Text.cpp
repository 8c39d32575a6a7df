#include "Text.h"

#include <sddl.h>
#include <shlobj.h>

#include "Handles.h"

namespace engine {

std::string Utf8(const std::wstring& wide) {
    if (wide.empty()) return {};
    int n = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &s[0], n, nullptr, nullptr);
    return s;
}

std::wstring FromUtf8(const std::string& utf8) {
    if (utf8.empty()) return {};
    int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &w[0], n);
    return w;
}

std::wstring ErrorText(DWORD error) {
    wchar_t* text = nullptr;
    ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                     error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring why = text ? text : L"error " + std::to_wstring(error);
    if (text) ::LocalFree(text);
    while (!why.empty() && (why.back() == L'\n' || why.back() == L'\r' || why.back() == L' ')) why.pop_back();
    return why;
}

std::wstring Reason(const std::wstring& what, DWORD error) { return what + L": " + ErrorText(error); }

bool SameNoCase(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

std::wstring KnownFolderPath(const GUID& id, DWORD flags) {
    PWSTR raw = nullptr;
    const HRESULT hr = ::SHGetKnownFolderPath(id, flags, nullptr, &raw);
    TaskMem<wchar_t> path(raw);
    return SUCCEEDED(hr) && path ? std::wstring(path.get()) : std::wstring();
}

std::wstring UserSidText() {
    Handle token;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.Put())) return {};
    unsigned char user[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
    DWORD got = 0;
    const bool known = ::GetTokenInformation(token.Get(), TokenUser, user, sizeof user, &got);
    wchar_t* sid = nullptr;
    if (!known || !::ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(user)->User.Sid, &sid)) return {};
    std::wstring text = sid;
    ::LocalFree(sid);
    return text;
}

}  // namespace engine
