// The Recycle Bin, emptied on the calling thread (a worker: a large bin takes its time), and
// judged by what is left in it.
#include <shlobj.h>
#include <shlwapi.h>

#include "Rows.h"
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
}  // namespace

bool ShellFolderNames(int csidl, std::vector<std::wstring>& names) {
    rows::ComScope com;
    names.clear();
    IShellFolder* desktop = nullptr;
    if (FAILED(::SHGetDesktopFolder(&desktop)) || !desktop) return false;
    LPITEMIDLIST pidl = nullptr;
    IShellFolder* folder = nullptr;
    HRESULT hr = ::SHGetSpecialFolderLocation(nullptr, csidl, &pidl);
    if (SUCCEEDED(hr)) hr = desktop->BindToObject(pidl, nullptr, IID_IShellFolder, reinterpret_cast<void**>(&folder));
    ::CoTaskMemFree(pidl);
    desktop->Release();
    if (FAILED(hr) || !folder) return false;
    IEnumIDList* items = nullptr;
    hr = folder->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, &items);
    if (SUCCEEDED(hr) && items) {
        LPITEMIDLIST item = nullptr;
        ULONG fetched = 0;
        while (items->Next(1, &item, &fetched) == S_OK && fetched == 1) {
            names.push_back(DisplayName(folder, item));
            ::CoTaskMemFree(item);
        }
        items->Release();
    }
    folder->Release();
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

Result EraseRecycleBin(const Options&) {
    SHQUERYRBINFO before, after;
    bool counted = QueryBin(before);
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
    return result;
}

}  // namespace rows
}  // namespace engine
