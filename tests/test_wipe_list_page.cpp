// The Wipe List page driven as a user drives it: a list made, filled, kept and found again; its
// preview touching nothing; its erase asked first, refusals shown before anything goes, and
// only the checked entries gone. Real files of the test prefix's C: and keys of its registry.
#include <gtest/gtest.h>
#include <shlobj.h>

#include "AppHarness.h"
#include "ModalScript.h"
#include "Report.h"
#include "Pages.h"
#include "Text.h"
#include "drives/WipeListVw.h"
#include "resource.h"

using namespace testkit;

namespace {
const wchar_t kKeys[] = L"Software\\Corvane-Tests\\WipePage";
const wchar_t kDoomed[] = L"HKCU\\Software\\Corvane-Tests\\WipePage\\doomed";

std::string ListBytes(const std::wstring& name) { return ReadWholeFile(engine::WipeListFolder() + L"\\" + name + L".wipelist"); }

// A file's content, time and attributes, to see that nothing touched it.
std::string Fingerprint(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA d{};
    ::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &d);
    return ReadWholeFile(path) + "|" + std::to_string(d.ftLastWriteTime.dwLowDateTime) + "|" + std::to_string(d.dwFileAttributes);
}

struct WipeListPage : ::testing::Test {
    std::wstring folder;
    void SetUp() override {
        ASSERT_NE(StartApp(), nullptr);
        RemoveTree(engine::WipeListFolder());
        folder = ScratchFolder(L"wipe-page");
        WriteFile(folder + L"\\a.txt", L"secret a");
        WriteFile(folder + L"\\keep.txt", L"keep me");
        RegDeleteTree(HKEY_CURRENT_USER, kKeys);
        RegSetString(HKEY_CURRENT_USER, std::wstring(kKeys) + L"\\doomed", L"v", L"x");
        RegSetString(HKEY_CURRENT_USER, std::wstring(kKeys) + L"\\doomed\\inner", L"", L"");
    }
    void TearDown() override {
        CloseAllPages();
        CWipeListVw::ChooseFilesForTests() = nullptr;
        CWipeListVw::ChooseFolderForTests() = nullptr;
        RegDeleteTree(HKEY_CURRENT_USER, kKeys);
    }

    // Types each text into the one-line dialog in turn and presses OK; every text but the last
    // is refused by a box, which the answerer closes.
    static void Answer(CWipeListVw* view, int button, const wchar_t* caption, std::vector<std::wstring> texts) {
        DialogAnswerer refusals(L"Corvane-Sweepmere");
        bool ran = WithModalDialog(caption, [&](HWND dialog) {
            for (const std::wstring& text : texts) {
                TypeText(dialog, IDC_ASKTEXT_TEXT, text);
                Click(dialog, IDOK);
            }
        }, [&] { Press(view, button); });
        EXPECT_TRUE(ran) << caption;
        EXPECT_EQ(refusals.Count(), texts.size() - 1) << caption;
    }
    static std::vector<std::wstring> Rows(CWipeListVw* view, int column = 1) {
        std::vector<std::wstring> rows;
        for (int i = 0; i < view->m_entries.GetItemCount(); ++i) rows.push_back(view->m_entries.GetItemText(i, column));
        return rows;
    }
    // A list of the given entries, saved, and the page opened on it.
    CWipeListVw* Saved(const std::wstring& text) {
        ::SHCreateDirectoryExW(nullptr, engine::WipeListFolder().c_str(), nullptr);
        WriteBytes(engine::WipeListFolder() + L"\\Mine.wipelist", engine::Utf8(text));
        return OpenPage<CWipeListVw>(pages::kWipeList);
    }
};
}  // namespace

TEST_F(WipeListPage, AListIsMadeFilledSavedAndFoundAgain) {
    CWipeListVw* view = OpenPage<CWipeListVw>(pages::kWipeList);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->m_lists.GetCount(), 0);
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(view->m_hWnd, IDC_WIPELIST_SAVE)));

    Answer(view, IDC_WIPELIST_NEW, L"New Wipe List", {L"old:mail", L"Old mail"});
    EXPECT_EQ(view->m_lists.GetLBText(view->m_lists.GetCurSel()), L"Old mail");
    CWipeListVw::ChooseFilesForTests() = [&](std::vector<std::wstring>& paths) {
        paths = {folder + L"\\a.txt", folder + L"\\keep.txt"};
        return true;
    };
    Press(view, IDC_WIPELIST_ADD_FILES);
    Press(view, IDC_WIPELIST_ADD_FILES);  // the same files are not listed twice
    Answer(view, IDC_WIPELIST_ADD_KEY, L"Add Registry Key", {L"HKCU\\Software\\Corvane-Tests\\WipePage\\none", L"C:\\x", kDoomed});
    EXPECT_EQ(Rows(view), (std::vector<std::wstring>{folder + L"\\a.txt", folder + L"\\keep.txt", kDoomed}));
    EXPECT_EQ(Rows(view, 0), (std::vector<std::wstring>{L"File", L"File", L"Registry Key"}));
    // Closing with unsaved changes asks: Cancel keeps the page, Yes saves and closes.
    for (int answer : {IDCANCEL, IDYES}) {
        DialogAnswerer box(L"Corvane-Sweepmere", answer);
        view->GetParentFrame()->SendMessage(WM_CLOSE);
        Pump();
        ASSERT_EQ(box.Count(), 1u);
        EXPECT_EQ(box.Seen()[0].text, L"Save the changes to the wipe list \"Old mail\"?");
        EXPECT_EQ(TheApp()->PageTemplate(pages::kWipeList)->GetDocuments().size(), answer == IDCANCEL ? 1u : 0u);
    }
    EXPECT_NE(ListBytes(L"Old mail").find("key " + engine::Utf8(kDoomed)), std::string::npos);

    view = OpenPage<CWipeListVw>(pages::kWipeList);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->m_lists.GetLBText(view->m_lists.GetCurSel()), L"Old mail");
    EXPECT_EQ(Rows(view), (std::vector<std::wstring>{folder + L"\\a.txt", folder + L"\\keep.txt", kDoomed}));
    EXPECT_TRUE(view->m_entries.GetCheck(0) && view->m_entries.GetCheck(2));
}

