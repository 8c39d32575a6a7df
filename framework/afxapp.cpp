#include "afxapp.h"

#include <commdlg.h>
#include <objbase.h>
#include <process.h>

#include <cstdlib>

#include "afxview.h"

namespace {
CWinApp* g_app = nullptr;

struct ThreadExit {
    UINT code;
};

unsigned __stdcall ThreadEntry(void* p) {
    auto* t = static_cast<CWinThread*>(p);
    UINT code = 0;
    try {
        code = t->m_pfnThreadProc(t->m_pThreadParams);
    } catch (const ThreadExit& e) {
        code = e.code;
    }
    if (t->m_bAutoDelete) delete t;
    return code;
}

// Messages that do not mean the user did something: they must not restart idle processing.
bool IsIdleMessage(const MSG& m) { return m.message != WM_PAINT && m.message != 0x0118; }

BOOL CALLBACK SendIdleUpdate(HWND h, LPARAM) {
    if (CWnd::FromHandlePermanent(h)) ::SendMessageW(h, WM_IDLEUPDATECMDUI, TRUE, 0);
    return TRUE;
}
}  // namespace

// ---- threads ----

CWinThread::~CWinThread() {
    if (m_hThread) ::CloseHandle(m_hThread);
}

CWinThread* AfxBeginThread(AFX_THREADPROC pfn, LPVOID pParam, int nPriority, UINT nStackSize, DWORD dwCreateFlags,
                           LPSECURITY_ATTRIBUTES lpsa) {
    auto* t = new CWinThread;
    t->m_pfnThreadProc = pfn;
    t->m_pThreadParams = pParam;
    unsigned id = 0;
    auto h = reinterpret_cast<HANDLE>(_beginthreadex(lpsa, nStackSize, ThreadEntry, t, CREATE_SUSPENDED, &id));
    if (!h) {
        delete t;
        return nullptr;
    }
    t->m_hThread = h;
    t->m_nThreadID = id;
    ::SetThreadPriority(h, nPriority);
    if (!(dwCreateFlags & CREATE_SUSPENDED)) t->ResumeThread();
    return t;
}

void AfxEndThread(UINT nExitCode) { throw ThreadExit{nExitCode}; }

// ---- command line ----

void CCommandLineInfo::ParseParam(const wchar_t* p, BOOL bFlag, BOOL) {
    if (bFlag) {
        if (lstrcmpiW(p, L"p") == 0) m_nShellCommand = FilePrint;
        else if (lstrcmpiW(p, L"pt") == 0) m_nShellCommand = FilePrintTo;
        else if (lstrcmpiW(p, L"dde") == 0) m_nShellCommand = FileDDE;
        else if (lstrcmpiW(p, L"nologo") == 0) m_bShowSplash = FALSE;
        return;
    }
    if (m_strFileName.empty()) {
        m_strFileName = p;
        if (m_nShellCommand == FileNew) m_nShellCommand = FileOpen;
    }
}

// ---- CWinApp ----

CWinApp::CWinApp(const wchar_t* appName) {
    g_app = this;
    m_pszAppName = appName ? appName : AfxLoadString(AFX_IDS_APP_TITLE);
    if (m_pszAppName.empty()) {
        wchar_t path[MAX_PATH] = L"";
        ::GetModuleFileNameW(nullptr, path, MAX_PATH);
        const wchar_t* name = wcsrchr(path, '\\');
        m_pszAppName = name ? name + 1 : path;
        size_t dot = m_pszAppName.rfind('.');
        if (dot != CString::npos) m_pszAppName.resize(dot);
    }
    m_pszProfileName = m_pszAppName;
    m_hThread = nullptr;
    m_nThreadID = ::GetCurrentThreadId();
    m_bAutoDelete = FALSE;
}

CWinApp::~CWinApp() {
    for (CDocTemplate* t : m_templates) delete t;
    if (g_app == this) g_app = nullptr;
}

BOOL CWinApp::InitApplication() { return TRUE; }

int CWinApp::ExitInstance() {
    if (!m_pszRegistryKey.empty()) SaveStdProfileSettings();
    return 0;
}

BOOL CWinApp::OnIdle(LONG lCount) {
    if (lCount == 0 && m_pMainWnd && m_pMainWnd->IsWindow()) {
        ::SendMessageW(m_pMainWnd->m_hWnd, WM_IDLEUPDATECMDUI, TRUE, 0);
        ::EnumChildWindows(m_pMainWnd->m_hWnd, SendIdleUpdate, 0);
    }
    CWnd::DeleteTempMap();
    return FALSE;
}

BOOL CWinApp::PreTranslateMessage(MSG* pMsg) {
    HWND stop = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
    for (HWND h = pMsg->hwnd; h; h = ::GetParent(h)) {
        if (CWnd* w = CWnd::FromHandlePermanent(h))
            if (w->PreTranslateMessage(pMsg)) return TRUE;
        if (h == stop) return FALSE;
    }
    return stop && m_pMainWnd->PreTranslateMessage(pMsg);
}

