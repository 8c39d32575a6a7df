#include "WalkRules.h"

#include <cwctype>
#include <cstring>

namespace filewalk {

namespace {
constexpr unsigned long kHidden = 0x2, kDirectory = 0x10, kReparsePoint = 0x400;

bool EndsWith(const std::wstring& s, const wchar_t* tail) {
    size_t n = std::wcslen(tail);
    return s.size() >= n && s.compare(s.size() - n, n, tail) == 0;
}

bool IsDots(const wchar_t* name) { return std::wcscmp(name, L".") == 0 || std::wcscmp(name, L"..") == 0; }

std::wstring TrimDotsAndBlanks(std::wstring s) {
    while (!s.empty() && (s.back() == '.' || s.back() == ' ')) s.pop_back();
    return s;
}

std::wstring Upper(std::wstring s) {
    for (wchar_t& c : s) c = static_cast<wchar_t>(std::towupper(static_cast<unsigned char>(c)));
    return s;
}

bool IsSlash(wchar_t c) { return c == '\\' || c == '/'; }

// Splits at '\' and '/', dropping empty steps.
std::vector<std::wstring> Steps(const std::wstring& s) {
    std::vector<std::wstring> out;
    std::wstring cur;
    for (wchar_t c : s) {
        if (!IsSlash(c)) {
            cur += c;
        } else if (!cur.empty()) {
            out.push_back(cur);
            cur.clear();
        }
    }
    if (!cur.empty()) out.push_back(cur);
    return out;
}

bool StartsWithNoCase(const std::wstring& s, const wchar_t* head) {
    size_t n = std::wcslen(head);
    return s.size() >= n && Upper(s.substr(0, n)) == head;
}

// Whether a is b or a folder above b.
bool IsAtOrAbove(const PathSteps& a, const PathSteps& b) {
    if (a.root != b.root || a.steps.size() > b.steps.size()) return false;
    for (size_t i = 0; i < a.steps.size(); ++i)
        if (Upper(a.steps[i]) != Upper(b.steps[i])) return false;
    return true;
}
}  // namespace

std::wstring NameOf(const std::wstring& path) {
    size_t slash = path.rfind('\\');
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

bool FolderOf(const std::wstring& path, std::wstring& folder) {
    size_t slash = path.rfind('\\');
    if (slash == std::wstring::npos) return false;
    folder = path.substr(0, slash);
    return true;
}

std::wstring WithSlash(const std::wstring& folder) {
    return !folder.empty() && folder.back() == '\\' ? folder : folder + L"\\";
}

std::wstring LeftoverIn(const std::wstring& folder) { return folder + L"\\xxxxxxxx.xxx"; }

bool IsWalkable(const std::wstring& folder) {
    if (folder.size() < 3) return false;
    bool drive = std::iswalpha(static_cast<unsigned char>(folder[0])) && folder[1] == ':' && folder[2] == '\\';
    bool unc = folder[0] == '\\' && folder[1] == '\\' && folder[2] != '\\';
    return drive || unc;
}

bool IsListedCacheName(const std::wstring& name) { return !EndsWith(name, L"ini") && !EndsWith(name, L"dat"); }

bool IsListedCookieName(const std::wstring& name) { return !EndsWith(name, L"dat"); }

bool IsPlainName(const std::wstring& name) {
    for (unsigned char c : name)
        if (c < 0x20 || c == 0x7F || std::wcschr(L"\\/:*?\"<>|", c)) return false;
    return !TrimDotsAndBlanks(name).empty();
}

bool IsPlainPath(const std::wstring& path) {
    size_t start;
    if (path.size() >= 3 && std::iswalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' && path[2] == '\\') {
        start = 3;
    } else if (path.size() >= 3 && path[0] == '\\' && path[1] == '\\' && path[2] != '\\' && path[2] != '?' && path[2] != '.') {
        start = 2;
    } else {
        return false;
    }
    std::wstring step;
    for (size_t i = start; i <= path.size(); ++i) {
        if (i < path.size() && path[i] != '\\') {
            step += path[i];
        } else {
            if (!IsPlainName(step)) return false;
            step.clear();
        }
    }
    return true;
}

Entry Classify(unsigned long attributes, const wchar_t* name) {
    if (attributes & kReparsePoint) return Entry::Skip;
    if (attributes & kDirectory) return IsDots(name) ? Entry::Skip : Entry::Folder;
    return Entry::File;
}

bool CountsAsContent(unsigned long attributes, const wchar_t* name) {
    if (attributes & kDirectory) return !IsDots(name);
    return !(attributes & kHidden);
}

bool SplitFullPath(const std::wstring& path, PathSteps& out) {
    std::wstring p = path;
    if (StartsWithNoCase(p, L"\\\\?\\UNC\\")) p = L"\\\\" + p.substr(8);
    else if (StartsWithNoCase(p, L"\\\\?\\") || StartsWithNoCase(p, L"\\??\\")) p = p.substr(4);
    std::vector<std::wstring> steps;
    if (p.size() >= 3 && std::iswalpha(static_cast<unsigned char>(p[0])) && p[1] == ':' && IsSlash(p[2])) {
        out.root = Upper(p.substr(0, 2));
        steps = Steps(p.substr(2));
    } else if (p.size() >= 3 && IsSlash(p[0]) && IsSlash(p[1]) && !IsSlash(p[2]) && p[2] != '.' && p[2] != '?') {
        steps = Steps(p.substr(2));
        // A server without a share, or a server or share named only by dots.
        if (steps.size() < 2 || TrimDotsAndBlanks(steps[0]).empty() || TrimDotsAndBlanks(steps[1]).empty()) return false;
        out.root = Upper(L"\\\\" + steps[0] + L"\\" + steps[1]);
        steps.erase(steps.begin(), steps.begin() + 2);
    } else {
        return false;
    }
    out.steps.clear();
    for (const std::wstring& s : steps) {
        if (s == L".") continue;
        if (s == L"..") {
            if (!out.steps.empty()) out.steps.pop_back();
            continue;
        }
        std::wstring t = TrimDotsAndBlanks(s);
        if (t.empty()) return false;
        out.steps.push_back(t);
    }
    return true;
}

bool IsRefusedTopFolder(const std::wstring& folder, const std::vector<std::wstring>& known) {
    PathSteps top;
    if (!SplitFullPath(folder, top) || top.steps.empty()) return true;
    for (const std::wstring& k : known) {
        PathSteps guarded;
        if (SplitFullPath(k, guarded) && IsAtOrAbove(top, guarded)) return true;
    }
    return false;
}

}  // namespace filewalk
