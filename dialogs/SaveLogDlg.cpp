#include "SaveLogDlg.h"

#include "resource.h"

const char kDefaultLogPath[] = "d:\\Erase.txt";

std::string& LogPath() {
    static std::string path = kDefaultLogPath;
    return path;
}

namespace {
// Shows the path of the folder under the selection in the browser's status line.
int CALLBACK BrowseCallback(HWND hwnd, UINT msg, LPARAM lParam, LPARAM) {
    if (msg == BFFM_SELCHANGED) {
        char path[MAX_PATH] = "";
        if (!::SHGetPathFromIDListA(reinterpret_cast<PCIDLIST_ABSOLUTE>(lParam), path)) path[0] = '\0';
        ::SendMessageA(hwnd, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(path));
    }
    return 0;
}

// The log in the folder; a drive's root already ends with its separator ("C:\").
std::string LogFileInFolder(const std::string& folder) {
    if (!folder.empty() && folder.back() == '\\') return folder + "Erase.txt";
    return folder + "\\Erase.txt";
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
    if (!pDX->m_bSaveAndValidate) {
        LogPath() = kDefaultLogPath;
        m_strFileName = LogPath();
    }
    DDX_Text(pDX, IDC_SAVELOG_FILENAME, m_strFileName);
}

void CSaveLogDlg::OnBrowse() {
    char name[MAX_PATH] = "";
    BROWSEINFOA bi{};
    bi.hwndOwner = m_hWnd;
    bi.pszDisplayName = name;
    bi.lpszTitle = "Select drive/folder for save recovery:";
    bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
    bi.lpfn = BrowseCallback;
    PIDLIST_ABSOLUTE chosen = ::SHBrowseForFolderA(&bi);
    if (!chosen) return;
    char path[MAX_PATH] = "";
    if (::SHGetPathFromIDListA(chosen, path)) SetDlgItemText(IDC_SAVELOG_FILENAME, LogFileInFolder(path));
    ::CoTaskMemFree(chosen);
}

void CSaveLogDlg::OnOk() {
    UpdateData(TRUE);
    // Emptying a file that holds something (a document whose name was typed here) is asked first.
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (::GetFileAttributesExA(m_strFileName.c_str(), GetFileExInfoStandard, &data) &&
        !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && (data.nFileSizeLow || data.nFileSizeHigh)) {
        std::string question = m_strFileName + " already exists. Do you want to replace it?";
        if (::MessageBoxA(m_hWnd, question.c_str(), "Corvane-Sweepmere", MB_YESNO | MB_ICONWARNING) != IDYES) return;
    }
    LogPath() = m_strFileName;
    // Created, or emptied when it exists; a name that cannot be made is simply not made.
    HANDLE file = ::CreateFileA(LogPath().c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
    EndDialog(IDOK);
}

void CSaveLogDlg::OnCancelButton() { EndDialog(IDCANCEL); }