BOOL CWinApp::PumpMessage() {
    MSG m;
    if (!::GetMessageW(&m, nullptr, 0, 0)) return FALSE;
    if (!PreTranslateMessage(&m)) {
        ::TranslateMessage(&m);
        ::DispatchMessageW(&m);
    }
    return TRUE;
}

int CWinApp::Run() {
    bool idle = true;
    LONG idleCount = 0;
    for (;;) {
        MSG m;
        while (idle && !::PeekMessageW(&m, nullptr, 0, 0, PM_NOREMOVE))
            if (!OnIdle(idleCount++)) idle = false;
        if (!::GetMessageW(&m, nullptr, 0, 0)) {
            int code = ExitInstance();
            return code ? code : static_cast<int>(m.wParam);
        }
        if (!PreTranslateMessage(&m)) {
            ::TranslateMessage(&m);
            ::DispatchMessageW(&m);
        }
        if (IsIdleMessage(m)) {
            idle = true;
            idleCount = 0;
        }
    }
}

// ---- profile ----

void CWinApp::SetRegistryKey(const wchar_t* key) {
    m_pszRegistryKey = key;
    m_pszProfileName = m_pszAppName;
}

HKEY CWinApp::GetAppRegistryKey() {
    if (m_pszRegistryKey.empty()) return nullptr;
    CString path = L"Software\\" + m_pszRegistryKey + L"\\" + m_pszProfileName;
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_READ | KEY_WRITE, nullptr, &key, &disposition) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

HKEY CWinApp::GetSectionKey(const wchar_t* section) {
    HKEY app = GetAppRegistryKey();
    if (!app) return nullptr;
    HKEY key = nullptr;
    DWORD disposition = 0;
    LONG r = ::RegCreateKeyExW(app, section, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, nullptr,
                               &key, &disposition);
    ::RegCloseKey(app);
    return r == ERROR_SUCCESS ? key : nullptr;
}

CString CWinApp::GetProfileString(const wchar_t* section, const wchar_t* entry, const wchar_t* def) {
    HKEY key = GetSectionKey(section);
    if (!key) return def;
    wchar_t buf[1024];
    DWORD size = sizeof buf, type = 0;
    LONG r = ::RegQueryValueExW(key, entry, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size);
    ::RegCloseKey(key);
    if (r != ERROR_SUCCESS || type != REG_SZ || size == 0) return def;
    buf[std::min<DWORD>(size / sizeof(wchar_t), ARRAYSIZE(buf) - 1)] = L'\0';
    return buf;
}

BOOL CWinApp::WriteProfileString(const wchar_t* section, const wchar_t* entry, const wchar_t* value) {
    HKEY key = GetSectionKey(section);
    if (!key) return FALSE;
    LONG r = value ? ::RegSetValueExW(key, entry, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), lstrlenW(value) + 1)
                   : ::RegDeleteValueW(key, entry);
    ::RegCloseKey(key);
    return r == ERROR_SUCCESS;
}

UINT CWinApp::GetProfileInt(const wchar_t* section, const wchar_t* entry, int def) {
    HKEY key = GetSectionKey(section);
    if (!key) return static_cast<UINT>(def);
    DWORD value = 0, size = sizeof value, type = 0;
    LONG r = ::RegQueryValueExW(key, entry, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    ::RegCloseKey(key);
    return r == ERROR_SUCCESS && type == REG_DWORD ? value : static_cast<UINT>(def);
}

BOOL CWinApp::WriteProfileInt(const wchar_t* section, const wchar_t* entry, int value) {
    HKEY key = GetSectionKey(section);
    if (!key) return FALSE;
    DWORD v = static_cast<DWORD>(value);
    LONG r = ::RegSetValueExW(key, entry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof v);
    ::RegCloseKey(key);
    return r == ERROR_SUCCESS;
}

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU) {
    m_nMaxMRU = nMaxMRU;
    m_recentFiles.clear();
    for (UINT i = 1; i <= nMaxMRU; ++i) {
        CString entry = L"File" + std::to_wstring(i);
        CString file = GetProfileString(L"Recent File List", entry.c_str());
        if (!file.empty()) m_recentFiles.push_back(file);
    }
}

void CWinApp::SaveStdProfileSettings() {
    if (m_nMaxMRU == 0) return;
    for (UINT i = 1; i <= m_nMaxMRU; ++i) {
        CString entry = L"File" + std::to_wstring(i);
        WriteProfileString(L"Recent File List", entry.c_str(),
                           i <= m_recentFiles.size() ? m_recentFiles[i - 1].c_str() : nullptr);
    }
}

// ---- documents ----

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate) {
    pTemplate->LoadTemplate();
    m_templates.push_back(pTemplate);
}

