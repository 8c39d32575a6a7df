#include "SystemVw.h"

#include "LogoffDlg.h"
#include "MruData.h"
#include "PageMessage.h"
#include "RegistryErase.h"
#include "ShellReader.h"
#include "resource.h"

const wchar_t* const CSystemVw::kRegeditKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Regedit";
const wchar_t* const CSystemVw::kMapDriveKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Map Network Drive MRU";
const wchar_t* const CSystemVw::kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";
const wchar_t* const CSystemVw::kAutoCompleteKeys[2] = {L"Software\\Microsoft\\Search Assistant\\ACMru\\5603",
                                                     L"Software\\Microsoft\\Search Assistant\\ACMru\\5604"};

const MsgMap CSystemVw::messageMap{&CPageView::messageMap, {
    msg::Command(IDC_SYSREG_ERASE, &CSystemVw::OnErase),
}};

CSystemVw::CSystemVw() : CPageView(IDD_SYSREG, look::ListLook(IDC_SYSREG_TITLE, IDC_SYSREG_TEXT), L"System Registry Traces") {}

void CSystemVw::DoDataExchange(CDataExchange* pDX) {
    CPageView::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SYSREG_TREE, m_tree);
    if (!pDX->m_bSaveAndValidate) Fill();
}

namespace {
// One read of a value's text; `ok` says whether the value was there.
struct Reader {
    CSpecialFolderEnum reader;
    wchar_t text[CSpecialFolderEnum::kTextSize];
    std::wstring Read(const wchar_t* key, const std::wstring& name, bool* ok = nullptr) {
        reader.ReadRegString(HKEY_CURRENT_USER, key, name.c_str(), text);
        if (ok) *ok = reader.LastReadOk();
        return text;
    }
};
}  // namespace

void CSystemVw::Fill() {
    Reader r;
    bool ok = false;
    m_tree.DeleteAllItems();
    HTREEITEM root = m_tree.InsertItem(L"Most Recent Used Files List");
    m_tree.InsertItem(L"Attached Printer List", root);

    HTREEITEM lastKey = m_tree.InsertItem(L"Last Opened Registry Key", root);
    std::wstring text = r.Read(kRegeditKey, L"LastKey", &ok);
    if (ok) m_tree.InsertItem(text, lastKey);

    // A letter without its value still shows, as an empty child.
    HTREEITEM drives = m_tree.InsertItem(L"Mapped Network Drive List", root);
    for (const std::wstring& name : mru::NamesFromList(r.Read(kMapDriveKey, L"MRUList")))
        m_tree.InsertItem(r.Read(kMapDriveKey, name), drives);

    HTREEITEM run = m_tree.InsertItem(L"Run List", root);
    for (const std::wstring& name : mru::NamesFromList(r.Read(kRunKey, L"MRUList"))) {
        text = r.Read(kRunKey, name, &ok);
        if (!ok) break;
        m_tree.InsertItem(mru::RunEntryText(text), run);
    }

    HTREEITEM complete = m_tree.InsertItem(L"Start Menu Auto Complete(Computers,Files.Movies etc..)", root);
    for (int n = 0; n <= 999; ++n) {
        std::wstring name = mru::ThreeDigitName(n);
        std::wstring first = r.Read(kAutoCompleteKeys[0], name);
        std::wstring second = r.Read(kAutoCompleteKeys[1], name, &ok);
        if (!ok) break;
        m_tree.InsertItem(first, complete);
        m_tree.InsertItem(second, complete);
    }
    m_tree.InsertItem(L"Stream List", root);
    m_tree.Expand(root, TVE_EXPAND);
}

EraseResult CSystemVw::EraseWithoutWindow() {
    EraseResult result;
    for (const wchar_t* key : kAutoCompleteKeys) regerase::DeleteKey(HKEY_CURRENT_USER, key, result);
    regerase::DeleteValue(HKEY_CURRENT_USER, kRegeditKey, L"LastKey", result);
    Reader r;
    for (const std::wstring& name : mru::NamesFromList(r.Read(kRunKey, L"MRUList")))
        regerase::DeleteValue(HKEY_CURRENT_USER, kRunKey, name, result);
    for (const std::wstring& name : mru::NamesFromList(r.Read(kMapDriveKey, L"MRUList")))
        regerase::DeleteValue(HKEY_CURRENT_USER, kMapDriveKey, name, result);
    regerase::DeleteValue(HKEY_CURRENT_USER, kMapDriveKey, L"MRUList", result);
    return result;
}

void CSystemVw::OnErase() {
    EraseResult result = EraseWithoutWindow();
    // Filled again from the registry: a child whose value stayed stays, whatever the tree showed.
    Fill();
    if (!result.Complete()) ShowPageMessage(L"Some registry traces could not be erased.");
    OfferLogOff();
}

void CSystemVw::OfferLogOff() {
    CLogoffDlg prompt;
    prompt.DoModal();
}
