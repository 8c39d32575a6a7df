#include "afxbase.h"

static HINSTANCE g_resourceHandle = nullptr;

HINSTANCE AfxGetInstanceHandle() { return GetModuleHandleA(nullptr); }

HINSTANCE AfxGetResourceHandle() {
    return g_resourceHandle ? g_resourceHandle : AfxGetInstanceHandle();
}

void AfxSetResourceHandle(HINSTANCE h) { g_resourceHandle = h; }

std::string AfxLoadString(UINT id) {
    // LoadStringA with a zero length gives a pointer to the resource itself (UTF-16, unterminated).
    const WCHAR* p = nullptr;
    int n = LoadStringW(AfxGetResourceHandle(), id, reinterpret_cast<LPWSTR>(&p), 0);
    if (n <= 0 || !p) return std::string();
    int len = WideCharToMultiByte(CP_ACP, 0, p, n, nullptr, 0, nullptr, nullptr);
    std::string s(len, '\0');
    WideCharToMultiByte(CP_ACP, 0, p, n, s.data(), len, nullptr, nullptr);
    return s;
}

std::string AfxExtractSubString(const std::string& full, int index, char sep) {
    size_t start = 0;
    for (int i = 0; i < index; ++i) {
        size_t next = full.find(sep, start);
        if (next == std::string::npos) return std::string();
        start = next + 1;
    }
    size_t end = full.find(sep, start);
    return full.substr(start, end == std::string::npos ? std::string::npos : end - start);
}
