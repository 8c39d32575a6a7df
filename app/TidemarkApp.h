#pragma once
#include <array>

#include "afxwin.h"

// The pages whose templates the application keeps, in the order they are registered
// (the introduction page's template comes first and is reached through the template list).
enum class PageId {
    Recycle, SystemRegistry, MMConsole, MediaPlayer, Paint, RecentDocuments, TypedUrls, Cookies, History,
    Clipboard, EventLog, UnusedSpace, Drives, WordPad, TempInternetFiles, OpenFileHistory, MfuRegistry,
    Internet, System, AdminTempFiles, SysTempFiles, RecentNetworkFolder, ApplicationTraces, Acrobat,
    Access, Excel, PowerPoint, Word, WinZip, WipeList,
    Browsers,  // the Web Browsers summary
    Count
};

// Where the help file and other installed files live: HKLM's "ProgramFilesPath", expanded.
// The buffer stays empty when the value cannot be read.
void GetProgramFilesPath(wchar_t* buffer, DWORD size);

class CTidemarkApp : public CWinApp {
public:
    CTidemarkApp();
    BOOL InitInstance() override;

    CMultiDocTemplate* PageTemplate(PageId page) const { return m_pageTemplates[static_cast<size_t>(page)]; }
    // Opens a new, untitled, visible page of the category.
    CDocument* OpenPage(PageId page);

    void OnAppAbout();
    void OnStartPage();
    void OnDataWipe();
    void OnExitAtOnce();
    void OnHelp();
    void OnScheduler();
    void OnLogSettings();
    void OnNoAction();

    DECLARE_MESSAGE_MAP()

private:
    void RegisterTemplates();
    std::array<CMultiDocTemplate*, static_cast<size_t>(PageId::Count)> m_pageTemplates{};
};

CTidemarkApp* TheApp();
