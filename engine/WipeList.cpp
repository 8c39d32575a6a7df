// Checking, previewing and erasing a wipe list's entries, and a saved list as a category.
#include "WipeList.h"

#include <windows.h>

#include "Guard.h"
#include "PathRules.h"
#include "RegKey.h"
#include "Text.h"
#include "Walk.h"
#include "Worker.h"

namespace engine {

namespace {

bool IsChecked(const std::vector<bool>& checked, size_t i) { return i < checked.size() && checked[i]; }

HKEY HiveKey(const KeyPath& key) { return key.hive == Hive::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }

std::wstring Unprefixed(const std::wstring& text) {
    if (text.rfind(L"\\\\?\\UNC\\", 0) == 0) return L"\\\\" + text.substr(8);
    return text.rfind(L"\\\\?\\", 0) == 0 ? text.substr(4) : text;
}

// Empty when a path that could not be opened is simply not there: its folder can be listed and
// holds no such name. Otherwise why it cannot be told (the folder missing or unreadable).
std::wstring NotThereReason(const std::wstring& exact) {
    const size_t cut = exact.find_last_of(L'\\');
    const std::wstring name = exact.substr(cut + 1);
    Search search(exact.substr(0, cut + 1));
    if (!search.Ok()) return Reason(exact.substr(0, cut + 1), search.Error()) + L"; whether it is there cannot be told";
    do {
        if (SameNoCase(search.Data().cFileName, name)) return exact + L" is there but cannot be opened";
    } while (search.Next());
    return {};
}

// What the erase would refuse, found the way the erase finds it: a folder that is, contains or
// lies above a protected folder, a file or folder inside the system's folders (Windows, Program
// Files, ProgramData), a path reached through a link, a key the key guard refuses. A missing
// entry is not refused: there is nothing to erase.
std::wstring CheckEntry(const WipeEntry& e) {
    std::wstring why = CheckEntryText(e.kind, e.target);
    if (!why.empty()) return why;
    if (e.kind == WipeKind::Key) {
        why = CheckKey(e.target);
        KeyPath key;
        // Deleting a link deletes the link, not what the user meant to erase.
        if (why.empty() && SplitKey(e.target, key) && RegKey::IsLink(HiveKey(key), key.path))
            why = KeyText(key) + L" is a registry link; it is not erased.";
        return why;
    }
    const std::wstring exact = ExactPath(e.target);
    if (exact.empty()) return L"not a full path";
    std::wstring folder = exact;
    if (e.kind == WipeKind::File) {
        size_t cut = exact.find_last_of(L'\\');
        if (!IsPlainName(exact.substr(cut + 1))) return L"not the full path of a file";
        folder = exact.substr(0, cut);
    }
    Top top;
    bool missing = false;
    if (e.kind == WipeKind::Folder) why = OpenTop(folder, top, &missing, TopCheck::Guarded);
    if (why.empty() && !missing) why = OpenTop(folder, top, &missing, TopCheck::Protected);
    // Told in the user's own spelling.
    const std::wstring shown = e.kind == WipeKind::Folder ? e.target : e.target.substr(0, e.target.find_last_of(L"\\/"));
    if (why.rfind(folder, 0) == 0) why = shown + why.substr(folder.size());
    if (!missing) return why;
    // A file whose folder is not there cannot be told apart from one that cannot be reached.
    return e.kind == WipeKind::Folder ? NotThereReason(exact) : folder + L": the folder of this file cannot be found";
}

// Keys and values of a key tree, counted without entering a link (a link is one item).
void CountKeyTree(HKEY root, const std::wstring& top, EntryPreview& preview) {
    std::vector<std::wstring> pending{top};
    while (!pending.empty()) {
        std::wstring path = pending.back();
        pending.pop_back();
        RegKey key;
        LONG error = key.Open(root, path);
        if (error == kRegLinkRefused) {
            ++preview.items;
            continue;
        }
        if (error != ERROR_SUCCESS) {
            if (path != top || error != ERROR_FILE_NOT_FOUND) preview.problem = Reason(KeyText(root, path), error);
            continue;
        }
        ++preview.items;
        preview.items += key.ValueNames().size();
        for (const std::wstring& sub : key.SubkeyNames()) pending.push_back(path + L"\\" + sub);
    }
}

EntryPreview PreviewEntry(const WipeEntry& e, const Options& options) {
    EntryPreview p;
    if (e.kind == WipeKind::Key) {
        KeyPath key;
        SplitKey(e.target, key);
        CountKeyTree(HiveKey(key), key.path, p);
    } else if (e.kind == WipeKind::Folder) {
        Listing listing = ListFolder(ExactPath(e.target), options);
        bool there = ::GetFileAttributesW(ExactPath(e.target).c_str()) != INVALID_FILE_ATTRIBUTES;
        p.items = listing.items.size() + (there ? 1 : 0);
        for (const Item& item : listing.items) p.bytes += item.bytes;
        p.problem = listing.problems.FirstReason();
    } else {
        WIN32_FILE_ATTRIBUTE_DATA data;
        DWORD error = ::GetFileAttributesExW(ExactPath(e.target).c_str(), GetFileExInfoStandard, &data) ? 0 : ::GetLastError();
        p.items = error ? 0 : 1;
        p.bytes = error ? 0 : (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        if (error && error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) p.problem = Reason(e.target, error);
    }
    return p;
}

}  // namespace

std::vector<Refusal> CheckWipeList(const WipeList& list, const std::vector<bool>& checked) {
    std::vector<Refusal> refusals;
    for (size_t i = 0; i < list.entries.size(); ++i) {
        if (!IsChecked(checked, i)) continue;
        std::wstring why = CheckEntry(list.entries[i]);
        if (!why.empty()) refusals.push_back({i, why});
    }
    return refusals;
}

std::vector<EntryPreview> PreviewWipeList(const WipeList& list, const std::vector<bool>& checked,
                                          const Options& options) {
    std::vector<EntryPreview> previews;
    for (size_t i = 0; i < list.entries.size(); ++i) {
        if (!IsChecked(checked, i)) continue;
        if (options.stop && options.stop->Requested()) break;
        std::wstring why = CheckEntry(list.entries[i]);
        EntryPreview p = why.empty() ? PreviewEntry(list.entries[i], options) : EntryPreview{};
        p.entry = i;
        if (!why.empty()) p.problem = why;
        previews.push_back(p);
    }
    return previews;
}

Result EraseWipeList(const WipeList& list, const std::vector<bool>& checked, Options options) {
    // The page promises that what a list names cannot be restored.
    options.overwrite = true;
    Result result;
    // Every refusal is known before the first entry is erased.
    std::vector<bool> refused(list.entries.size(), false);
    for (const Refusal& r : CheckWipeList(list, checked)) {
        refused[r.entry] = true;
        result.Failed(list.entries[r.entry].target + L": " + r.reason);
    }
    for (size_t i = 0; i < list.entries.size(); ++i) {
        if (!IsChecked(checked, i) || refused[i]) continue;
        if (options.stop && options.stop->Requested()) break;
        const WipeEntry& e = list.entries[i];
        if (e.kind != WipeKind::Key) {
            Result r = e.kind == WipeKind::File ? EraseFile(ExactPath(e.target), options) : EraseFolder(ExactPath(e.target), options);
            for (std::wstring& reason : r.reasons) reason = Unprefixed(reason);  // told without "\\?\"
            result += r;
        } else {
            KeyPath key;
            SplitKey(e.target, key);
            DeleteKeyTree(HiveKey(key), key.path, result);
        }
    }
    return result;
}

namespace {
// A list's category without its list and erase: one key (and one lock) per list name.
Category ListCategory(const std::wstring& name) {
    Category c;
    c.key = "wipelist:" + Utf8(name);
    c.group = "wipelist";
    c.name = L"Wipe List " + name;
    return c;
}

// What erasing the checked entries would take, as a category's preview.
Listing Preview(const WipeList& list, const std::vector<bool>& checked, const Options& options, Listing listing = {}) {
    for (const EntryPreview& p : PreviewWipeList(list, checked, options)) {
        if (!p.problem.empty()) listing.problems.Failed(list.entries[p.entry].target + L": " + p.problem);
        else if (p.items) listing.items.push_back({list.entries[p.entry].target, p.bytes});
    }
    return listing;
}
}  // namespace

Category WipeListCategory(const WipeList& list, const std::vector<bool>& checked) {
    Category c = ListCategory(list.name);
    c.list = [list, checked](const Options& options) { return Preview(list, checked, options); };
    c.erase = [list, checked](const Options& options) { return EraseWipeList(list, checked, options); };
    return c;
}

std::optional<Category> WipeListCategory(const std::wstring& listName, std::wstring* reason) {
    // The name as it is saved, so that one list is one key (and one lock) in any spelling. In a
    // case-sensitive folder "Work" and "work" are two lists: the exact name wins, and a spelling
    // that fits several is refused rather than guessed.
    std::vector<std::wstring> alike;
    for (const std::wstring& saved : WipeListNames()) {
        if (saved == listName) {
            alike = {saved};
            break;
        }
        if (SameNoCase(saved, listName)) alike.push_back(saved);
    }
    if (alike.size() > 1 && reason) {
        *reason = L"several wipe lists have this name in other cases:";
        for (const std::wstring& n : alike) *reason += L" \"" + n + L"\"";
    }
    if (alike.size() != 1) return std::nullopt;
    const std::wstring name = alike.front();
    // Read when the category runs: the list may change between naming it and running it.
    auto load = [name](Result& problems, WipeList& list) {
        std::wstring why;
        if (!LoadWipeList(name, list, &why)) {
            problems.Failed(why);
            return false;
        }
        for (const KeptLine& bad : list.bad)
            problems.Failed(L"Line " + std::to_wstring(bad.line) + L" of the list, \"" + bad.text + L"\": " + bad.reason);
        return true;
    };
    Category c = ListCategory(name);
    c.list = [load](const Options& options) {
        Listing listing;
        WipeList list;
        if (!load(listing.problems, list)) return listing;
        return Preview(list, std::vector<bool>(list.entries.size(), true), options, std::move(listing));
    };
    c.erase = [load](const Options& options) {
        Result result;
        WipeList list;
        if (load(result, list)) result += EraseWipeList(list, std::vector<bool>(list.entries.size(), true), options);
        return result;
    };
    return c;
}

}  // namespace engine
