#include "WipeListVw.h"

#include <commdlg.h>

#include <algorithm>
#include <atomic>

#include "AskTextDlg.h"
#include "RegKey.h"
#include "Report.h"
#include "ReportBox.h"
#include "Settings.h"
#include "Text.h"
#include "resource.h"

namespace {
look::PageLook WipeListLook() {
    using namespace look;
    return {kWipeListGrey,
            {Colour(kWipeListGrey, {1189, 1190, 1191, 1192, 1193}),
             Font(kTitleFont, {1189}),
             Font(kTextFont, {1190, 1191, 1193}),
             Font(kHeadingFont, {1192})}};
}

const int kControls[] = {IDC_WIPELIST_LISTS,      IDC_WIPELIST_ENTRIES,    IDC_WIPELIST_NEW,     IDC_WIPELIST_SAVE,
                         IDC_WIPELIST_DELETE,     IDC_WIPELIST_ADD_FILES,  IDC_WIPELIST_ADD_FOLDER,
                         IDC_WIPELIST_ADD_KEY,    IDC_WIPELIST_REMOVE,     IDC_WIPELIST_PREVIEW, IDC_WIPELIST_ERASE};

const wchar_t* KindText(engine::WipeKind kind) {
    switch (kind) {
    case engine::WipeKind::File: return L"File";
    case engine::WipeKind::Folder: return L"Folder";
    default: return L"Registry Key";
    }
}

// A message or question of the page, owned by the main window so that the page can be neither
// closed nor pressed again while it is up.
int Box(const std::wstring& text, UINT type) {
    CWnd* main = AfxGetMainWnd();
    return ::MessageBoxW(main ? main->GetSafeHwnd() : nullptr, text.c_str(), L"Corvane-Sweepmere", type);
}

std::wstring Quoted(const std::wstring& name) { return L"\"" + name + L"\""; }

// "Line 3: <reason>: <the line>", one a line.
std::wstring BadLinesText(const engine::WipeList& list) {
    std::wstring text;
    for (const engine::KeptLine& bad : list.bad)
        text += L"\nLine " + std::to_wstring(bad.line) + L": " + bad.reason + L": " + bad.text;
    return text;
}

// Why a typed key cannot be added: not a key a list may hold, or not there.
std::wstring KeyProblem(const std::wstring& text) {
    std::wstring why = engine::CheckEntryText(engine::WipeKind::Key, text);
    engine::KeyPath key;
    if (!why.empty() || !engine::SplitKey(text, key)) return why.empty() ? L"not a key of HKCU or HKLM" : why;
    HKEY root = key.hive == engine::Hive::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    engine::RegKey opened;
    LONG error = opened.Open(root, key.path);
    if (error == ERROR_SUCCESS) return {};
    if (error == ERROR_FILE_NOT_FOUND) return L"There is no key " + engine::KeyText(key) + L".";
    if (error == engine::kRegLinkRefused) return engine::KeyText(key) + L" is reached through a registry link.";
    return engine::Reason(engine::KeyText(key), static_cast<DWORD>(error));
}

// The common file dialog, several files at once.
bool AskForFiles(HWND owner, std::vector<std::wstring>& paths) {
    std::vector<wchar_t> buffer(32768, L'\0');
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = L"All Files (*.*)\0*.*\0";
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ofn.lpstrTitle = L"Add Files";
    ofn.Flags = OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NODEREFERENCELINKS |
                OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!::GetOpenFileNameW(&ofn)) return false;
    // One file: its path. Several: the folder, then each name, each ending in a zero.
    std::wstring folder = buffer.data();
    const wchar_t* name = buffer.data() + folder.size() + 1;
    if (!*name) paths.push_back(folder);
    if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
    for (; *name; name += wcslen(name) + 1) paths.push_back(folder + name);
    return true;
}

bool AskForFolder(HWND owner, std::wstring& folder) {
    wchar_t path[MAX_PATH] = L"";
    BROWSEINFOW bi{};
    bi.hwndOwner = owner;
    bi.pszDisplayName = path;
    bi.lpszTitle = L"Choose a folder to add to the wipe list:";
    bi.ulFlags = BIF_RETURNONLYFSDIRS;
    PIDLIST_ABSOLUTE chosen = ::SHBrowseForFolderW(&bi);
    if (!chosen) return false;
    bool ok = ::SHGetPathFromIDListW(chosen, path) != FALSE;
    ::CoTaskMemFree(chosen);
    folder = path;
    return ok;
}

