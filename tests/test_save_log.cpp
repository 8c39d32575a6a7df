// The log-file dialog: the proposed name, creating or emptying the file, and the folder browser.
#include <gtest/gtest.h>

#include "AppHarness.h"
#include "ModalScript.h"
#include "SaveLogDlg.h"
#include "TestKit.h"
#include "resource.h"

using namespace testkit;

namespace {
void OpenLogDialog(const std::function<void(HWND)>& script) {
    StartApp();
    EXPECT_TRUE(WithModalDialog("Corvane Scrubline - Saving Log", script,
                                [] { AfxGetMainWnd()->SendMessage(WM_COMMAND, ID_LOG_SETTINGS); }));
}

// Types the name and presses the button; the dialog closes either way.
void Finish(const std::string& name, int button) {
    OpenLogDialog([&](HWND dlg) {
        TypeText(dlg, IDC_SAVELOG_FILENAME, name);
        Click(dlg, button);
        EXPECT_FALSE(::IsWindowVisible(dlg));
    });
}

LONGLONG FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return (static_cast<LONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// The texts of the browser's statics (its title and its status line among them).
std::vector<std::string> StaticTexts(HWND browser) {
    std::vector<std::string> texts;
    for (HWND c = ::GetWindow(browser, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        char cls[16] = "", text[MAX_PATH] = "";
        ::GetClassNameA(c, cls, sizeof cls);
        ::GetWindowTextA(c, text, sizeof text);
        if (lstrcmpiA(cls, "Static") == 0) texts.push_back(text);
    }
    return texts;
}

bool Contains(const std::vector<std::string>& texts, const std::string& wanted) {
    for (const std::string& t : texts)
        if (lstrcmpiA(t.c_str(), wanted.c_str()) == 0) return true;
    return false;
}

// Browses from the log dialog: selects the folder (or cancels when it is empty) and returns the
// name box afterwards; seen gets the browser's texts with the folder selected.
std::string Browse(HWND dlg, const std::string& folder, std::vector<std::string>* seen) {
    bool shown = WithModalDialog(
        "Browse for Folder",
        [&](HWND browser) {
            if (!folder.empty()) ::SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(folder.c_str()));
            *seen = StaticTexts(browser);
            Click(browser, folder.empty() ? IDCANCEL : IDOK);
        },
        [&] { Click(dlg, IDC_SAVELOG_BROWSE); });
    EXPECT_TRUE(shown);
    return ItemText(dlg, IDC_SAVELOG_FILENAME);
}
}  // namespace

TEST(SaveLog, ProposesTheDefaultNameAndOkCreatesTheFileOrEmptiesItOnceTheUserAgrees) {
    std::string folder = ScratchFolder("savelog");
    std::string fresh = folder + "\\fresh.txt", existing = folder + "\\existing.txt";
    WriteFile(existing, "an earlier log");
    for (const std::string& path : {fresh, existing}) {
        LogPath() = "elsewhere";
        OpenLogDialog([&](HWND dlg) {
            EXPECT_EQ(ItemText(dlg, IDC_SAVELOG_FILENAME), "d:\\Erase.txt");
            EXPECT_EQ(LogPath(), "d:\\Erase.txt");
        });
        DialogAnswerer box("Corvane-Sweepmere", IDYES);
        Finish(path, IDC_SAVELOG_OK);
        EXPECT_EQ(LogPath(), path);
        EXPECT_EQ(FileSize(path), 0) << path;
        EXPECT_EQ(box.Count(), path == existing ? 1u : 0u) << path;  // a new file is not asked about
    }
}

TEST(SaveLog, NoKeepsAnExistingFileAndTheDialogOpen) {
    std::string document = ScratchFolder("savelog-no") + "\\letter.doc";
    WriteFile(document, "a letter");
    DialogAnswerer box("Corvane-Sweepmere", IDNO);
    OpenLogDialog([&](HWND dlg) {
        TypeText(dlg, IDC_SAVELOG_FILENAME, document);
        Click(dlg, IDC_SAVELOG_OK);
        EXPECT_TRUE(::IsWindowVisible(dlg));
        Click(dlg, IDC_SAVELOG_CANCEL);
    });
    ASSERT_EQ(box.Count(), 1u);
    EXPECT_EQ(box.Seen()[0].text, document + " already exists. Do you want to replace it?");
    EXPECT_EQ(FileSize(document), 8);
}

TEST(SaveLog, OkOnAMissingDriveAndCancelCreateNothingAndSayNothing) {
    DWORD drives = ::GetLogicalDrives();
    char letter = 'D';
    while (letter < 'Z' && (drives & (1u << (letter - 'A')))) ++letter;
    ASSERT_FALSE(drives & (1u << (letter - 'A')));
    std::string missing = std::string(1, letter) + ":\\Erase.txt";
    std::string cancelled = ScratchFolder("savelog-cancel") + "\\never.txt";
    DialogAnswerer anyBox("Application");
    Finish(missing, IDC_SAVELOG_OK);
    Finish(cancelled, IDC_SAVELOG_CANCEL);
    EXPECT_FALSE(FileExists(missing));
    EXPECT_FALSE(FileExists(cancelled));
    EXPECT_EQ(anyBox.Count(), 0u);
}

TEST(SaveLog, BrowseProposesEraseTxtInTheChosenFolderAndCanBeCancelled) {
    // Only the name box changes, so any folder will do; Wine finds long scratch names in its
    // tree only now and then.
    std::string folder = "C:\\windows";
    OpenLogDialog([&](HWND dlg) {
        std::vector<std::string> texts;
        std::string name = Browse(dlg, folder, &texts);
        EXPECT_EQ(lstrcmpiA(name.c_str(), (folder + "\\Erase.txt").c_str()), 0) << name;
        EXPECT_TRUE(Contains(texts, folder)) << "the status line shows the folder under the selection";

        name = Browse(dlg, "C:\\", &texts);  // a drive's root gets no second separator
        EXPECT_EQ(lstrcmpiA(name.c_str(), "C:\\Erase.txt"), 0) << name;

        TypeText(dlg, IDC_SAVELOG_FILENAME, "kept.txt");
        EXPECT_EQ(Browse(dlg, "", &texts), "kept.txt");  // cancelled
        EXPECT_TRUE(Contains(texts, "Select drive/folder for save recovery:"));
    });
}
