#include "ShellReader.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstring>

#include "RegKey.h"

CSpecialFolderEnum::CSpecialFolderEnum() = default;

CSpecialFolderEnum::~CSpecialFolderEnum() {
    FreeItems();
    if (m_pDesktop) m_pDesktop->Release();
    if (m_pMalloc) m_pMalloc->Release();
}

LONG CSpecialFolderEnum::ReadRegString(HKEY root, const wchar_t* subKey, const wchar_t* valueName, wchar_t* buffer) {
    engine::RegKey key;
    LONG rc = key.Open(root, subKey, KEY_QUERY_VALUE);
    std::vector<unsigned char> data;
    // Whatever the value's type, its bytes are read as text into the reader's buffer: data that
    // does not fit is not read, and data without a zero is closed inside the buffer.
    m_bLastRead = rc == ERROR_SUCCESS && key.ReadBinary(valueName, data) && data.size() <= kTextSize * sizeof(wchar_t);
    size_t chars = m_bLastRead ? data.size() / sizeof(wchar_t) : 0;
    if (chars) wmemcpy(buffer, reinterpret_cast<const wchar_t*>(data.data()), chars);
    buffer[chars < kTextSize ? chars : kTextSize - 1] = L'\0';
    return rc;
}

std::list<ShellItem>* CSpecialFolderEnum::EnumRecycleBin() { return ListOf(CSIDL_BITBUCKET); }
std::list<ShellItem>* CSpecialFolderEnum::EnumRecent() { return ListOf(CSIDL_RECENT); }
std::list<ShellItem>* CSpecialFolderEnum::EnumNetworkPlaces() { return ListOf(CSIDL_NETWORK); }

std::list<ShellItem>* CSpecialFolderEnum::ListOf(int csidl) {
    return SUCCEEDED(EnumSpecialFolder(csidl)) ? &m_items : nullptr;
}

HRESULT CSpecialFolderEnum::Initialise() {
    if (m_bInitialised && m_pMalloc && m_pDesktop) return S_OK;
    HRESULT hr = S_OK;
    if (!m_pMalloc && FAILED(hr = ::SHGetMalloc(&m_pMalloc))) return hr;
    if (!m_pDesktop && FAILED(hr = ::SHGetDesktopFolder(&m_pDesktop))) return hr;
    m_bInitialised = true;
    return S_OK;
}

HRESULT CSpecialFolderEnum::EnumSpecialFolder(int csidl) {
    FreeItems();
    HRESULT hr = Initialise();
    if (FAILED(hr)) return hr;
    LPITEMIDLIST pidl = nullptr;
    if (FAILED(hr = ::SHGetSpecialFolderLocation(nullptr, csidl, &pidl))) return hr;
    IShellFolder* folder = nullptr;
    hr = m_pDesktop->BindToObject(pidl, nullptr, IID_IShellFolder, reinterpret_cast<void**>(&folder));
    m_pMalloc->Free(pidl);
    if (FAILED(hr)) return hr;
    if (!folder) return E_FAIL;
    hr = EnumFolder(folder);
    folder->Release();
    if (FAILED(hr)) FreeItems();  // a caller gets all of a folder or nothing
    return hr;
}

HRESULT CSpecialFolderEnum::EnumFolder(IShellFolder* folder) {
    IEnumIDList* items = nullptr;
    HRESULT hr = folder->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, &items);
    if (FAILED(hr)) return hr;
    if (!items) return S_FALSE;  // the shell may say "nothing here" without an enumerator
    for (;;) {
        LPITEMIDLIST item = nullptr;
        ULONG fetched = 0;
        hr = items->Next(1, &item, &fetched);
        if (hr != S_OK || fetched != 1) {
            if (item) m_pMalloc->Free(item);
            break;
        }
        STRRET name{};
        hr = folder->GetDisplayNameOf(item, SHGDN_INFOLDER, &name);
        if (FAILED(hr)) {
            m_pMalloc->Free(item);
            break;
        }
        ShellItem entry;
        GetItemIcons(folder, item, &entry.SmallIcon, &entry.LargeIcon);  // an item without icons stays
        entry.Name = StrRetToText(item, &name);
        m_items.push_front(std::move(entry));
        m_pMalloc->Free(item);
    }
    items->Release();
    return hr;
}

HRESULT CSpecialFolderEnum::GetItemIcons(IShellFolder* folder, LPCITEMIDLIST item, HICON* small, HICON* large) {
    IExtractIconW* extractor = nullptr;
    HRESULT hr = folder->GetUIObjectOf(nullptr, 1, &item, IID_IExtractIconW, nullptr,
                                       reinterpret_cast<void**>(&extractor));
    if (FAILED(hr)) return hr;
    if (!extractor) return E_NOINTERFACE;
    wchar_t file[MAX_PATH] = L"";
    int index = 0;
    UINT flags = 0;
    HICON big = nullptr, little = nullptr;
    const UINT sizes = MAKELONG(32, 16);
    hr = extractor->GetIconLocation(0, file, MAX_PATH, &index, &flags);
    if (SUCCEEDED(hr)) hr = extractor->Extract(file, index, &big, &little, sizes);
    // S_FALSE from Extract asks the caller to take the icons from the location itself.
    if (hr == S_FALSE && !(flags & GIL_NOTFILENAME))
        hr = ::SHDefExtractIconW(file, index, 0, &big, &little, sizes);
    extractor->Release();
    if (hr == S_OK) {
        *small = little;
        *large = big;
    } else {
        if (big) ::DestroyIcon(big);
        if (little) ::DestroyIcon(little);
        if (SUCCEEDED(hr)) hr = E_FAIL;
    }
    return hr;
}

std::wstring CSpecialFolderEnum::StrRetToText(LPCITEMIDLIST item, STRRET* strret) {
    switch (strret->uType) {
    case STRRET_WSTR: {
        std::wstring text = strret->pOleStr;
        ::CoTaskMemFree(strret->pOleStr);  // the shell's string is the caller's to free
        strret->pOleStr = nullptr;
        return text;
    }
    case STRRET_OFFSET:
    case STRRET_CSTR: {
        // The shell's 8-bit forms; StrRetToBufW widens them.
        wchar_t text[MAX_PATH] = L"";
        ::StrRetToBufW(strret, item, text, MAX_PATH);
        return text;
    }
    default:
        return {};
    }
}

void CSpecialFolderEnum::FreeItems() {
    for (ShellItem& i : m_items) {
        if (i.SmallIcon) ::DestroyIcon(i.SmallIcon);
        if (i.LargeIcon) ::DestroyIcon(i.LargeIcon);
    }
    m_items.clear();
}
