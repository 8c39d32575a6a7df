#include "PathRules.h"

#include <cwchar>

namespace engine {

namespace {
// Case folding for the letters that path names use, without the system's tables: ASCII,
// Latin-1, Latin Extended-A, Greek and Cyrillic. The file system folds more, which only makes
// the guard refuse less than it could in scripts it does not know; the known folders come from
// the system in its own case, as the final paths do.
wchar_t Fold(wchar_t c) {
    if (c >= L'a' && c <= L'z') return static_cast<wchar_t>(c - 32);
    if (c < 0x80) return c;
    if ((c >= 0xE0 && c <= 0xFE && c != 0xF7) || (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) || (c >= 0x430 && c <= 0x44F))
        return static_cast<wchar_t>(c - 0x20);
    if (c >= 0x450 && c <= 0x45F) return static_cast<wchar_t>(c - 0x50);
    if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149 && c != 0x17F) {
        bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        if (oddUpper ? (c % 2 == 0) : (c % 2 == 1)) return static_cast<wchar_t>(c - 1);
    }
    return c;
}

std::wstring Folded(std::wstring s) {
    for (wchar_t& c : s) c = Fold(c);
    return s;
}

bool IsSlash(wchar_t c) { return c == L'\\' || c == L'/'; }

bool IsDotsAndBlanks(const std::wstring& s) {
    for (wchar_t c : s)
        if (c != L'.' && c != L' ') return false;
    return true;
}

// Splits at '\' or '/', keeping empty parts.
std::vector<std::wstring> Parts(const std::wstring& s) {
    std::vector<std::wstring> parts(1);
    for (wchar_t c : s) {
        if (IsSlash(c))
            parts.emplace_back();
        else
            parts.back() += c;
    }
    return parts;
}

bool StartsWithNoCase(const std::wstring& s, const std::wstring& prefix) {
    return s.size() >= prefix.size() && Folded(s.substr(0, prefix.size())) == Folded(prefix);
}

bool IsLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }
}  // namespace

bool IsPlainName(const std::wstring& name) {
    if (name.empty() || IsDotsAndBlanks(name)) return false;
    for (wchar_t c : name)
        if (c < 0x20 || c == 0x7F || wcschr(L"\\/:*?\"<>|", c)) return false;  // c is never 0 here
    return true;
}

bool SplitFullPath(const std::wstring& input, PathSteps& out) {
    out = {};
    std::wstring path = input;
    if (StartsWithNoCase(path, L"\\\\?\\UNC\\"))
        path = L"\\\\" + path.substr(8);
    else if (StartsWithNoCase(path, L"\\\\?\\") || StartsWithNoCase(path, L"\\??\\"))
        path = path.substr(4);
    std::vector<std::wstring> parts = Parts(path);
    size_t first;
    if (path.size() >= 2 && IsLetter(path[0]) && path[1] == L':') {
        if (path.size() < 3 || !IsSlash(path[2])) return false;  // "C:" and "C:x" hang on the current folder
        out.root = Folded(path.substr(0, 2));
        first = 1;
    } else if (path.size() >= 2 && IsSlash(path[0]) && IsSlash(path[1])) {
        // parts: "", "", server, share, steps...
        if (parts.size() < 4 || parts[2].empty() || parts[3].empty()) return false;
        if (parts[2] == L"." || parts[2] == L"?") return false;  // device paths
        std::wstring share = parts[3];
        if (share.size() == 2 && IsLetter(share[0]) && share[1] == L'$')
            out.root = Folded(share.substr(0, 1)) + L":";  // \\host\C$ is the drive
        else
            out.root = L"\\\\" + Folded(parts[2]) + L"\\" + Folded(share);
        first = 4;
    } else {
        return false;
    }
    for (size_t i = first; i < parts.size(); ++i) {
        std::wstring step = parts[i];
        if (step.empty() || step == L".") continue;
        if (step == L"..") {
            if (!out.steps.empty()) out.steps.pop_back();
            continue;
        }
        while (!step.empty() && (step.back() == L'.' || step.back() == L' ')) step.pop_back();
        if (step.empty()) return false;  // "..." and the like name nothing a walk may take
        out.steps.push_back(step);
    }
    return true;
}

std::wstring FoldedPath(const PathSteps& steps) {
    std::wstring s = steps.root;
    for (const std::wstring& step : steps.steps) s += L"\\" + Folded(step);
    return s;
}

bool IsAbsoluteFolder(const std::wstring& folder) {
    PathSteps steps;
    return SplitFullPath(folder, steps);
}

bool IsAtOrBelow(const std::wstring& path, const std::wstring& folder) {
    PathSteps p, f;
    if (!SplitFullPath(path, p) || !SplitFullPath(folder, f)) return false;
    if (p.root != f.root || p.steps.size() < f.steps.size()) return false;
    for (size_t i = 0; i < f.steps.size(); ++i)
        if (Folded(p.steps[i]) != Folded(f.steps[i])) return false;
    return true;
}

std::wstring RefusalOf(const std::wstring& folder, const std::vector<std::wstring>& known) {
    PathSteps steps;
    if (folder.empty()) return L"no folder is given";
    if (!SplitFullPath(folder, steps))
        return folder + L" is not a full path (a relative or drive-relative folder depends on the current folder)";
    if (steps.steps.empty()) return folder + L" is the root of a drive or share";
    for (const std::wstring& k : known)
        if (!k.empty() && IsAtOrBelow(k, folder))
            return folder + L" is a protected folder (a drive, Windows, Program Files, the profile or one of its folders)";
    return {};
}

}  // namespace engine
