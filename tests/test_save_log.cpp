// The log-file dialog: the proposed name, creating or emptying the file, keeping the choice, and
// the folder browser.
#include <gtest/gtest.h>

#include "AppHarness.h"
#include "ModalScript.h"
#include "LogFile.h"
#include "SaveLogDlg.h"
#include "resource.h"

using namespace testkit;

namespace {
const wchar_t kProfile[] = L"Software\\Local AppWizard-Generated Applications\\Application\\Settings";

void OpenLogDialog(const std::function<void(HWND)>& script) {
    StartApp();
    EXPECT_TRUE(WithModalDialog(L"Corvane Scrubline - Saving Log", script,
                                [] { AfxGetMainWnd()->SendMessage(WM_COMMAND, ID_LOG_SETTINGS); }));
}

// Browses from the log dialog: selects the folder (or cancels when it is empty), expects a static
// of the browser to read `shown`, and returns the name box afterwards.
std::wstring Browse(HWND dlg, const std::wstring& folder, const std::wstring& shown) {
    auto script = [&](HWND browser) {
        if (!folder.empty()) ::SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(folder.c_str()));
        bool found = false;
        for (HWND c = ::GetWindow(browser, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
            found = found || lstrcmpiW(TextOf(c).c_str(), shown.c_str()) == 0;
        EXPECT_TRUE(found) << shown;
        Click(browser, folder.empty() ? IDCANCEL : IDOK);
    };
    EXPECT_TRUE(WithModalDialog(L"Browse for Folder", script, [&] { Click(dlg, IDC_SAVELOG_BROWSE); }));
    return ItemText(dlg, IDC_SAVELOG_FILENAME);
}
}  // namespace

TEST(SaveLog, ProposesTheDefaultNameAndOkCreatesTheFileOrEmptiesItOnlyOnceTheUserAgreesAndKeepsTheChoice) {
    std::wstring folder = ScratchFolder(L"savelog");
    WriteFile(folder + L"\\emptied.txt", L"an earlier log");
    WriteFile(folder + L"\\kept.doc", L"a letter");
    struct Case { const wchar_t* name; int answer; long size; size_t boxes; };
    const Case cases[] = {{L"\u0436\u0443\u0440\u043d\u0430\u043b.txt", IDYES, 0, 0},  // created by its own name, not a best-fit one
                          {L"emptied.txt", IDYES, 0, 1}, {L"kept.doc", IDNO, 8, 1}};
    for (const Case& c : cases) {
        std::wstring path = folder + L"\\" + c.name;
        ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kProfile, L"Log File");
        DialogAnswerer box(L"Corvane-Sweepmere", c.answer);
        OpenLogDialog([&](HWND dlg) {
            EXPECT_EQ(ItemText(dlg, IDC_SAVELOG_FILENAME), engine::DefaultLogPath());
            TypeText(dlg, IDC_SAVELOG_FILENAME, path);
            Click(dlg, IDC_SAVELOG_OK);
            EXPECT_EQ(::IsWindowVisible(dlg) != FALSE, c.answer == IDNO) << L"No keeps the dialog open";
        });
        EXPECT_EQ(engine::LogPath(), c.answer == IDYES ? path : engine::DefaultLogPath());
        if (c.answer == IDYES) OpenLogDialog([&](HWND dlg) { EXPECT_EQ(ItemText(dlg, IDC_SAVELOG_FILENAME), path); });
        EXPECT_EQ(FileExists(path) ? long(ReadWholeFile(path).size()) : -1, c.size) << path;
        ASSERT_EQ(box.Count(), c.boxes) << path;  // a new file is not asked about
        if (c.boxes) {
            EXPECT_EQ(box.Seen()[0].text, path + L" already exists. Do you want to replace it?");
        }
    }
}

// Browse fills the name box only; OK on a missing drive says why and keeps the dialog open for
// another name, and Cancel then creates nothing.
TEST(SaveLog, BrowseProposesEraseTxtInTheChosenFolderAndOkOnAMissingDriveSaysWhyAndCancelCreatesNothing) {
    wchar_t letter = 'D';
    while (letter < 'Z' && (::GetLogicalDrives() & (1u << (letter - 'A')))) ++letter;
    std::wstring missing = std::wstring(1, letter) + L":\\Erase.txt";
    std::wstring cancelled = ScratchFolder(L"savelog-cancel") + L"\\never.txt";
    // Any folder will do; Wine finds long scratch names in its tree only now and then.
    std::wstring folder = L"C:\\windows";
    DialogAnswerer box(L"Corvane-Sweepmere");
    OpenLogDialog([&](HWND dlg) {
        const wchar_t title[] = L"Select drive/folder for save recovery:";
        // The status line shows the folder under the selection; a drive's root gets no second separator.
        std::wstring name = Browse(dlg, folder, folder);
        EXPECT_EQ(lstrcmpiW(name.c_str(), (folder + L"\\Erase.txt").c_str()), 0) << name;
        name = Browse(dlg, L"C:\\", title);
        EXPECT_EQ(lstrcmpiW(name.c_str(), L"C:\\Erase.txt"), 0) << name;
        TypeText(dlg, IDC_SAVELOG_FILENAME, L"kept.txt");
        EXPECT_EQ(Browse(dlg, L"", title), L"kept.txt");

        TypeText(dlg, IDC_SAVELOG_FILENAME, missing);
        Click(dlg, IDC_SAVELOG_OK);
        EXPECT_TRUE(::IsWindowVisible(dlg)) << L"the dialog stays open for another name";
        TypeText(dlg, IDC_SAVELOG_FILENAME, cancelled);
        Click(dlg, IDC_SAVELOG_CANCEL);
    });
    EXPECT_FALSE(FileExists(missing));
    EXPECT_FALSE(FileExists(cancelled));
    ASSERT_EQ(box.Count(), 1u);
    EXPECT_NE(box.Seen()[0].text.find(missing), std::wstring::npos) << box.Seen()[0].text;
}
