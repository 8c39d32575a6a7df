// The Recycle Bin, emptied on the calling thread (a worker: a large bin takes its time), and
// judged by what is left in it.
#include <shlobj.h>
#include <shlwapi.h>

#include <cwctype>

#include "Handles.h"
#include "Rows.h"
#include "Text.h"
#include "Walk.h"
#include "Traces.h"

namespace engine {

namespace {
const wchar_t kNotEmptied[] = L"The Recycle Bin could not be emptied.";

bool QueryBin(SHQUERYRBINFO& info) {
    info = SHQUERYRBINFO{};
    info.cbSize = sizeof info;
    return SUCCEEDED(::SHQueryRecycleBinW(nullptr, &info));
}

std::wstring DisplayName(IShellFolder* folder, LPCITEMIDLIST item) {
    STRRET name{};
    wchar_t text[MAX_PATH] = L"";
    if (SUCCEEDED(folder->GetDisplayNameOf(item, SHGDN_INFOLDER, &name))) ::StrRetToBufW(&name, item, text, MAX_PATH);
    return text;
}
// With overwriting on, the deleted files' content and names ($R…, with their $I… records) in
// each drive's bin folder of this user go through the one overwriting delete; the shell then
// empties what is left. What stays is the shell's to report.
Result OverwriteBinFiles(const Options& options) {
    Result result;
    const std::wstring sid = UserSidText();
    const DWORD drives = ::GetLogicalDrives();
    for (wchar_t d = L'A'; d <= L'Z' && !sid.empty(); ++d) {
        const std::wstring root = std::wstring(1, d) + L":\\";
        if (!(drives & (1u << (d - L'A'))) || ::GetDriveTypeW(root.c_str()) != DRIVE_FIXED) continue;
        const std::wstring bin = root + L"$Recycle.Bin\\" + sid;
        std::vector<Entry> entries;
        if (!ListEntries(bin, entries)) continue;
        for (const Entry& e : entries) {
            if (e.name.size() < 2 || e.name[0] != L'$' || (towupper(e.name[1]) != L'R' && towupper(e.name[1]) != L'I')) continue;
            Result one = e.folder ? EraseFolder(bin + L"\\" + e.name, options) : EraseFile(bin + L"\\" + e.name, options);
            one.deletedOnly += one.failed;  // the shell then deletes it as it is
            one.erased = 0;
            one.bytes = 0;
            one.failed = 0;
            one.reasons.clear();
            result += one;
        }
    }
    return result;
}
}  // namespace

bool ShellFolderNames(int csidl, std::vector<std::wstring>& names) {
    rows::ComScope com;
    names.clear();
    ComPtr<IShellFolder> desktop;
    if (FAILED(::SHGetDesktopFolder(desktop.GetAddressOf())) || !desktop) return false;
    LPITEMIDLIST raw = nullptr;
    ComPtr<IShellFolder> folder;
    HRESULT hr = ::SHGetSpecialFolderLocation(nullptr, csidl, &raw);
    TaskMem<ITEMIDLIST> pidl(raw);
    if (SUCCEEDED(hr)) hr = desktop->BindToObject(pidl.get(), nullptr, IID_IShellFolder, reinterpret_cast<void**>(folder.GetAddressOf()));
    if (FAILED(hr) || !folder) return false;
    ComPtr<IEnumIDList> items;
    hr = folder->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, items.GetAddressOf());
    if (SUCCEEDED(hr) && items) {
        ULONG fetched = 0;
        for (LPITEMIDLIST item = nullptr; items->Next(1, &item, &fetched) == S_OK && fetched == 1;) {
            TaskMem<ITEMIDLIST> held(item);
            names.push_back(DisplayName(folder.Get(), item));
        }
    }
    return SUCCEEDED(hr);
}

namespace rows {

Listing ListRecycleBin(const Options&) {
    Listing listing;
    std::vector<std::wstring> names;
    if (!ShellFolderNames(CSIDL_BITBUCKET, names)) listing.problems.Failed(L"The Recycle Bin could not be read.");
    for (std::wstring& n : names) listing.items.push_back({std::move(n), 0});
    return listing;
}

Result EraseRecycleBin(const Options& options) {
    SHQUERYRBINFO before, after;
    bool counted = QueryBin(before);
    Result overwritten;
    if (options.overwrite) overwritten = OverwriteBinFiles(options);
    HRESULT hr = ::SHEmptyRecycleBinW(nullptr, nullptr, SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI | SHERB_NOSOUND);
    Result result;
    // What is left decides, not the call's result: emptying an empty bin reports a failure on
    // some Windows versions.
    if (counted && QueryBin(after)) {
        result.erased = static_cast<unsigned>(before.i64NumItems > after.i64NumItems ? before.i64NumItems - after.i64NumItems : 0);
        result.bytes = static_cast<unsigned long long>(before.i64Size > after.i64Size ? before.i64Size - after.i64Size : 0);
        for (long long i = 0; i < after.i64NumItems; ++i) result.Failed(kNotEmptied);
    } else if (FAILED(hr)) {
        result.Failed(kNotEmptied);
    }
    result.overwritten = overwritten.overwritten;
    result.deletedOnly = overwritten.deletedOnly;
    result.notes = overwritten.notes;
    return result;
}

}  // namespace rows
}  // namespace engine