CDocument* CWinApp::OpenDocumentFile(const wchar_t* path) {
    CDocTemplate* best = nullptr;
    CDocTemplate::Confidence bestMatch = CDocTemplate::noAttempt;
    CDocument* open = nullptr;
    for (CDocTemplate* t : m_templates) {
        CDocument* match = nullptr;
        CDocTemplate::Confidence c = t->MatchDocType(path, match);
        if (c > bestMatch) {
            bestMatch = c;
            best = t;
            open = match;
        }
        if (c == CDocTemplate::yesAlreadyOpen) break;
    }
    if (bestMatch == CDocTemplate::yesAlreadyOpen && open) {
        if (!open->GetViews().empty())
            if (CFrameWnd* f = open->GetViews().front()->GetParentFrame()) f->ActivateFrame();
        return open;
    }
    return best ? best->OpenDocumentFile(path) : nullptr;
}

BOOL CWinApp::SaveAllModified() {
    for (CDocTemplate* t : m_templates)
        for (CDocument* d : t->GetDocuments())
            if (!d->SaveModified()) return FALSE;
    return TRUE;
}

void CWinApp::CloseAllDocuments(BOOL) {
    for (CDocTemplate* t : m_templates) t->CloseAllDocuments();
}

void CWinApp::OnFileNew() {
    if (m_templates.empty()) return;
    // Only templates with a new-file name offer themselves; with one there is nothing to choose.
    CDocTemplate* chosen = nullptr;
    for (CDocTemplate* t : m_templates) {
        CString name;
        if (t->GetDocString(name, CDocTemplate::fileNewName)) {
            chosen = t;
            break;
        }
    }
    (chosen ? chosen : m_templates.front())->OpenDocumentFile(nullptr);
}

void CWinApp::OnFileOpen() {
    wchar_t file[MAX_PATH] = L"";
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
    ofn.lpstrFilter = L"All Files (*.*)\0*.*\0";
    ofn.lpstrFile = file;
    ofn.nMaxFile = MAX_PATH;
    ofn.Flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_EXPLORER;
    if (::GetOpenFileNameW(&ofn)) OpenDocumentFile(file);
}

void CWinApp::OnFilePrintSetup() {
    PRINTDLGW pd{};
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
    pd.Flags = PD_PRINTSETUP;
    if (::PrintDlgW(&pd)) {
        if (pd.hDevMode) ::GlobalFree(pd.hDevMode);
        if (pd.hDevNames) ::GlobalFree(pd.hDevNames);
    }
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info) {
    for (size_t i = 0; i < m_args.size(); ++i) {
        const CString& a = m_args[i];
        bool flag = !a.empty() && (a[0] == '-' || a[0] == '/');
        info.ParseParam(flag ? a.c_str() + 1 : a.c_str(), flag, i + 1 == m_args.size());
    }
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& info) {
    switch (info.m_nShellCommand) {
    case CCommandLineInfo::FileNothing:
        return TRUE;
    case CCommandLineInfo::FileNew:
        if (!OnCmdMsg(ID_FILE_NEW, CN_COMMAND, nullptr, nullptr)) OnFileNew();
        return m_pMainWnd != nullptr;
    case CCommandLineInfo::FileOpen:
        return OpenDocumentFile(info.m_strFileName.c_str()) != nullptr;
    default:
        return FALSE;  // printing and DDE start-ups are not offered
    }
}

// ---- globals ----

CWinApp* AfxGetApp() { return g_app; }

CWnd* AfxGetMainWnd() { return g_app ? g_app->m_pMainWnd : nullptr; }

int AfxMessageBox(const CString& text, UINT nType, UINT) {
    CWnd* main = AfxGetMainWnd();
    HWND owner = main && main->IsWindow() ? main->m_hWnd : nullptr;
    CString caption = g_app ? g_app->m_pszAppName : CString();
    return ::MessageBoxW(owner, text.c_str(), caption.c_str(), nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
    return AfxMessageBox(AfxLoadString(nIDPrompt), nType, nIDHelp);
}

int AfxWinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int nCmdShow) {
    CWinApp* app = AfxGetApp();
    if (!app) return -1;
    app->m_hInstance = hInstance;
    app->m_nCmdShow = nCmdShow;
    int argc = 0;
    if (LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc)) {
        for (int i = 1; i < argc; ++i) app->m_args.emplace_back(argv[i]);
        ::LocalFree(argv);
    }
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    // Single-threaded COM for the shell's dialogs and folders on the user-interface thread.
    HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int code;
    if (!app->InitApplication() || !app->InitInstance()) {
        if (app->m_pMainWnd && app->m_pMainWnd->IsWindow()) app->m_pMainWnd->DestroyWindow();
        code = app->ExitInstance();
    } else {
        code = app->Run();
    }
    if (SUCCEEDED(com)) ::CoUninitialize();
    return code;
}