// "12 items, 3.4 KB", or why the entry cannot be looked at.
std::wstring PreviewText(const engine::EntryPreview& p) {
    if (!p.problem.empty()) return p.problem;
    std::wstring text = std::to_wstring(p.items) + (p.items == 1 ? L" item" : L" items");
    if (p.bytes) text += L", " + engine::SizeText(p.bytes);
    return text;
}
}  // namespace

const MsgMap CWipeListVw::messageMap{&CPageView::messageMap, {
    msg::Control(CBN_SELCHANGE, IDC_WIPELIST_LISTS, &CWipeListVw::OnChooseList),
    msg::Command(IDC_WIPELIST_NEW, &CWipeListVw::OnNew),
    msg::Command(IDC_WIPELIST_SAVE, &CWipeListVw::OnSave),
    msg::Command(IDC_WIPELIST_DELETE, &CWipeListVw::OnDeleteList),
    msg::Command(IDC_WIPELIST_ADD_FILES, &CWipeListVw::OnAddFiles),
    msg::Command(IDC_WIPELIST_ADD_FOLDER, &CWipeListVw::OnAddFolder),
    msg::Command(IDC_WIPELIST_ADD_KEY, &CWipeListVw::OnAddKey),
    msg::Command(IDC_WIPELIST_REMOVE, &CWipeListVw::OnRemove),
    msg::Command(IDC_WIPELIST_PREVIEW, &CWipeListVw::OnPreview),
    msg::Command(IDC_WIPELIST_ERASE, &CWipeListVw::OnErase),
}};

CWipeListVw::CWipeListVw() : CPageView(IDD_WIPELIST, WipeListLook(), nullptr) {}
CWipeListVw::~CWipeListVw() = default;

std::function<bool(std::vector<std::wstring>&)>& CWipeListVw::ChooseFilesForTests() {
    static std::function<bool(std::vector<std::wstring>&)> choose;
    return choose;
}

std::function<bool(std::wstring&)>& CWipeListVw::ChooseFolderForTests() {
    static std::function<bool(std::wstring&)> choose;
    return choose;
}

void CWipeListVw::DoDataExchange(CDataExchange* pDX) {
    CPageView::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_WIPELIST_LISTS, m_lists);
    DDX_Control(pDX, IDC_WIPELIST_ENTRIES, m_entries);
}

void CWipeListVw::OnInitialUpdate() {
    CPageView::OnInitialUpdate();
    m_inbox = std::make_shared<ui::Inbox>();
    m_entries.SetExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    CRect r;
    m_entries.GetClientRect(&r);
    const int kind = r.Width() / 6, size = r.Width() / 4;
    m_entries.InsertColumn(0, L"Kind", LVCFMT_LEFT, kind);
    m_entries.InsertColumn(1, L"Path", LVCFMT_LEFT, r.Width() - kind - size);
    m_entries.InsertColumn(2, L"Size", LVCFMT_LEFT, size);
    std::vector<std::wstring> names = engine::WipeListNames();
    FillNames(names.empty() ? std::wstring() : names.front());
    if (!names.empty()) Load(names.front());
    SetBusy(false);
}

void CWipeListVw::OnDestroy() {
    // Nothing a worker hands back reaches the page from now on; a running erase is asked to stop.
    if (m_inbox) m_inbox->Close();
    m_worker.Stop(100);
    CPageView::OnDestroy();
}

void CWipeListVw::FillNames(const std::wstring& select) {
    m_lists.ResetContent();
    for (const std::wstring& name : engine::WipeListNames()) m_lists.AddString(name);
    if (select.empty()) return;
    if (m_lists.FindStringExact(select) < 0) m_lists.AddString(select);  // new and not saved yet
    m_lists.SetCurSel(m_lists.FindStringExact(select));
}

void CWipeListVw::Load(const std::wstring& name) {
    engine::WipeList list;
    std::wstring why;
    if (!engine::LoadWipeList(name, list, &why)) {
        Box(why, MB_OK | MB_ICONWARNING);
        list = engine::WipeList{};
    }
    m_list = list;
    m_changed = false;
    ShowEntries();
    if (!m_list.bad.empty())
        Box(L"These lines of the wipe list " + Quoted(name) + L" could not be read:" + BadLinesText(m_list),
                      MB_OK | MB_ICONWARNING);
}

// Every entry a row, checked.
void CWipeListVw::ShowEntries() {
    m_entries.DeleteAllItems();
    for (const engine::WipeEntry& e : m_list.entries) {
        int row = m_entries.InsertItem(m_entries.GetItemCount(), KindText(e.kind));
        m_entries.SetItemText(row, 1, e.target);
        m_entries.SetCheck(row, TRUE);
    }
}

