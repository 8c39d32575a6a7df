#pragma once
#include <string>
#include <vector>

#include "afxwin.h"


// Where the help file and other installed files live: HKLM's "ProgramFilesPath", expanded.
// The buffer stays empty when the value cannot be read.
void GetProgramFilesPath(wchar_t* buffer, DWORD size);

class CTidemarkApp : public CWinApp {
public:
    CTidemarkApp();
    BOOL InitInstance() override;

    // The template of a page, by its key (pages::Rows()); null for a key of none.
    CMultiDocTemplate* PageTemplate(const std::string& key) const;
    // Opens a new, untitled, visible page of the category.
    CDocument* OpenPage(const std::string& key);

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
    std::vector<CMultiDocTemplate*> m_pageTemplates;  // in the order of pages::Rows()
};

CTidemarkApp* TheApp();
