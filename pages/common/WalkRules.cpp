#include "WalkRules.h"

#include <cctype>
#include <cstring>

namespace filewalk {

namespace {
constexpr unsigned long kHidden = 0x2, kDirectory = 0x10, kReparsePoint = 0x400;

bool EndsWith(const std::string& s, const char* tail) {
    size_t n = std::strlen(tail);
    return s.size() >= n && s.compare(s.size() - n, n, tail) == 0;
}

bool IsDots(const char* name) { return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0; }

std::string TrimDotsAndBlanks(std::string s) {
    while (!s.empty() && (s.back() == '.' || s.back() == ' ')) s.pop_back();
    return s;
}

std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

bool IsSlash(char c) { return c == '\\' || c == '/'; }

// Splits at '\' and '/', dropping empty steps.
std::vector<std::string> Steps(const std::string& s) {
    std::vector<std::string> out;
    std::string cur;
    for (char c : s) {
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

bool StartsWithNoCase(const std::string& s, const char* head) {
    size_t n = std::strlen(head);
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

std::string NameOf(const std::string& path) {
    size_t slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool FolderOf(const std::string& path, std::string& folder) {
    size_t slash = path.rfind('\\');
    if (slash == std::string::npos) return false;
    folder = path.substr(0, slash);
    return true;
}

std::string WithSlash(const std::string& folder) {
    return !folder.empty() && folder.back() == '\\' ? folder : folder + "\\";
}

std::string LeftoverIn(const std::string& folder) { return folder + "\\xxxxxxxx.xxx"; }

bool IsWalkable(const std::string& folder) {
    if (folder.size() < 3) return false;
    bool drive = std::isalpha(static_cast<unsigned char>(folder[0])) && folder[1] == ':' && folder[2] == '\\';
    bool unc = folder[0] == '\\' && folder[1] == '\\' && folder[2] != '\\';
    return drive || unc;
}

bool IsListedCacheName(const std::string& name) { return !EndsWith(name, "ini") && !EndsWith(name, "dat"); }

bool IsListedCookieName(const std::string& name) { return !EndsWith(name, "dat"); }

bool IsPlainName(const std::string& name) {
    for (unsigned char c : name)
        if (c < 0x20 || c == 0x7F || std::strchr("\\/:*?\"<>|", c)) return false;
    return !TrimDotsAndBlanks(name).empty();
}

bool IsPlainPath(const std::string& path) {
    size_t start;
    if (path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' && path[2] == '\\') {
        start = 3;
    } else if (path.size() >= 3 && path[0] == '\\' && path[1] == '\\' && path[2] != '\\' && path[2] != '?' && path[2] != '.') {
        start = 2;
    } else {
        return false;
    }
    std::string step;
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

Entry Classify(unsigned long attributes, const char* name) {
    if (attributes & kReparsePoint) return Entry::Skip;
    if (attributes & kDirectory) return IsDots(name) ? Entry::Skip : Entry::Folder;
    return Entry::File;
}

bool CountsAsContent(unsigned long attributes, const char* name) {
    if (attributes & kDirectory) return !IsDots(name);
    return !(attributes & kHidden);
}

bool SplitFullPath(const std::string& path, PathSteps& out) {
    std::string p = path;
    if (StartsWithNoCase(p, "\\\\?\\UNC\\")) p = "\\\\" + p.substr(8);
    else if (StartsWithNoCase(p, "\\\\?\\") || StartsWithNoCase(p, "\\??\\")) p = p.substr(4);
    std::vector<std::string> steps;
    if (p.size() >= 3 && std::isalpha(static_cast<unsigned char>(p[0])) && p[1] == ':' && IsSlash(p[2])) {
        out.root = Upper(p.substr(0, 2));
        steps = Steps(p.substr(2));
    } else if (p.size() >= 3 && IsSlash(p[0]) && IsSlash(p[1]) && !IsSlash(p[2]) && p[2] != '.' && p[2] != '?') {
        steps = Steps(p.substr(2));
        // A server without a share, or a server or share named only by dots.
        if (steps.size() < 2 || TrimDotsAndBlanks(steps[0]).empty() || TrimDotsAndBlanks(steps[1]).empty()) return false;
        out.root = Upper("\\\\" + steps[0] + "\\" + steps[1]);
        steps.erase(steps.begin(), steps.begin() + 2);
    } else {
        return false;
    }
    out.steps.clear();
    for (const std::string& s : steps) {
        if (s == ".") continue;
        if (s == "..") {
            if (!out.steps.empty()) out.steps.pop_back();
            continue;
        }
        std::string t = TrimDotsAndBlanks(s);
        if (t.empty()) return false;
        out.steps.push_back(t);
    }
    return true;
}

bool IsRefusedTopFolder(const std::string& folder, const std::vector<std::string>& known) {
    PathSteps top;
    if (!SplitFullPath(folder, top) || top.steps.empty()) return true;
    for (const std::string& k : known) {
        PathSteps guarded;
        if (SplitFullPath(k, guarded) && IsAtOrAbove(top, guarded)) return true;
    }
    return false;
}

}  // namespace filewalk