std::vector<bool> CWipeListVw::Checked() const {
    std::vector<bool> checked(m_list.entries.size(), false);
    for (size_t i = 0; i < checked.size(); ++i) checked[i] = m_entries.GetCheck(static_cast<int>(i)) != FALSE;
    return checked;
}

void CWipeListVw::SetBusy(bool busy) {
    m_busy = busy;
    for (int id : kControls) {
        bool needsList = id != IDC_WIPELIST_LISTS && id != IDC_WIPELIST_NEW;
        ::EnableWindow(::GetDlgItem(m_hWnd, id), !busy && (HaveList() || !needsList));
    }
}

void CWipeListVw::OnChooseList() {
    int sel = m_lists.GetCurSel();
    if (sel < 0 || m_busy) return;
    std::wstring name = m_lists.GetLBText(sel);
    if (name == m_list.name) return;
    if (!SettleChanges()) {
        m_lists.SetCurSel(m_lists.FindStringExact(m_list.name));
        return;
    }
    FillNames(name);  // a new list that was never saved leaves the box
    Load(name);
    SetBusy(false);
}

bool CWipeListVw::SettleChanges() {
    if (!m_changed) return true;
    int answer = Box(L"Save the changes to the wipe list " + Quoted(m_list.name) + L"?", MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDCANCEL) return false;
    if (answer == IDYES) OnSave();
    return answer == IDNO || !m_changed;
}

void CWipeListVw::OnNew() {
    if (!SettleChanges()) return;
    auto check = [](const std::wstring& name) -> std::wstring {
        std::wstring why = engine::CheckListName(name);
        if (!why.empty()) return why;
        for (const std::wstring& saved : engine::WipeListNames())
            if (engine::SameNoCase(saved, name)) return L"A wipe list named " + Quoted(saved) + L" already exists.";
        return {};
    };
    CAskTextDlg ask(L"New Wipe List", L"Name of the new list:", check, this);
    if (ask.DoModal() != IDOK) return;
    m_list = engine::WipeList{};
    m_list.name = ask.m_text;
    m_changed = false;
    FillNames(m_list.name);
    ShowEntries();
    SetBusy(false);
}

void CWipeListVw::OnSave() {
    if (!HaveList()) return;
    engine::WipeList list = m_list;
    if (!list.bad.empty()) {
        std::wstring question = L"The wipe list " + Quoted(list.name) + L" holds lines that could not be read:" +
                                BadLinesText(list) + L"\n\nKeep them in the list file? (No drops them.)";
        int answer = Box(question, MB_YESNOCANCEL | MB_ICONQUESTION);
        if (answer == IDCANCEL) return;
        if (answer == IDNO) list.bad.clear();
    }
    std::wstring why;
    if (!engine::SaveWipeList(list, &why)) {
        Box(L"The wipe list " + Quoted(list.name) + L" could not be saved: " + why, MB_OK | MB_ICONWARNING);
        return;
    }
    m_list.bad = list.bad;
    m_changed = false;
    FillNames(list.name);
}