TEST_F(WipeListPage, BadLinesAreShownWithTheirNumbersAndDroppedOnlyWhenTheUserSaysSo) {
    CWipeListVw* view = nullptr;
    {
        DialogAnswerer keep(L"Corvane-Sweepmere", IDYES);
        view = Saved(L"file " + folder + L"\\a.txt\r\nfrob C:\\x\r\n");
        ASSERT_NE(view, nullptr);
        ASSERT_TRUE(PumpUntil([&] { return keep.Count() == 1; }));
        EXPECT_NE(keep.Seen()[0].text.find(L"Line 2: "), std::wstring::npos) << keep.Seen()[0].text;
        Press(view, IDC_WIPELIST_SAVE);  // Yes: kept
        ASSERT_EQ(keep.Count(), 2u);
        EXPECT_NE(ListBytes(L"Mine").find("frob C:\\x"), std::string::npos);
    }
    DialogAnswerer drop(L"Corvane-Sweepmere", IDNO);
    Press(view, IDC_WIPELIST_SAVE);
    EXPECT_EQ(ListBytes(L"Mine"), engine::Utf8(L"file " + folder + L"\\a.txt\r\n"));
}

// The preview counts each checked entry and touches nothing; the erase asks, shows its refusals
// before anything goes, takes only the checked entries and reports through the one report.
TEST_F(WipeListPage, PreviewTouchesNothingAndEraseAsksShowsRefusalsFirstAndTakesOnlyTheCheckedEntries) {
    CWipeListVw* view = Saved(L"file " + folder + L"\\a.txt\nfolder C:\\Windows\nkey " + kDoomed + L"\nfile " + folder +
                              L"\\keep.txt\n");
    ASSERT_NE(view, nullptr);
    view->m_entries.SetCheck(3, FALSE);
    const std::string before = Fingerprint(folder + L"\\a.txt") + Fingerprint(folder + L"\\keep.txt");
    Press(view, IDC_WIPELIST_PREVIEW);
    EXPECT_TRUE(PumpUntil([&] { return !view->Busy(); }));
    // The key, its value, its sub-key and the sub-key's default value; the unchecked file is not looked at.
    std::vector<std::wstring> sizes = Rows(view, 2);
    EXPECT_EQ(sizes[0], L"1 item, " + engine::SizeText(8));
    EXPECT_EQ(sizes[2], L"4 items");
    EXPECT_EQ(sizes[3], L"");
    EXPECT_EQ(Fingerprint(folder + L"\\a.txt") + Fingerprint(folder + L"\\keep.txt"), before);
    {
        DialogAnswerer no(L"Corvane-Sweepmere", IDNO);
        Press(view, IDC_WIPELIST_ERASE);
        EXPECT_EQ(no.Count(), 1u);
        EXPECT_FALSE(view->Busy());
        EXPECT_TRUE(FileExists(folder + L"\\a.txt"));
    }
    DialogAnswerer yes(L"Corvane-Sweepmere", IDYES);
    Press(view, IDC_WIPELIST_ERASE);
    ASSERT_TRUE(PumpUntil([&] { return !view->Busy() && yes.Count() == 3; }));
    std::vector<SeenDialog> seen = yes.Seen();
    EXPECT_EQ(seen[0].text, L"Erase the checked entries of Mine? They cannot be restored.");
    EXPECT_NE(seen[1].text.find(L"\nC:\\Windows is a protected folder"), std::wstring::npos) << seen[1].text;
    EXPECT_EQ(seen[1].text.find(L"a.txt"), std::wstring::npos) << seen[1].text;
    EXPECT_EQ(seen[2].text.rfind(L"Wipe List Mine (", 0), 0u) << seen[2].text;
    EXPECT_NE(seen[2].text.find(L"1 not erased"), std::wstring::npos) << seen[2].text;
    EXPECT_FALSE(FileExists(folder + L"\\a.txt"));
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, std::wstring(kKeys) + L"\\doomed"));
    EXPECT_TRUE(FileExists(folder + L"\\keep.txt"));
    EXPECT_TRUE(FileExists(L"C:\\Windows\\system32"));
}
