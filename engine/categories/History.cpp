// The browser's history, read and cleared through its URL history object (a test process may
// register its own class object for it).
#include <shlobj.h>
#include <shlguid.h>
#include <urlhist.h>

#include "Handles.h"
#include "Rows.h"
#include "Text.h"
#include "Traces.h"

namespace engine {

namespace {
const wchar_t kNotErased[] = L"Internet Explorer History could not be erased";

HRESULT CreateHistory(IUrlHistoryStg2** history) {
    *history = nullptr;
    HRESULT hr = ::CoCreateInstance(CLSID_CUrlHistory, nullptr, CLSCTX_INPROC_SERVER, IID_IUrlHistoryStg2,
                                    reinterpret_cast<void**>(history));
    return SUCCEEDED(hr) && !*history ? E_NOINTERFACE : hr;
}

std::wstring Why(HRESULT hr) { return Reason(kNotErased, static_cast<DWORD>(hr)); }
}  // namespace

bool ReadHistory(std::vector<std::wstring>& urls, std::wstring* reason) {
    urls.clear();
    rows::ComScope com;
    ComPtr<IUrlHistoryStg2> history;
    HRESULT hr = CreateHistory(history.GetAddressOf());
    ComPtr<IEnumSTATURL> entries;
    if (SUCCEEDED(hr)) hr = history->EnumUrls(entries.GetAddressOf());
    if (SUCCEEDED(hr) && entries) {
        entries->Reset();
        for (;;) {
            STATURL entry{};
            entry.cbSize = sizeof(STATURL);  // the 64-bit size; 40 is the 32-bit one
            ULONG fetched = 0;
            if (entries->Next(1, &entry, &fetched) != S_OK) break;
            TaskMem<wchar_t> url(entry.pwcsUrl), title(entry.pwcsTitle);
            // An entry without an address says nothing to show, but the ones after it still count.
            if (fetched == 1 && url) urls.push_back(url.get());
        }
    }
    if (FAILED(hr) && reason) *reason = Reason(L"The history could not be read", static_cast<DWORD>(hr));
    return SUCCEEDED(hr);
}

namespace rows {

Listing ListHistory(const Options&) {
    Listing listing;
    std::vector<std::wstring> urls;
    std::wstring why;
    if (!ReadHistory(urls, &why)) listing.problems.Failed(why);
    for (std::wstring& u : urls) listing.items.push_back({std::move(u), 0});
    return listing;
}

Result EraseHistory(const Options& options) {
    Result result;
    result.withoutOverwriting = options.overwrite;  // the system's own call: it cannot overwrite
    ComScope com;
    ComPtr<IUrlHistoryStg2> history;
    HRESULT hr = CreateHistory(history.GetAddressOf());
    if (SUCCEEDED(hr)) hr = history->ClearHistory();
    if (SUCCEEDED(hr))
        result.erased = 1;
    else
        result.Failed(Why(hr));
    return result;
}

}  // namespace rows
}  // namespace engine
