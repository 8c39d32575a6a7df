// The application object, threads and message boxes.
#pragma once
#include "afxdlg.h"
#include "afxframe.h"

using AFX_THREADPROC = UINT (*)(LPVOID);

class CWinThread : public CCmdTarget {
public:
    CWinThread() = default;
    ~CWinThread() override;
    DWORD ResumeThread() { return ::ResumeThread(m_hThread); }
    HANDLE m_hThread = nullptr;
    DWORD m_nThreadID = 0;
    // An auto-deleting thread object goes (with its handle) when its thread ends.
    BOOL m_bAutoDelete = TRUE;
    AFX_THREADPROC m_pfnThreadProc = nullptr;
    LPVOID m_pThreadParams = nullptr;
};

// Starts a worker thread running pfn(pParam). With CREATE_SUSPENDED the caller resumes it.
CWinThread* AfxBeginThread(AFX_THREADPROC pfn, LPVOID pParam, int nPriority = THREAD_PRIORITY_NORMAL,
                           UINT nStackSize = 0, DWORD dwCreateFlags = 0, LPSECURITY_ATTRIBUTES lpsa = nullptr);
// Ends the calling worker thread: its stack is unwound, so its objects are destroyed properly.
[[noreturn]] void AfxEndThread(UINT nExitCode);

class CCommandLineInfo {
public:
    enum { FileNew, FileOpen, FilePrint, FilePrintTo, FileDDE, AppUnregister, FileNothing = -1 } m_nShellCommand = FileNew;
    CString m_strFileName;
    BOOL m_bShowSplash = TRUE;
    virtual ~CCommandLineInfo() = default;
    virtual void ParseParam(const wchar_t* pszParam, BOOL bFlag, BOOL bLast);
};

class CDocTemplate;
class CDocument;

class CWinApp : public CWinThread {
public:
    explicit CWinApp(const wchar_t* appName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitApplication();
    virtual BOOL InitInstance() { return TRUE; }
    virtual int Run();
    virtual int ExitInstance();
    virtual BOOL OnIdle(LONG lCount);
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Gets and handles one message; FALSE when it was WM_QUIT.
    BOOL PumpMessage();

    // Profile: HKEY_CURRENT_USER\Software\<registry key>\<profile name>\<section>.
    void SetRegistryKey(const wchar_t* key);
    HKEY GetAppRegistryKey();
    HKEY GetSectionKey(const wchar_t* section);
    CString GetProfileString(const wchar_t* section, const wchar_t* entry, const wchar_t* def = L"");
    BOOL WriteProfileString(const wchar_t* section, const wchar_t* entry, const wchar_t* value);
    UINT GetProfileInt(const wchar_t* section, const wchar_t* entry, int def);
    BOOL WriteProfileInt(const wchar_t* section, const wchar_t* entry, int value);
    void LoadStdProfileSettings(UINT nMaxMRU = 4);
    void SaveStdProfileSettings();
    // Kept for older systems' 3-D dialogs; the system draws them so today.
    BOOL Enable3dControls() { return TRUE; }

    void AddDocTemplate(CDocTemplate* pTemplate);
    const std::vector<CDocTemplate*>& GetDocTemplates() const { return m_templates; }
    virtual CDocument* OpenDocumentFile(const wchar_t* path);
    void CloseAllDocuments(BOOL bEndSession);
    // Asks every open document to settle unsaved work; FALSE when the user cancelled.
    BOOL SaveAllModified();
    void ParseCommandLine(CCommandLineInfo& info);
    BOOL ProcessShellCommand(CCommandLineInfo& info);

    // Framework commands an application may put in its table.
    void OnFileNew();
    void OnFileOpen();
    void OnFilePrintSetup();

    CString m_pszAppName;
    CString m_pszRegistryKey;
    CString m_pszProfileName;
    std::vector<CString> m_recentFiles;
    UINT m_nMaxMRU = 0;
    CWnd* m_pMainWnd = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    HINSTANCE m_hInstance = nullptr;
    std::vector<CString> m_args;  // the command line's arguments, program name excluded

protected:
    std::vector<CDocTemplate*> m_templates;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
// A message box owned by the main window, captioned with the application's name.
int AfxMessageBox(const CString& text, UINT nType = MB_OK, UINT nIDHelp = 0);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = 0);
// Runs the application object: InitInstance, then the message loop.
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrev, LPSTR lpCmdLine, int nCmdShow);
