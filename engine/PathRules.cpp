#include "PathRules.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>

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

// "\\?\C:\..." and "\\?\UNC\s\h\..." as "C:\..." and "\\s\h\...".
std::wstring WithoutPrefix(const std::wstring& path) {
    if (StartsWithNoCase(path, L"\\\\?\\UNC\\") || StartsWithNoCase(path, L"\\??\\UNC\\")) return L"\\\\" + path.substr(8);
    if (StartsWithNoCase(path, L"\\\\?\\") || StartsWithNoCase(path, L"\\??\\")) return path.substr(4);
    return path;
}

// An IPv4 address as the system's resolver reads one: one to four parts, each decimal, octal
// (leading 0) or hex (0x), the last filling the remaining bytes. False for anything else.
bool ParseIpv4(const std::wstring& text, unsigned long& address) {
    std::vector<std::wstring> parts(1);
    for (wchar_t c : text) {
        if (c == L'.') parts.emplace_back();
        else parts.back() += c;
    }
    if (parts.size() > 4) return false;
    unsigned long long value[4] = {};
    for (size_t i = 0; i < parts.size(); ++i) {
        const std::wstring& p = parts[i];
        if (p.empty()) return false;
        unsigned base = 10;
        size_t at = 0;
        if (p.size() > 1 && p[0] == L'0' && (p[1] == L'x' || p[1] == L'X')) base = 16, at = 2;
        else if (p.size() > 1 && p[0] == L'0') base = 8, at = 1;
        if (at == p.size() && base == 16) return false;
        for (; at < p.size(); ++at) {
            wchar_t c = p[at];
            unsigned d = c >= L'0' && c <= L'9' ? c - L'0' : c >= L'a' && c <= L'f' ? c - L'a' + 10
                         : c >= L'A' && c <= L'F' ? c - L'A' + 10 : 99;
            if (d >= base) return false;
            value[i] = value[i] * base + d;
            if (value[i] > 0xFFFFFFFFull) return false;
        }
    }
    size_t last = parts.size() - 1;
    if (value[last] >> (8 * (4 - last))) return false;
    address = static_cast<unsigned long>(value[last]);
    for (size_t i = 0; i < last; ++i) {
        if (value[i] > 255) return false;
        address |= static_cast<unsigned long>(value[i]) << (8 * (3 - i));
    }
    return true;
}

// An IPv6 address's 16 bytes (the last four may be written as IPv4); false for anything else.
bool ParseIpv6(std::wstring text, unsigned char bytes[16]) {
    size_t zone = text.find(L'%');
    if (zone != std::wstring::npos) text.resize(zone);
    std::vector<unsigned> head, tail;
    bool gap = false;
    size_t at = 0;
    if (text.compare(0, 2, L"::") == 0) gap = true, at = 2;
    while (at < text.size()) {
        size_t end = text.find(L':', at);
        std::wstring group = text.substr(at, end == std::wstring::npos ? std::wstring::npos : end - at);
        std::vector<unsigned>& into = gap ? tail : head;
        unsigned long v4 = 0;
        if (end == std::wstring::npos && group.find(L'.') != std::wstring::npos) {
            if (std::count(group.begin(), group.end(), L'.') != 3 || !ParseIpv4(group, v4)) return false;
            into.push_back(v4 >> 16);
            into.push_back(v4 & 0xFFFF);
        } else {
            if (group.empty() || group.size() > 4) return false;
            unsigned v = 0;
            for (wchar_t c : group) {
                if (!iswxdigit(c)) return false;
                v = v * 16 + (c <= L'9' ? c - L'0' : (c | 0x20) - L'a' + 10);
            }
            into.push_back(v);
        }
        if (end == std::wstring::npos) break;
        at = end + 1;
        if (at < text.size() && text[at] == L':') {
            if (gap) return false;
            gap = true;
            ++at;
        }
    }
    size_t count = head.size() + tail.size();
    if (count > 8 || (!gap && count != 8) || (gap && count == 8)) return false;
    std::vector<unsigned> groups = head;
    groups.resize(8 - tail.size(), 0);
    groups.insert(groups.end(), tail.begin(), tail.end());
    for (size_t i = 0; i < 8; ++i) bytes[2 * i] = groups[i] >> 8, bytes[2 * i + 1] = groups[i] & 0xFF;
    return true;
}

