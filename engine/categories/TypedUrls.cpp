// The addresses typed into the browser's address bar, and when each was typed: both keys go
// whole, their links as links; a registry link anywhere on the way refuses the erase. Counted
// are the addresses, not the keys.
#include "RegKey.h"
#include "Rows.h"
#include "Traces.h"

namespace engine {

const wchar_t kTypedUrlsKey[] = L"Software\\Microsoft\\Internet Explorer\\TypedURLs";

namespace {
constexpr int kMaxEntries = 100;
const wchar_t kTypedUrlsTimeKey[] = L"Software\\Microsoft\\Internet Explorer\\TypedURLsTime";
}

std::vector<std::wstring> ReadTypedUrls(Result* problems) {
    std::vector<std::wstring> urls;
    RegKey key;
    if (!rows::OpenKey(kTypedUrlsKey, KEY_QUERY_VALUE, key, problems)) return urls;
    std::wstring text;
    for (int n = 1; n <= kMaxEntries && key.ReadString(L"url" + std::to_wstring(n), text); ++n) urls.push_back(text);
    return urls;
}

namespace rows {

Listing ListTypedUrls(const Options&) {
    Listing listing;
    for (std::wstring& u : ReadTypedUrls(&listing.problems)) listing.items.push_back({std::move(u), 0});
    return listing;
}

Result EraseTypedUrls(const Options&) {
    Result result;
    RegKey key;
    unsigned addresses = OpenKey(kTypedUrlsKey, KEY_QUERY_VALUE, key, nullptr) ? static_cast<unsigned>(key.ValueNames().size()) : 0;
    key.Close();
    for (const wchar_t* path : {kTypedUrlsKey, kTypedUrlsTimeKey}) {
        DeleteKeyTree(HKEY_CURRENT_USER, path, result);
        // Asked anew: a delete can end part-way with "not found" while the key itself stays.
        RegKey still;
        if (result.Complete() && still.Open(HKEY_CURRENT_USER, path, KEY_QUERY_VALUE) == ERROR_SUCCESS)
            result.Failed(L"Typed URLs could not be erased.");
    }
    result.erased = result.Complete() ? addresses : 0;
    return result;
}

}  // namespace rows
}  // namespace engine
