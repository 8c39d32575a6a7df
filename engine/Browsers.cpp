#include "Browsers.h"

#include <windows.h>

#include <cwctype>
#include <functional>
#include <sstream>

#include "BrowserDatabase.h"
#include "Handles.h"
#include "PathRules.h"
#include "Text.h"
#include "Walk.h"

namespace engine {
namespace {

std::wstring Expand(const std::wstring& text) {
    wchar_t out[MAX_PATH * 4];
    DWORD n = ::ExpandEnvironmentStringsW(text.c_str(), out, static_cast<DWORD>(std::size(out)));
    return n > 0 && n <= std::size(out) && wcschr(out, L'%') == nullptr ? std::wstring(out) : std::wstring();
}

DWORD Attributes(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()); }
bool IsFolder(DWORD a) { return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY); }

bool ChromiumProfileName(const std::wstring& name) {
    if (name == L"Default") return true;
    if (name.size() <= 8 || name.compare(0, 8, L"Profile ") != 0) return false;
    for (size_t i = 8; i < name.size(); ++i)
        if (!iswdigit(name[i])) return false;
    return true;
}

// The profile as found: refused when it is a link or the guard refuses it as a walk's top. (Its
// local folder, when another, is only walked, and the walk's own guard checks it.)
BrowserProfile Found(const std::wstring& folder, const std::wstring& local) {
    BrowserProfile p{folder, local, CheckTopFolder(folder)};
    if (p.refused.empty() && (Attributes(folder) & FILE_ATTRIBUTE_REPARSE_POINT))
        p.refused = folder + L": the folder is a link; it is not entered.";
    return p;
}