void CWipeListVw::OnDeleteList() {
    if (!HaveList()) return;
    std::wstring question = L"Delete the wipe list " + Quoted(m_list.name) + L"? The files, folders and keys it names stay.";
    if (Box(question, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    std::wstring why;
    if (!engine::DeleteWipeList(m_list.name, &why)) {
        Box(why, MB_OK | MB_ICONWARNING);
        return;
    }
    m_list = engine::WipeList{};
    m_changed = false;
    std::vector<std::wstring> names = engine::WipeListNames();
    FillNames(names.empty() ? std::wstring() : names.front());
    if (names.empty())
        ShowEntries();
    else
        Load(names.front());
    SetBusy(false);
}

// An entry at the end, checked; one the list holds already is not added twice.
void CWipeListVw::Add(engine::WipeKind kind, const std::wstring& target) {
    std::wstring why = engine::CheckEntryText(kind, target);
    if (!why.empty()) {
        Box(target + L": " + why, MB_OK | MB_ICONWARNING);
        return;
    }
    for (const engine::WipeEntry& e : m_list.entries)
        if (e.kind == kind && engine::SameNoCase(e.target, target)) return;
    m_list.entries.push_back({kind, target, 0});
    m_changed = true;
    int row = m_entries.InsertItem(m_entries.GetItemCount(), KindText(kind));
    m_entries.SetItemText(row, 1, target);
    m_entries.SetCheck(row, TRUE);
}

void CWipeListVw::OnAddFiles() {
    if (!HaveList()) return;
    std::vector<std::wstring> paths;
    bool chosen = ChooseFilesForTests() ? ChooseFilesForTests()(paths) : AskForFiles(m_hWnd, paths);
    if (chosen)
        for (const std::wstring& path : paths) Add(engine::WipeKind::File, path);
}

void CWipeListVw::OnAddFolder() {
    if (!HaveList()) return;
    std::wstring folder;
    bool chosen = ChooseFolderForTests() ? ChooseFolderForTests()(folder) : AskForFolder(m_hWnd, folder);
    if (chosen) Add(engine::WipeKind::Folder, folder);
}

void CWipeListVw::OnAddKey() {
    if (!HaveList()) return;
    CAskTextDlg ask(L"Add Registry Key", L"The key to erase (HKCU\\... or HKLM\\...):", KeyProblem, this);
    engine::KeyPath key;
    if (ask.DoModal() == IDOK && engine::SplitKey(ask.m_text, key)) Add(engine::WipeKind::Key, engine::KeyText(key));
}

void CWipeListVw::OnRemove() {
    for (int row = m_entries.GetItemCount() - 1; row >= 0; --row)
        if (m_entries.SendMessage(LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED) {
            m_entries.DeleteItem(row);
            m_list.entries.erase(m_list.entries.begin() + row);
            m_changed = true;
        }
}

bool CWipeListVw::Start(engine::Worker::Job job) {
    std::shared_ptr<ui::Inbox> inbox = m_inbox;
    auto failed = [inbox, this](const std::wstring& why) {
        inbox->Post([this, why] {
            SetBusy(false);
            report::ShowText(L"The wipe list " + Quoted(m_list.name) + L" was not erased: " + why, true);
        });
    };
    SetBusy(true);
    if (m_worker.Start(std::move(job), failed)) return true;
    SetBusy(false);
    Box(L"The work could not be started.", MB_OK | MB_ICONWARNING);
    return false;
}

void CWipeListVw::OnPreview() {
    if (!HaveList() || m_busy) return;
    for (int row = 0; row < m_entries.GetItemCount(); ++row) m_entries.SetItemText(row, 2, L"");
    std::shared_ptr<ui::Inbox> inbox = m_inbox;
    Start([inbox, this, list = m_list, checked = Checked()](const engine::StopToken& stop) {
        engine::Options options;
        options.stop = &stop;
        std::vector<engine::EntryPreview> previews = engine::PreviewWipeList(list, checked, options);
        inbox->Post([this, previews] {
            SetBusy(false);
            for (const engine::EntryPreview& p : previews) m_entries.SetItemText(static_cast<int>(p.entry), 2, PreviewText(p));
        });
    });
}

void CWipeListVw::OnErase() {
    if (!HaveList() || m_busy) return;
    std::vector<bool> checked = Checked();
    if (std::find(checked.begin(), checked.end(), true) == checked.end()) {
        Box(L"No entry of the wipe list " + Quoted(m_list.name) + L" is checked.", MB_OK | MB_ICONINFORMATION);
        return;
    }
    std::wstring question = L"Erase the checked entries of " + m_list.name + L"? They cannot be restored.";
    if (Box(question, MB_YESNO | MB_ICONWARNING) != IDYES) return;
    for (int row = 0; row < m_entries.GetItemCount(); ++row) m_entries.SetItemText(row, 2, L"");
    engine::Options options = settings::EraseOptions();
    std::shared_ptr<ui::Inbox> inbox = m_inbox;
    Start([inbox, this, options, list = m_list, checked](const engine::StopToken& stop) mutable {
        options.stop = &stop;
        // Checked here, not on the window's thread: an unreachable share takes a network time-out.
        std::vector<engine::Refusal> refusals = engine::CheckWipeList(list, checked);
        if (!refusals.empty()) {
            std::wstring text = L"These entries will not be erased:\n";
            for (const engine::Refusal& r : refusals) {
                const std::wstring& target = list.entries[r.entry].target;
                text += L"\n" + (r.reason.rfind(target, 0) == 0 ? r.reason : target + L": " + r.reason);
            }
            // The user reads them before anything is erased; the flag outlives a page closed meanwhile.
            auto told = std::make_shared<std::atomic<bool>>(false);
            inbox->Post([text, told] {
                Box(text, MB_OK | MB_ICONWARNING);
                *told = true;
            });
            while (!*told)
                if (stop.Wait(20)) return;
        }
        const engine::Category category = engine::WipeListCategory(list, checked);
        std::vector<engine::Outcome> outcomes = engine::EraseCategories({&category}, options);
        inbox->Post([this, outcomes] {
            if (report::ShowPageReport(*this, outcomes)) SetBusy(false);
        });
    });
}
