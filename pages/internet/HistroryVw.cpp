#include "HistroryVw.h"

#include <urlhist.h>

#include "resource.h"

namespace {
const wchar_t kCaption[] = L"Corvane-Sweepmere";
const wchar_t kErased[] = L" Internet Explorer History Completely Erased.";
const wchar_t kNotErased[] = L" Internet Explorer History could not be erased.";

// The record's own size: 56 bytes in a 64-bit build (40 is the 32-bit size, which a history
// object that checks it refuses, listing nothing).
constexpr DWORD kStatUrlSize = sizeof(STATURL);

// COM for the length of one operation; balanced only when this call started it.
class ComScope {
public:
    ComScope() : m_hr(::CoInitialize(nullptr)) {}
    ~ComScope() {
        if (SUCCEEDED(m_hr)) ::CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    HRESULT m_hr;
};

HRESULT CreateHistory(IUrlHistoryStg2** history) {
    *history = nullptr;
    return ::CoCreateInstance(CLSID_CUrlHistory, nullptr, CLSCTX_INPROC_SERVER, IID_IUrlHistoryStg2,
                              reinterpret_cast<void**>(history));
}

void ReadEntries(IEnumSTATURL* entries, std::vector<std::wstring>& urls) {
    entries->Reset();
    for (;;) {
        STATURL entry{};
        entry.cbSize = kStatUrlSize;
        ULONG fetched = 0;
        if (entries->Next(1, &entry, &fetched) != S_OK) break;
        // An entry without an address says nothing to show, but the ones after it still count.
        if (fetched == 1 && entry.pwcsUrl) urls.push_back(entry.pwcsUrl);
        ::CoTaskMemFree(entry.pwcsUrl);
        ::CoTaskMemFree(entry.pwcsTitle);
    }
}
}  // namespace

const MsgMap CHistroryVw::messageMap{&CPageView::messageMap, {
    msg::Command(IDC_HISTORY_ERASE, &CHistroryVw::OnErase),
}};

CHistroryVw::CHistroryVw() : CPageView(IDD_HISTORY, look::ListLook(IDC_HISTORY_TITLE, IDC_HISTORY_TEXT), L"History") {}

void CHistroryVw::DoDataExchange(CDataExchange* pDX) {
    CPageView::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_HISTORY_LIST, m_list);
    if (pDX->m_bSaveAndValidate) return;  // the list is filled once, when the page opens
    AddColumns();
    Fill();
}

void CHistroryVw::AddColumns() {
    // The list shows item texts only; the report columns are there for a report-mode list.
    m_list.InsertColumn(0, L"Last Access Date", LVCFMT_LEFT, 125);
    m_list.InsertColumn(1, L"Last Access Time", LVCFMT_LEFT, 125);
    m_list.InsertColumn(2, L"URL Title", LVCFMT_LEFT, 175);
    m_list.InsertColumn(3, L"URL", LVCFMT_LEFT, 200);
}

void CHistroryVw::Fill() {
    // The list sorts itself; the index only says "at the end".
    int index = 1;
    for (const std::wstring& url : ReadHistory()) m_list.InsertItem(index++, url);
}

std::vector<std::wstring> CHistroryVw::ReadHistory() {
    std::vector<std::wstring> urls;
    ComScope com;
    IUrlHistoryStg2* history = nullptr;
    if (FAILED(CreateHistory(&history)) || !history) return urls;
    IEnumSTATURL* entries = nullptr;
    if (SUCCEEDED(history->EnumUrls(&entries)) && entries) {
        ReadEntries(entries, urls);
        entries->Release();
    }
    history->Release();
    return urls;
}

HRESULT CHistroryVw::EraseHistory() {
    HRESULT hr;
    {
        ComScope com;
        IUrlHistoryStg2* history = nullptr;
        hr = CreateHistory(&history);
        if (SUCCEEDED(hr) && history) {
            hr = history->ClearHistory();
            history->Release();
        } else if (SUCCEEDED(hr)) {
            hr = E_NOINTERFACE;
        }
    }
    ::MessageBoxW(nullptr, SUCCEEDED(hr) ? kErased : kNotErased, kCaption, MB_ICONINFORMATION | MB_SYSTEMMODAL);
    return hr;
}

void CHistroryVw::OnErase() {
    if (m_erasing) return;  // ERASE pressed again while the message box is up
    m_erasing = true;
    HWND self = m_hWnd;
    bool cleared = SUCCEEDED(EraseHistory());
    // The page may have been closed while the message box was up.
    if (!::IsWindow(self) || FromHandlePermanent(self) != this) return;
    m_erasing = false;
    // A history that is still there keeps its list: the page shows what the machine holds.
    if (cleared) m_list.DeleteAllItems();
}