std::vector<BrowserProfile> ChromiumProfiles(const BrowserDef& browser) {
    std::vector<BrowserProfile> profiles;
    std::wstring root = Expand(browser.userData);
    if (root.empty() || !IsFolder(Attributes(root))) return profiles;
    WIN32_FIND_DATAW d;
    FindHandle h(::FindFirstFileExW((root + L"\\*").c_str(), FindExInfoBasic, &d, FindExSearchNameMatch, nullptr, 0));
    if (!h) return profiles;
    do {
        if ((d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && ChromiumProfileName(d.cFileName))
            profiles.push_back(Found(root + L"\\" + d.cFileName, root + L"\\" + d.cFileName));
    } while (::FindNextFileW(h.Get(), &d));
    return profiles;
}

bool ReadSmallFile(const std::wstring& path, std::string& text) {
    Handle h(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h) return false;
    LARGE_INTEGER size{};
    bool ok = ::GetFileSizeEx(h.Get(), &size) && size.QuadPart < (1 << 20);
    if (ok) {
        text.resize(static_cast<size_t>(size.QuadPart));
        DWORD read = 0;
        ok = text.empty() || (::ReadFile(h.Get(), &text[0], static_cast<DWORD>(text.size()), &read, nullptr) && read == text.size());
    }
    return ok;
}

std::vector<BrowserProfile> FirefoxProfiles(const BrowserDef& browser) {
    std::vector<BrowserProfile> profiles;
    std::wstring ini = Expand(browser.ini), local = Expand(browser.local);
    std::string text;
    if (ini.empty() || local.empty() || !ReadSmallFile(ini, text)) return profiles;
    std::wstring base = ini.substr(0, ini.rfind(L'\\'));
    for (const IniProfile& p : ParseProfilesIni(text)) {
        std::wstring folder = p.relative ? base + L"\\" + p.path : p.path;
        if (IsFolder(Attributes(folder))) profiles.push_back(Found(folder, p.relative ? local + L"\\" + p.path : folder));
    }
    return profiles;
}

// The file of a database, checked before SQLite opens it: a plain file (not a link) whose final
// path is the profile's final path plus the relative path. Empty when it may be opened.
std::wstring FinalPath(HANDLE h) {
    wchar_t buffer[MAX_PATH * 4];
    DWORD n = ::GetFinalPathNameByHandleW(h, buffer, static_cast<DWORD>(std::size(buffer)), FILE_NAME_NORMALIZED);
    return n > 0 && n < std::size(buffer) ? std::wstring(buffer, n) : std::wstring();
}
std::wstring CheckDatabaseFile(const std::wstring& profile, const std::wstring& rel) {
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    std::wstring path = profile + L"\\" + rel;
    Handle top(::CreateFileW(profile.c_str(), FILE_READ_ATTRIBUTES, share, nullptr, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    Handle file(::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, share, nullptr, OPEN_EXISTING,
                              FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    bool inside = top && file && ::GetFileInformationByHandle(file.Get(), &info) &&
                  !(info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY));
    if (inside) {
        std::wstring topFinal = FinalPath(top.Get());
        inside = !topFinal.empty() && FinalPath(file.Get()) == topFinal + L"\\" + rel;
    }
    return inside ? std::wstring() : path + L": not a file of the profile (a link or moved); left untouched.";
}

// Runs work on every folder, file or database of a category in every usable profile; a refused
// profile or file is one problem each.
struct Targets {
    std::function<void(const std::wstring&)> folder, file, refused;
    std::function<void(const std::wstring&, const DatabaseClear&)> database;
};
unsigned ForEachTarget(const BrowserDef& browser, const BrowserCategoryDef& category, const Targets& on) {
    unsigned usable = 0;
    for (const BrowserProfile& p : FindProfiles(browser)) {
        if (!p.refused.empty()) {
            on.refused(p.refused);
            continue;
        }
        ++usable;
        const std::wstring& base = category.local ? p.local : p.folder;
        for (const std::wstring& f : category.folders)
            if (IsFolder(Attributes(base + L"\\" + f))) on.folder(base + L"\\" + f);
        for (const std::wstring& f : category.files) {
            DWORD a = Attributes(base + L"\\" + f);
            if (a != INVALID_FILE_ATTRIBUTES && !IsFolder(a)) on.file(base + L"\\" + f);
        }
        for (const DatabaseClear& db : category.databases) {
            for (const std::wstring& f : db.files) {
                if (Attributes(base + L"\\" + f) == INVALID_FILE_ATTRIBUTES) continue;
                std::wstring refused = CheckDatabaseFile(base, f);
                if (refused.empty())
                    on.database(base + L"\\" + f, db);
                else
                    on.refused(refused);
            }
        }
    }
    return usable;
}

Listing ListCounted(const BrowserDef& browser, const BrowserCategoryDef& category, const Options& options,
                    unsigned& profiles, unsigned long long& entries) {
    Listing out;
    entries = 0;
    Targets on;
    on.folder = [&](const std::wstring& folder) {
        Listing l = ListFolder(folder, options);
        out.items.insert(out.items.end(), l.items.begin(), l.items.end());
        entries += l.items.size();
        out.problems += l.problems;
    };
    on.file = [&](const std::wstring& file) {
        WIN32_FILE_ATTRIBUTE_DATA d{};
        ::GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &d);
        out.items.push_back({file, (static_cast<unsigned long long>(d.nFileSizeHigh) << 32) | d.nFileSizeLow});
        ++entries;
    };
    on.database = [&](const std::wstring& db, const DatabaseClear& what) {
        entries += CountDatabase(db, what, browser.name, options, out);
    };
    on.refused = [&](const std::wstring& why) { out.problems.Failed(why); };
    profiles = ForEachTarget(browser, category, on);
    return out;
}

}  // namespace

std::vector<IniProfile> ParseProfilesIni(const std::string& text) {
    std::vector<IniProfile> profiles;
    std::istringstream lines(text);
    std::string line;
    bool inProfile = false;
    IniProfile current;
    auto flush = [&] {
        if (inProfile && !current.path.empty()) profiles.push_back(current);
        current = IniProfile();
    };
    while (std::getline(lines, line)) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
        if (!line.empty() && line[0] == '[') {
            flush();
            inProfile = line.compare(0, 8, "[Profile") == 0;
            continue;
        }
        size_t eq = line.find('=');
        if (!inProfile || eq == std::string::npos) continue;
        std::string key = line.substr(0, eq), value = line.substr(eq + 1);
        if (key == "IsRelative") current.relative = value != "0";
        if (key == "Path") current.path = FromUtf8(value);
    }
    flush();
    // Each step of a path must be a plain name; an absolute path starts with a drive.
    std::vector<IniProfile> plain;
    for (IniProfile& p : profiles) {
        for (wchar_t& c : p.path)
            if (c == L'/') c = L'\\';
        std::wstring rest = p.path;
        if (!p.relative) {
            if (rest.size() < 4 || !iswalpha(rest[0]) || rest.compare(1, 2, L":\\") != 0) continue;
            rest = rest.substr(3);
        }
        bool ok = true;
        std::wstringstream steps(rest);
        std::wstring step;
        while (std::getline(steps, step, L'\\')) ok = ok && IsPlainName(step);
        if (ok && !rest.empty() && rest.back() != L'\\') plain.push_back(p);
    }
    return plain;
}

