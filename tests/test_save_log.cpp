// The log-file dialog: the proposed name, creating or emptying the file, keeping the choice, and
// the folder browser.
#include <gtest/gtest.h>

#include "AppHarness.h"
#include "ModalScript.h"
#include "LogFile.h"
#include "SaveLogDlg.h"
#include "internet/TypedUrlVw.h"
#include "TestKit.h"
#include "resource.h"

using namespace testkit;

namespace {
const wchar_t kProfile[] = L"Software\\Local AppWizard-Generated Applications\\Application\\Settings";

void OpenLogDialog(const std::function<void(HWND)>& script) {
    StartApp();
    EXPECT_TRUE(WithModalDialog(L"Corvane Scrubline - Saving Log", script,
                                [] { AfxGetMainWnd()->SendMessage(WM_COMMAND, ID_LOG_SETTINGS); }));
}

long FileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    return ::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ? long(data.nFileSizeLow) : -1;
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

TEST(SaveLog, ProposesTheDefaultNameAndOkCreatesTheFileOrEmptiesItOnlyOnceTheUserAgrees) {
    std::wstring folder = ScratchFolder(L"savelog");
    WriteFile(folder + L"\\emptied.txt", L"an earlier log");
    WriteFile(folder + L"\\kept.doc", L"a letter");
    struct Case { const wchar_t* name; int answer; long size; size_t boxes; };
    const Case cases[] = {{L"fresh.txt", IDYES, 0, 0}, {L"emptied.txt", IDYES, 0, 1}, {L"kept.doc", IDNO, 8, 1}};
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
        EXPECT_EQ(FileSize(path), c.size) << path;
        ASSERT_EQ(box.Count(), c.boxes) << path;  // a new file is not asked about
        if (c.boxes) {
            EXPECT_EQ(box.Seen()[0].text, path + L" already exists. Do you want to replace it?");
        }
    }
}

TEST(SaveLog, OkOnAMissingDriveSaysWhyAndStaysOpenAndCancelCreatesNothing) {
    wchar_t letter = 'D';
    while (letter < 'Z' && (::GetLogicalDrives() & (1u << (letter - 'A')))) ++letter;
    std::wstring missing = std::wstring(1, letter) + L":\\Erase.txt";
    std::wstring cancelled = ScratchFolder(L"savelog-cancel") + L"\\never.txt";
    DialogAnswerer box(L"Corvane-Sweepmere");
    OpenLogDialog([&](HWND dlg) {
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

TEST(SaveLog, BrowseProposesEraseTxtInTheChosenFolderAndCanBeCancelled) {
    // Only the name box changes, so any folder will do; Wine finds long scratch names in its
    // tree only now and then.
    std::wstring folder = L"C:\\windows";
    OpenLogDialog([&](HWND dlg) {
        const wchar_t title[] = L"Select drive/folder for save recovery:";
        // The status line shows the folder under the selection; a drive's root gets no second separator.
        std::wstring name = Browse(dlg, folder, folder);
        EXPECT_EQ(lstrcmpiW(name.c_str(), (folder + L"\\Erase.txt").c_str()), 0) << name;
        name = Browse(dlg, L"C:\\", title);
        EXPECT_EQ(lstrcmpiW(name.c_str(), L"C:\\Erase.txt"), 0) << name;
        TypeText(dlg, IDC_SAVELOG_FILENAME, L"kept.txt");
        EXPECT_EQ(Browse(dlg, L"", title), L"kept.txt");
    });
}

TEST(SaveLog, ANameOutsideTheCodePageIsCreatedAsItIs) {
    // C: is the test prefix's own drive_c folder.
    const std::wstring folder = L"C:\\logs", path = folder + L"\\журнал.txt";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    ::DeleteFileW(path.c_str());
    DialogAnswerer box(L"Corvane-Sweepmere");
    OpenLogDialog([&](HWND dlg) {
        TypeText(dlg, IDC_SAVELOG_FILENAME, path);
        Click(dlg, IDC_SAVELOG_OK);
    });
    EXPECT_EQ(engine::LogPath(), path);
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kProfile, L"Log File");
    for (const SeenDialog& d : box.Seen()) ADD_FAILURE() << d.text;
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW d;
    HANDLE h = ::FindFirstFileW((folder + L"\\*.txt").c_str(), &d);
    for (bool more = h != INVALID_HANDLE_VALUE; more; more = ::FindNextFileW(h, &d)) names.push_back(d.cFileName);
    if (h != INVALID_HANDLE_VALUE) ::FindClose(h);
    EXPECT_EQ(names, std::vector<std::wstring>{L"журнал.txt"});
    ::DeleteFileW(path.c_str());
    ::RemoveDirectoryW(folder.c_str());
}

TEST(SaveLog, TheChosenLogIsProposedAgainAndAPageErasesIntoIt) {
    const std::wstring path = ScratchFolder(L"savelog-kept") + L"\\Erase.txt";
    ::DeleteFileW(path.c_str());
    OpenLogDialog([&](HWND dlg) {
        TypeText(dlg, IDC_SAVELOG_FILENAME, path);
        Click(dlg, IDC_SAVELOG_OK);
    });
    OpenLogDialog([&](HWND dlg) { EXPECT_EQ(ItemText(dlg, IDC_SAVELOG_FILENAME), path); });
    const wchar_t* typed = L"Software\\Microsoft\\Internet Explorer\\TypedURLs";
    RegSetString(HKEY_CURRENT_USER, typed, L"url1", L"http://a.example/");
    auto* view = dynamic_cast<CTypedUrlVw*>(ViewOf(TheApp()->OpenPage("internet.typed-urls")));
    ASSERT_NE(view, nullptr);
    {
        DialogAnswerer box(L"Corvane-Sweepmere");
        HWND button = ::GetDlgItem(view->GetSafeHwnd(), IDC_TYPEDURL_ERASE);
        view->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_TYPEDURL_ERASE, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    }
    CloseAllPages();
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kProfile, L"Log File");
    std::string text(4096, '\0');
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD n = 0;
    if (h != INVALID_HANDLE_VALUE) ::ReadFile(h, &text[0], 4096, &n, nullptr), ::CloseHandle(h);
    text.resize(n);
    EXPECT_NE(text.find("  internet.typed-urls  1 erased, 0 bytes, 0 stayed\r\n"), std::string::npos) << text;
}