// One spelling for every form of the same address or name.
std::wstring CanonicalHost(std::wstring host) {
    host = Folded(host);
    while (!host.empty() && host.back() == L'.') host.pop_back();
    if (host.size() > 2 && host.front() == L'[' && host.back() == L']') host = host.substr(1, host.size() - 2);
    // "0--1.ipv6-literal.net" is ::1: '-' for ':', 's' for the zone's '%'.
    const std::wstring literal = L".IPV6-LITERAL.NET";
    if (host.size() > literal.size() && host.compare(host.size() - literal.size(), literal.size(), literal) == 0) {
        host.resize(host.size() - literal.size());
        for (wchar_t& c : host) c = c == L'-' ? L':' : c == L'S' ? L'%' : c;
    }
    unsigned long v4 = 0;
    unsigned char v6[16];
    if (ParseIpv4(host, v4) || (ParseIpv6(host, v6) && std::all_of(v6, v6 + 10, [](unsigned char b) { return b == 0; }) &&
                               v6[10] == 0xFF && v6[11] == 0xFF &&
                               (v4 = (v6[12] << 24) | (v6[13] << 16) | (v6[14] << 8) | v6[15], true)))
        return std::to_wstring(v4 >> 24) + L"." + std::to_wstring((v4 >> 16) & 255) + L"." + std::to_wstring((v4 >> 8) & 255) +
               L"." + std::to_wstring(v4 & 255);
    if (ParseIpv6(host, v6)) {
        std::wstring out;
        for (int i = 0; i < 16; i += 2) out += std::to_wstring((v6[i] << 8) | v6[i + 1]) + (i < 14 ? L":" : L"");
        return out;
    }
    return host;
}
}  // namespace

bool IsPlainName(const std::wstring& name) {
    if (name.empty() || IsDotsAndBlanks(name)) return false;
    for (wchar_t c : name)
        if (c < 0x20 || c == 0x7F || wcschr(L"\\/:*?\"<>|", c)) return false;  // c is never 0 here
    return true;
}

bool SplitFullPath(const std::wstring& input, PathSteps& out) {
    out = {};
    const std::wstring path = WithoutPrefix(input);
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

std::wstring ExactPath(const std::wstring& input) {
    PathSteps check;
    if (!SplitFullPath(input, check)) return {};
    const std::wstring path = WithoutPrefix(input);
    std::vector<std::wstring> parts = Parts(path);
    std::wstring out;
    size_t first;
    if (IsSlash(path[0])) {
        out = L"\\\\?\\UNC\\" + parts[2] + L"\\" + parts[3];
        first = 4;
    } else {
        out = L"\\\\?\\" + path.substr(0, 2);
        first = 1;
    }
    std::vector<std::wstring> steps;
    for (size_t i = first; i < parts.size(); ++i) {
        if (parts[i].empty() || parts[i] == L".") continue;
        if (parts[i] == L"..") {
            if (!steps.empty()) steps.pop_back();
            continue;
        }
        steps.push_back(parts[i]);
    }
    for (const std::wstring& step : steps) out += L"\\" + step;
    return steps.empty() ? out + L"\\" : out;
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

std::wstring ServerOf(const std::wstring& path) {
    const std::wstring p = WithoutPrefix(path);
    if (p.size() < 3 || !IsSlash(p[0]) || !IsSlash(p[1])) return {};
    std::wstring server = Parts(p)[2];
    return server == L"?" || server == L"." ? std::wstring() : server;  // device paths
}

bool IsThisMachine(const std::wstring& server, const std::vector<std::wstring>& ownNames) {
    std::wstring host = CanonicalHost(server);
    if (host.empty()) return false;
    unsigned long v4 = 0;
    if (host == L"LOCALHOST" || host == L"0:0:0:0:0:0:0:1" || (ParseIpv4(host, v4) && v4 >> 24 == 127)) return true;
    for (const std::wstring& own : ownNames)
        if (!own.empty() && CanonicalHost(own) == host) return true;
    return false;
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
