#include "TidemarkApp.h"

#include <process.h>

#include "AboutDlg.h"
#include "ChildFrm.h"
#include "MainFrm.h"
#include "OpenPage.h"
#include "Pacing.h"
#include "PageFrames.h"
#include "Pages.h"
#include "Policy.h"
#include "RegKey.h"
#include "SaveLogDlg.h"
#include "SchedulerDlg.h"
#include "Settings.h"
#include "SplashDlg.h"
#include "TidemarkDoc.h"
#include "TidemarkView.h"
#include "drives/UnusedSpaceWipe.h"
#include "traces/TraceListVw.h"
#include "resource.h"


const MsgMap CTidemarkApp::messageMap{&CWinApp::messageMap, {
    msg::Command(ID_APP_ABOUT, &CTidemarkApp::OnAppAbout),
    msg::Command(ID_START_PAGE, &CTidemarkApp::OnStartPage),
    msg::Command(ID_DATA_WIPE, &CTidemarkApp::OnDataWipe),
    msg::Command(ID_EXIT_NOW, &CTidemarkApp::OnExitAtOnce),
    msg::Command(ID_HELP, &CTidemarkApp::OnHelp),
    msg::Command(ID_SCHEDULER, &CTidemarkApp::OnScheduler),
    msg::Command(ID_LOG_SETTINGS, &CTidemarkApp::OnLogSettings),
    msg::Command(ID_FILE_NEW, &CWinApp::OnFileNew),
    msg::Command(ID_FILE_OPEN, &CWinApp::OnFileOpen),
    msg::Command(ID_FILE_PRINT_SETUP, &CWinApp::OnFilePrintSetup),
    msg::Command(ID_TOOLS, &CTidemarkApp::OnNoAction),
    msg::Command(ID_LARGEBAR_BUTTON1, &CTidemarkApp::OnNoAction),
    msg::Command(ID_LARGEBAR_BUTTON3, &CTidemarkApp::OnNoAction),
    msg::Command(ID_LARGEBAR_BUTTON4, &CTidemarkApp::OnNoAction),
}};

CTidemarkApp::CTidemarkApp() : CWinApp(nullptr) {}

CTidemarkApp* TheApp() { return dynamic_cast<CTidemarkApp*>(AfxGetApp()); }

BOOL CTidemarkApp::InitInstance() {
    // Before anything else: a wipe that never ended must not leave a disk full.
    wipe::RemoveLeftoverFillersAtStart();
    Enable3dControls();
    ui::SetPageOpener([this](const std::string& key) { OpenPage(key); });
    SetRegistryKey(L"Local AppWizard-Generated Applications");
    LoadStdProfileSettings(4);

    CSplashDlg splash;
    if (splash.Create(IDD_SPLASH)) {
        splash.ShowWindow(SW_SHOW);
        splash.UpdateWindow();  // paint it now: no message is handled while it shows
        ::Sleep(Pacing::SplashMs());
        splash.DestroyWindow();
    }

    SetRegistryKey(L"Local AppWizard-Generated Applications");
    LoadStdProfileSettings(4);
    Pacing::SetQuickErase(settings::QuickErase());

    RegisterTemplates();

    auto* main = new CMainFrame;
    m_pMainWnd = main;
    if (!main->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE)) {
        m_pMainWnd = nullptr;
        return FALSE;
    }

    CCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    if (!ProcessShellCommand(cmdInfo)) return FALSE;

    main->ShowWindow(m_nCmdShow);
    main->UpdateWindow();
    return TRUE;
}

void CTidemarkApp::RegisterTemplates() {
    AddDocTemplate(new CMultiDocTemplate(IDR_TIDEMATYPE, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(CChildFrame),
                                         RUNTIME_CLASS(CTidemarkView)));
    for (const pages::PageRow& row : pages::Rows()) {
        auto* t = row.view == RUNTIME_CLASS(CTraceListVw)
                      ? new CTraceTemplate(row.key, row.resourceId, row.doc, row.frame, row.view)
                      : new CMultiDocTemplate(row.resourceId, row.doc, row.frame, row.view);
        AddDocTemplate(t);
        m_pageTemplates.push_back(t);
    }
}

CMultiDocTemplate* CTidemarkApp::PageTemplate(const std::string& key) const {
    const std::vector<pages::PageRow>& rows = pages::Rows();
    for (size_t i = 0; i < rows.size() && i < m_pageTemplates.size(); ++i)
        if (key == rows[i].key) return m_pageTemplates[i];
    return nullptr;
}

namespace {
// A page whose category the policy turns off shows what it finds, but its Erase buttons are grey.
BOOL CALLBACK GreyEraseButton(HWND child, LPARAM) {
    wchar_t cls[16] = {}, text[16] = {};
    ::GetClassNameW(child, cls, 16);
    ::GetWindowTextW(child, text, 16);
    if (_wcsicmp(cls, L"Button") == 0 && _wcsnicmp(text, L"Erase", 5) == 0) ::EnableWindow(child, FALSE);
    return TRUE;
}
}  // namespace

CDocument* CTidemarkApp::OpenPage(const std::string& key) {
    CMultiDocTemplate* t = PageTemplate(key);
    CDocument* doc = t ? t->OpenDocumentFile(nullptr, TRUE) : nullptr;
    const engine::Category* c = engine::FindCategory(key);
    if (doc && c && engine::TurnedOff(*c))
        for (CView* v : doc->GetViews()) ::EnumChildWindows(v->m_hWnd, GreyEraseButton, 0);
    return doc;
}

void CTidemarkApp::OnAppAbout() {
    CAboutDlg dlg;
    dlg.DoModal();
}

void CTidemarkApp::OnScheduler() {
    CSchedulerDlg dlg;
    dlg.DoModal();
}

void CTidemarkApp::OnLogSettings() {
    CSaveLogDlg dlg;
    dlg.DoModal();
}

// Buttons that are offered, and so enabled, but do nothing yet.
void CTidemarkApp::OnNoAction() {}

void CTidemarkApp::OnStartPage() {
    if (!m_templates.empty()) m_templates.front()->OpenDocumentFile(nullptr, TRUE);
}

void CTidemarkApp::OnDataWipe() {
    // Meant for a "Data Wipe" page that no template provides: nothing opens.
    for (CDocTemplate* t : m_templates) {
        std::wstring name;
        t->GetDocString(name, CDocTemplate::docName);
        if (name == L"Data Wipe") {
            t->OpenDocumentFile(nullptr, TRUE);
            return;
        }
    }
}

void CTidemarkApp::OnExitAtOnce() {
    // Ends the process at once: nothing is saved or closed first.
    HANDLE self = ::OpenProcess(PROCESS_TERMINATE, FALSE, static_cast<DWORD>(_getpid()));
    if (self) ::TerminateProcess(self, 0);
}

void GetProgramFilesPath(wchar_t* buffer, DWORD size) {
    if (size) buffer[0] = '\0';
    engine::RegKey key;
    std::wstring value;  // REG_EXPAND_SZ comes expanded
    if (key.Open(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion", KEY_QUERY_VALUE) != ERROR_SUCCESS ||
        !key.ReadString(L"ProgramFilesPath", value) || value.size() >= size)
        return;
    wmemcpy(buffer, value.c_str(), value.size() + 1);
}

void CTidemarkApp::OnHelp() {
    wchar_t folder[260];
    GetProgramFilesPath(folder, ARRAYSIZE(folder));
    std::wstring path = std::wstring(folder) + L"\\Corvane-Sweepmere\\HELP.chm";
    ::ShellExecuteW(nullptr, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