std::vector<BrowserProfile> FindProfiles(const BrowserDef& browser) {
    switch (browser.kind) {
        case BrowserDef::Kind::Chromium: return ChromiumProfiles(browser);
        case BrowserDef::Kind::Firefox: return FirefoxProfiles(browser);
        case BrowserDef::Kind::Folder: break;
    }
    std::wstring folder = Expand(browser.folder), local = Expand(browser.local);
    if (folder.empty() || local.empty() || !IsFolder(Attributes(folder))) return {};
    return {Found(folder, local)};
}

Listing ListBrowserCategory(const BrowserDef& browser, const BrowserCategoryDef& category, const Options& options) {
    unsigned profiles = 0;
    unsigned long long entries = 0;
    return ListCounted(browser, category, options, profiles, entries);
}

Result EraseBrowserCategory(const BrowserDef& browser, const BrowserCategoryDef& category, const Options& options) {
    Result out;
    Targets on;
    on.folder = [&](const std::wstring& folder) { out += EraseInside(folder, options); };
    on.file = [&](const std::wstring& file) { out += EraseFile(file, options); };
    on.database = [&](const std::wstring& db, const DatabaseClear& what) {
        ClearDatabase(db, what, browser.name, options, out);
    };
    on.refused = [&](const std::wstring& why) { out.Failed(why); };
    ForEachTarget(browser, category, on);
    return out;
}

std::vector<Category> BrowserCategories() {
    std::vector<Category> rows;
    for (const BrowserDef& b : BrowserDefinitions()) {
        for (const BrowserCategoryDef& c : b.categories) {
            Category row;
            row.key = "browser." + b.id + "." + c.key;
            row.group = "browsers";
            row.name = b.name + L": " + c.name;
            const BrowserDef* browser = &b;
            const BrowserCategoryDef* category = &c;
            row.list = [browser, category](const Options& o) { return ListBrowserCategory(*browser, *category, o); };
            row.erase = [browser, category](const Options& o) { return EraseBrowserCategory(*browser, *category, o); };
            rows.push_back(std::move(row));
        }
    }
    return rows;
}

std::vector<BrowserSurveyRow> SurveyBrowsers(const Options& options) {
    std::vector<BrowserSurveyRow> rows;
    for (const BrowserDef& b : BrowserDefinitions()) {
        if (FindProfiles(b).empty()) continue;
        for (const BrowserCategoryDef& c : b.categories) {
            BrowserSurveyRow row{"browser." + b.id + "." + c.key, b.name, c.name};
            Listing l = ListCounted(b, c, options, row.profiles, row.items);
            for (const Item& item : l.items) row.bytes += item.bytes;
            rows.push_back(std::move(row));
        }
    }
    return rows;
}

}  // namespace engine
