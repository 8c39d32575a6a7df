#include "TypedUrlVw.h"

#include <memory>

#include "SafeRegistry.h"
#include "ShellReader.h"
#include "resource.h"

const wchar_t* const CTypedUrlVw::kKey = L"Software\\Microsoft\\Internet Explorer\\TypedURLs";

const MsgMap CTypedUrlVw::messageMap{&CPageView::messageMap, {
    msg::Command(IDC_TYPEDURL_ERASE, &CTypedUrlVw::OnErase),
}};

CTypedUrlVw::CTypedUrlVw() : CPageView(IDD_TYPEDURL, look::ListLook(IDC_TYPEDURL_TITLE, IDC_TYPEDURL_TEXT), L"Typed URL") {}

void CTypedUrlVw::DoDataExchange(CDataExchange* pDX) {
    CPageView::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_TYPEDURL_LIST, m_list);
    DDX_LBString(pDX, IDC_TYPEDURL_LIST, m_selection);
    // Only when the controls are filled: reading them back must not list everything twice.
    if (!pDX->m_bSaveAndValidate) Fill();
}

// url1, url2, ... in registry order, up to the first value that is missing or does not fit.
void CTypedUrlVw::Fill() {
    auto reader = std::make_unique<CSpecialFolderEnum>();
    wchar_t text[CSpecialFolderEnum::kTextSize];
    for (int n = 1; n <= kMaxEntries; ++n) {
        std::wstring name = L"url" + std::to_wstring(n);
        reader->ReadRegString(HKEY_CURRENT_USER, kKey, name.c_str(), text);
        if (!reader->LastReadOk()) break;
        m_list.AddString(text);
    }
}

namespace {
// Whether the key is gone, asked anew: a delete can fail part-way with "not found" (a subkey
// that cannot be opened) while the key itself stays.
bool KeyIsGone(HKEY root, const wchar_t* subKey) {
    HKEY key = nullptr;
    LONG rc = ::RegOpenKeyW(root, subKey, &key);
    if (rc == ERROR_SUCCESS) ::RegCloseKey(key);
    return rc == ERROR_FILE_NOT_FOUND;
}
}  // namespace

bool CTypedUrlVw::Erase() {
    safereg::DeleteKeyTree(HKEY_CURRENT_USER, kKey);
    // A key that was already missing is as erased as one deleted now.
    bool gone = KeyIsGone(HKEY_CURRENT_USER, kKey);
    if (gone)
        for (int i = m_list.GetCount() - 1; i >= 0; --i) m_list.DeleteString(i);
    ::MessageBoxW(nullptr, gone ? L"Typed URLs Completely Erased." : L"Typed URLs could not be erased.",
                  L"Corvane-Sweepmere", MB_ICONINFORMATION | MB_SYSTEMMODAL);
    return gone;
}

void CTypedUrlVw::OnErase() {
    if (m_erasing) return;  // ERASE pressed again while the message box is up
    m_erasing = true;
    HWND self = m_hWnd;
    Erase();
    if (::IsWindow(self) && FromHandlePermanent(self) == this) m_erasing = false;
}
