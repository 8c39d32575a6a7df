#include "SaveLogDlg.h"

#include "LogFile.h"
#include "Policy.h"
#include "resource.h"

namespace {
// Shows the path of the folder under the selection in the browser's status line.
int CALLBACK BrowseCallback(HWND hwnd, UINT msg, LPARAM lParam, LPARAM) {
    if (msg == BFFM_SELCHANGED) {
        wchar_t path[MAX_PATH] = L"";
        if (!::SHGetPathFromIDListW(reinterpret_cast<PCIDLIST_ABSOLUTE>(lParam), path)) path[0] = '\0';
        ::SendMessageW(hwnd, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(path));
    }
    return 0;
}

// The log in the folder; a drive's root already ends with its separator ("C:\").
std::wstring LogFileInFolder(const std::wstring& folder) {
    if (!folder.empty() && folder.back() == '\\') return folder + L"Erase.txt";
    return folder + L"\\Erase.txt";
}
}  // namespace

const MsgMap CSaveLogDlg::messageMap{&CDialog::messageMap, {
    msg::Command(IDC_SAVELOG_BROWSE, &CSaveLogDlg::OnBrowse),
    msg::Command(IDC_SAVELOG_OK, &CSaveLogDlg::OnOk),
    msg::Command(IDC_SAVELOG_CANCEL, &CSaveLogDlg::OnCancelButton),
}};

CSaveLogDlg::CSaveLogDlg(CWnd* pParent) : CDialog(IDD_SAVELOG, pParent) {}

void CSaveLogDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    if (!pDX->m_bSaveAndValidate) m_strFileName = engine::LogPath();
    DDX_Text(pDX, IDC_SAVELOG_FILENAME, m_strFileName);
}

// An administrator's log is shown, never changed or emptied here.
BOOL CSaveLogDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (!engine::PolicyLogFile().empty()) {
        for (int id : {IDC_SAVELOG_FILENAME, IDC_SAVELOG_BROWSE}) ::EnableWindow(::GetDlgItem(m_hWnd, id), FALSE);
        ::ShowWindow(::GetDlgItem(m_hWnd, IDC_SAVELOG_POLICY), SW_SHOW);
    }
    return TRUE;
}

void CSaveLogDlg::OnBrowse() {
    wchar_t name[MAX_PATH] = L"";
    BROWSEINFOW bi{};
    bi.hwndOwner = m_hWnd;
    bi.pszDisplayName = name;
    bi.lpszTitle = L"Select drive/folder for save recovery:";
    bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
    bi.lpfn = BrowseCallback;
    PIDLIST_ABSOLUTE chosen = ::SHBrowseForFolderW(&bi);
    if (!chosen) return;
    wchar_t path[MAX_PATH] = L"";
    if (::SHGetPathFromIDListW(chosen, path)) SetDlgItemText(IDC_SAVELOG_FILENAME, LogFileInFolder(path));
    ::CoTaskMemFree(chosen);
}

void CSaveLogDlg::OnOk() {
    if (!engine::PolicyLogFile().empty()) {
        EndDialog(IDCANCEL);
        return;
    }
    UpdateData(TRUE);
    // Emptying a file that holds something (a document whose name was typed here) is asked first;
    // a link is never followed, so another file can never be emptied through it.
    engine::LogFileState state = engine::InspectLogFile(m_strFileName);
    if (state == engine::LogFileState::HoldsData) {
        std::wstring question = m_strFileName + L" already exists. Do you want to replace it?";
        if (::MessageBoxW(m_hWnd, question.c_str(), L"Corvane-Sweepmere", MB_YESNO | MB_ICONWARNING) != IDYES) return;
    }
    // Created, or emptied when it exists; when that fails the dialog stays open and says why.
    std::wstring problem = engine::CreateOrEmptyLogFile(m_strFileName);
    if (!problem.empty()) {
        ::MessageBoxW(m_hWnd, problem.c_str(), L"Corvane-Sweepmere", MB_OK | MB_ICONWARNING);
        return;
    }
    if (!engine::KeepLogPath(m_strFileName)) {
        ::MessageBoxW(m_hWnd, L"The log file's name could not be kept for the next start.", L"Corvane-Sweepmere",
                      MB_OK | MB_ICONWARNING);
    }
    EndDialog(IDOK);
}

void CSaveLogDlg::OnCancelButton() { EndDialog(IDCANCEL); }
