#include "TidemarkApp.h"

#include <process.h>

#include "AboutDlg.h"
#include "ChildFrm.h"
#include "MainFrm.h"
#include "Pacing.h"
#include "PageFrames.h"
#include "SaveLogDlg.h"
#include "SchedulerDlg.h"
#include "Settings.h"
#include "SplashDlg.h"
#include "TidemarkDoc.h"
#include "TidemarkView.h"
#include "applications/ApplicationTVw.h"
#include "applications/RecentFileListPages.h"
#include "drives/DrivesVw.h"
#include "drives/USpaceVw.h"
#include "drives/WipeListVw.h"
#include "internet/Cookies.h"
#include "internet/HistroryVw.h"
#include "internet/InternetVw.h"
#include "internet/TempNetFileVw.h"
#include "internet/TypedUrlVw.h"
#include "resource.h"
#include "system/ClipBoardVw.h"
#include "system/EventLogVw.h"
#include "system/RecentPages.h"
#include "system/RecycleVw.h"
#include "system/RegistryListPages.h"
#include "system/SystemPVw.h"
#include "system/SystemVw.h"
#include "system/TempFilesPages.h"

namespace {
struct TemplateRow {
    PageId page;
    UINT resourceId;
    const CRuntimeClass* doc;
    const CRuntimeClass* frame;
    const CRuntimeClass* view;
};

// The page templates after the introduction page's, in the order they are registered.
const TemplateRow kTemplates[] = {
    {PageId::Recycle, 155, RUNTIME_CLASS(CRecycleDocument), RUNTIME_CLASS(CRecycleFrm), RUNTIME_CLASS(CRecycleVw)},
    {PageId::SystemRegistry, 157, RUNTIME_CLASS(CSystemDocument), RUNTIME_CLASS(CSystemFrm), RUNTIME_CLASS(CSystemVw)},
    {PageId::MMConsole, 211, RUNTIME_CLASS(CMMConsoleDocument), RUNTIME_CLASS(CMMConsoleFrm), RUNTIME_CLASS(CMMConsoleVw)},
    {PageId::MediaPlayer, 163, RUNTIME_CLASS(CMediaPlayerDoc), RUNTIME_CLASS(CMediaPlayerFrm), RUNTIME_CLASS(CMediaPlayerVw)},
    {PageId::Paint, 159, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(CPaintFrm), RUNTIME_CLASS(CPaintVw)},
    {PageId::RecentDocuments, 177, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(CRecentDocFrm), RUNTIME_CLASS(CRecentDocu)},
    {PageId::TypedUrls, 158, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(CTypedUrlFrm), RUNTIME_CLASS(CTypedUrlVw)},
    {PageId::Cookies, 165, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(CCookiesFrm), RUNTIME_CLASS(CCookies)},
    {PageId::History, 162, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(CHistoryFrm), RUNTIME_CLASS(CHistroryVw)},
    {PageId::Clipboard, 167, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(CClipBoardFrm), RUNTIME_CLASS(CClipBoardVw)},
    {PageId::EventLog, 180, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(CEventLogFrm), RUNTIME_CLASS(CEventLogVw)},
    {PageId::UnusedSpace, 181, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(CUSpaceFrm), RUNTIME_CLASS(CUSpaceVw)},
    {PageId::Drives, 145, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(CDrivesFrm), RUNTIME_CLASS(CDrivesVw)},
    {PageId::WordPad, 175, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(CWordPadFrm), RUNTIME_CLASS(CWordPadVw)},
    {PageId::TempInternetFiles, 310, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(CTempNetFileFrm), RUNTIME_CLASS(CTempNetFileVw)},
    {PageId::OpenFileHistory, 179, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(COFHistoryFrm), RUNTIME_CLASS(COFHistoryVw)},
    {PageId::MfuRegistry, 263, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(CMFURegFrm), RUNTIME_CLASS(CMFURegVw)},
    {PageId::Internet, 182, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(CInternetFrm), RUNTIME_CLASS(CInternetVw)},
    {PageId::System, 183, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(CSystemPFrm), RUNTIME_CLASS(CSystemPVw)},
    {PageId::AdminTempFiles, 204, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(CAdminTempFFrm), RUNTIME_CLASS(CAdminTempFVw)},
    {PageId::SysTempFiles, 202, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(CSysTempFFrm), RUNTIME_CLASS(CSysTempFile)},
    {PageId::RecentNetworkFolder, 203, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(CRecentNWFolFrm), RUNTIME_CLASS(CRecentNWFVw)},
    {PageId::ApplicationTraces, 184, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(CApplicationTFrm), RUNTIME_CLASS(CApplicationTVw)},
    {PageId::Acrobat, 168, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(CAAFrm), RUNTIME_CLASS(CAAVw)},
    {PageId::Access, 178, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(CMAFrm), RUNTIME_CLASS(CMAVw)},
    {PageId::Excel, 169, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(CMEFrm), RUNTIME_CLASS(CMEVw)},
    {PageId::PowerPoint, 171, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(CMPptFrm), RUNTIME_CLASS(CMPptVw)},
    {PageId::Word, 172, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(CMWFrm), RUNTIME_CLASS(CMWVw)},
    {PageId::WinZip, 170, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(CWinzipFrm), RUNTIME_CLASS(CWinzipVw)},
    {PageId::WipeList, 259, RUNTIME_CLASS(CTidemarkDoc), RUNTIME_CLASS(CWipeListFrm), RUNTIME_CLASS(CWipeListVw)},
};
static_assert(std::size(kTemplates) == static_cast<size_t>(PageId::Count), L"one row per page template");
}  // namespace

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
    Enable3dControls();
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
    for (const TemplateRow& row : kTemplates) {
        auto* t = new CMultiDocTemplate(row.resourceId, row.doc, row.frame, row.view);
        AddDocTemplate(t);
        m_pageTemplates[static_cast<size_t>(row.page)] = t;
    }
}

CDocument* CTidemarkApp::OpenPage(PageId page) {
    CMultiDocTemplate* t = PageTemplate(page);
    return t ? t->OpenDocumentFile(nullptr, TRUE) : nullptr;
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
    HKEY key = nullptr;
    if (::RegOpenKeyW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion", &key) != ERROR_SUCCESS) return;
    wchar_t value[260];
    DWORD len = sizeof value, type = 0;
    if (::RegQueryValueExW(key, L"ProgramFilesPath", nullptr, &type, reinterpret_cast<BYTE*>(value), &len) ==
        ERROR_SUCCESS) {
        value[std::min<DWORD>(len / sizeof(wchar_t), ARRAYSIZE(value) - 1)] = L'\0';
        ::ExpandEnvironmentStringsW(value, buffer, size);
    }
    ::RegCloseKey(key);
}

void CTidemarkApp::OnHelp() {
    wchar_t folder[260];
    GetProgramFilesPath(folder, ARRAYSIZE(folder));
    std::wstring path = std::wstring(folder) + L"\\Corvane-Sweepmere\\HELP.chm";
    ::ShellExecuteW(nullptr, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
