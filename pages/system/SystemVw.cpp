#include "SystemVw.h"

#include "LogoffDlg.h"
#include "MruData.h"
#include "PageMessage.h"
#include "RegistryErase.h"
#include "ShellReader.h"
#include "resource.h"

const char* const CSystemVw::kRegeditKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Regedit";
const char* const CSystemVw::kMapDriveKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Map Network Drive MRU";
const char* const CSystemVw::kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";
const char* const CSystemVw::kAutoCompleteKeys[2] = {"Software\\Microsoft\\Search Assistant\\ACMru\\5603",
                                                     "Software\\Microsoft\\Search Assistant\\ACMru\\5604"};

const MsgMap CSystemVw::messageMap{&CPageView::messageMap, {
    msg::Command(IDC_SYSREG_ERASE, &CSystemVw::OnErase),
}};

CSystemVw::CSystemVw() : CPageView(IDD_SYSREG, look::ListLook(IDC_SYSREG_TITLE, IDC_SYSREG_TEXT), "System Registry Traces") {}

void CSystemVw::DoDataExchange(CDataExchange* pDX) {
    CPageView::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SYSREG_TREE, m_tree);
    if (!pDX->m_bSaveAndValidate) Fill();
}

namespace {
// One read of a value's text; `ok` says whether the value was there.
struct Reader {
    CSpecialFolderEnum reader;
    char text[CSpecialFolderEnum::kTextSize];
    std::string Read(const char* key, const std::string& name, bool* ok = nullptr) {
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
    HTREEITEM root = m_tree.InsertItem("Most Recent Used Files List");
    m_tree.InsertItem("Attached Printer List", root);

    HTREEITEM lastKey = m_tree.InsertItem("Last Opened Registry Key", root);
    std::string text = r.Read(kRegeditKey, "LastKey", &ok);
    if (ok) m_tree.InsertItem(text, lastKey);

    // A letter without its value still shows, as an empty child.
    HTREEITEM drives = m_tree.InsertItem("Mapped Network Drive List", root);
    for (const std::string& name : mru::NamesFromList(r.Read(kMapDriveKey, "MRUList")))
        m_tree.InsertItem(r.Read(kMapDriveKey, name), drives);

    HTREEITEM run = m_tree.InsertItem("Run List", root);
    for (const std::string& name : mru::NamesFromList(r.Read(kRunKey, "MRUList"))) {
        text = r.Read(kRunKey, name, &ok);
        if (!ok) break;
        m_tree.InsertItem(mru::RunEntryText(text), run);
    }

    HTREEITEM complete = m_tree.InsertItem("Start Menu Auto Complete(Computers,Files.Movies etc..)", root);
    for (int n = 0; n <= 999; ++n) {
        std::string name = mru::ThreeDigitName(n);
        std::string first = r.Read(kAutoCompleteKeys[0], name);
        std::string second = r.Read(kAutoCompleteKeys[1], name, &ok);
        if (!ok) break;
        m_tree.InsertItem(first, complete);
        m_tree.InsertItem(second, complete);
    }
    m_tree.InsertItem("Stream List", root);
    m_tree.Expand(root, TVE_EXPAND);
}

EraseResult CSystemVw::EraseWithoutWindow() {
    EraseResult result;
    for (const char* key : kAutoCompleteKeys) regerase::DeleteKey(HKEY_CURRENT_USER, key, result);
    regerase::DeleteValue(HKEY_CURRENT_USER, kRegeditKey, "LastKey", result);
    Reader r;
    for (const std::string& name : mru::NamesFromList(r.Read(kRunKey, "MRUList")))
        regerase::DeleteValue(HKEY_CURRENT_USER, kRunKey, name, result);
    for (const std::string& name : mru::NamesFromList(r.Read(kMapDriveKey, "MRUList")))
        regerase::DeleteValue(HKEY_CURRENT_USER, kMapDriveKey, name, result);
    regerase::DeleteValue(HKEY_CURRENT_USER, kMapDriveKey, "MRUList", result);
    return result;
}

void CSystemVw::OnErase() {
    EraseResult result = EraseWithoutWindow();
    // Filled again from the registry: a child whose value stayed stays, whatever the tree showed.
    Fill();
    if (!result.Complete()) ShowPageMessage("Some registry traces could not be erased.");
    OfferLogOff();
}

void CSystemVw::OfferLogOff() {
    CLogoffDlg prompt;
    prompt.DoModal();
}
