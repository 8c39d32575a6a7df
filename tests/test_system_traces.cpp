// The system trace pages: Recycle Bin, Recent Documents, Recent Network Folders, System Registry
// Traces, Open File History and MFU Registry Traces, listed from and erased in the test prefix.
#include <gtest/gtest.h>
#include <shlobj.h>

#include "AppHarness.h"
#include "EraseKit.h"
#include "LogoffDlg.h"
#include "ModalScript.h"
#include "RegistryErase.h"
#include "ShellKit.h"
#include "TestKit.h"
#include "resource.h"
#include "system/MruData.h"
#include "system/RecentPages.h"
#include "system/RecycleVw.h"
#include "system/RegistryListPages.h"
#include "system/SystemVw.h"

using namespace testkit;

namespace {
const char kCaption[] = "Corvane-Sweepmere";
const char kTraces[] = "C:\\corvane-traces";  // made by make_trace_links.sh
const char kSentinelKey[] = "Software\\CorvaneTests\\Sentinel";  // below HKLM, the links' target

class TracePages : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(StartApp(), nullptr); }
    void TearDown() override { CloseAllPages(); }

    template <class V>
    static V* Open(PageId id) { return dynamic_cast<V*>(ViewOf(TheApp()->OpenPage(id))); }
    static void Press(CView* view, int id) {
        view->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                          reinterpret_cast<LPARAM>(::GetDlgItem(view->GetSafeHwnd(), id)));
    }
    static std::vector<std::string> Children(const CTreeCtrl& tree, HTREEITEM parent) {
        std::vector<std::string> texts;
        for (HTREEITEM i = tree.GetChildItem(parent); i; i = tree.GetNextSiblingItem(i)) texts.push_back(tree.GetItemText(i));
        return texts;
    }
    static std::vector<std::string> Rows(const CListCtrl& list) {
        std::vector<std::string> rows;
        for (int i = 0; i < list.GetItemCount(); ++i) rows.push_back(list.GetItemText(i, 0));
        return rows;
    }
    // A volatile registry link at path to the sentinel key below HKLM.
    static void MakeLink(const std::string& path) {
        HKEY link = nullptr;
        ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_CREATE_LINK | REG_OPTION_VOLATILE,
                                    KEY_ALL_ACCESS, nullptr, &link, nullptr),
                  ERROR_SUCCESS);
        const wchar_t target[] = L"\\Registry\\Machine\\Software\\CorvaneTests\\Sentinel";
        ::RegSetValueExW(link, L"SymbolicLinkValue", 0, REG_LINK, reinterpret_cast<const BYTE*>(target), sizeof target - sizeof(wchar_t));
        ::RegCloseKey(link);
    }
    // What a link leads to: values a list would name, and a key below.
    static void SeedSentinelKey() {
        for (const char* v : {"a", "MRUList"}) RegSetString(HKEY_LOCAL_MACHINE, kSentinelKey, v, "a");
        RegSetString(HKEY_LOCAL_MACHINE, std::string(kSentinelKey) + "\\Sub", "0", "keep me");
    }
    static void ExpectSentinelKeyIntact() {
        for (const char* v : {"a", "MRUList"}) EXPECT_TRUE(RegValueExists(HKEY_LOCAL_MACHINE, kSentinelKey, v)) << v;
        EXPECT_TRUE(RegValueExists(HKEY_LOCAL_MACHINE, std::string(kSentinelKey) + "\\Sub", "0"));
    }
    static void DeleteKeys(std::initializer_list<std::string> keys) {
        EraseResult ignored;
        for (const std::string& k : keys) regerase::DeleteKey(HKEY_CURRENT_USER, k, ignored);
    }
};

}  // namespace

// ---- Recycle Bin ----

TEST_F(TracePages, RecycleBinListsSortedWithBlankImagesCountsWhatWentAndReportsWhatStayed) {
    std::string trash = TrashFolder();
    if (trash.empty()) GTEST_SKIP() << "the trash of the test HOME is not reachable from inside the prefix";
    CRecycleVw::EraseWithoutWindow();
    for (const char* n : {"bin-zeta.txt", "bin-alpha.txt", "bin-mid.txt", "bin-folder"}) SeedTrash(trash, n, "123456");
    // A binned folder with contents: this shell's emptying leaves it in place.
    std::string folder = trash + "\\files\\bin-folder";
    ::DeleteFileA(folder.c_str());
    ::CreateDirectoryA(folder.c_str(), nullptr);
    WriteFile(folder + "\\inner.txt");
    std::string outside = ScratchFolder("recycle-outside") + "\\bin-alpha.txt";
    WriteFile(outside);

    auto* view = Open<CRecycleVw>(PageId::Recycle);
    ASSERT_NE(view, nullptr);
    HTREEITEM root = view->m_tree.GetRootItem();
    EXPECT_EQ(view->m_tree.GetItemText(root), "Recycle Bin");
    EXPECT_TRUE(view->m_tree.GetItemState(root, TVIS_EXPANDED));
    EXPECT_EQ(OnlyPrefixed(Children(view->m_tree, root), "bin-"),
              (std::vector<std::string>{"bin-alpha.txt", "bin-folder", "bin-mid.txt", "bin-zeta.txt"}));
    // No icon comes for bin items here: each gets the blank, as the root does, never -1.
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(view->m_tree.SendMessage(TVM_GETIMAGELIST, TVSIL_NORMAL)), view->Images());
    for (HTREEITEM i : {root, view->m_tree.GetChildItem(root)}) {
        int image = -1, selected = -1;
        view->m_tree.GetItemImage(i, image, selected);
        EXPECT_EQ(image, CShellFolderTree::kBlankImage);
    }

    DialogAnswerer box(kCaption);
    EraseResult r = CRecycleVw::EraseWithoutWindow();
    EXPECT_EQ(r.erased, 3u);
    EXPECT_EQ(r.bytes, 18u);
    EXPECT_EQ(r.failed, 1u);
    EXPECT_EQ(r.firstReason, CRecycleVw::kNotEmptied);
    EXPECT_EQ(box.Count(), 0u);
    EXPECT_TRUE(FileExists(outside));
    Press(view, IDC_RECYCLE_ERASE);
    ASSERT_EQ(box.Count(), 1u);
    EXPECT_EQ(box.Seen()[0].text, CRecycleVw::kNotEmptied);
    EXPECT_EQ(Children(view->m_tree, view->m_tree.GetRootItem()), std::vector<std::string>{"bin-folder"});

    ::DeleteFileA((folder + "\\inner.txt").c_str());
    ::RemoveDirectoryA(folder.c_str());
    ::DeleteFileA((trash + "\\info\\bin-folder.trashinfo").c_str());
    Press(view, IDC_RECYCLE_ERASE);
    EXPECT_EQ(box.Count(), 1u);
    root = view->m_tree.GetRootItem();
    EXPECT_EQ(view->m_tree.GetItemText(root), "Recycle Bin");  // an empty bin still shows its root
    EXPECT_TRUE(Children(view->m_tree, root).empty());
}

// ---- Recent Documents and Recent Network Folders ----

TEST_F(TracePages, RecentDocumentsListSortedAndEraseLeavesSubFoldersAndLinks) {
    std::string recent = std::string(kTraces) + "\\recent";
    ASSERT_TRUE(FileExists(recent + "\\linked.txt")) << "run tests/make_trace_links.sh first";
    std::string targets = ScratchFolder("recent-targets");
    ScopedShellFolder redirect("Recent", recent);
    ASSERT_EQ(SpecialFolder(CSIDL_RECENT), recent);
    for (const char* name : {"zeta report", "alpha notes"}) {
        WriteFile(targets + "\\" + name + ".txt");
        MakeShortcut(recent + "\\" + name + ".lnk", targets + "\\" + name + ".txt");
    }
    WriteFile(recent + "\\plain.txt");

    auto* view = Open<CRecentDocu>(PageId::RecentDocuments);
    ASSERT_NE(view, nullptr);
    HTREEITEM root = view->m_tree.GetRootItem();
    EXPECT_EQ(view->m_tree.GetItemText(root), "Recent Documents");
    std::vector<std::string> before = Children(view->m_tree, root);
    EXPECT_TRUE(std::is_sorted(before.begin(), before.end(), [](const std::string& a, const std::string& b) {
        return ::lstrcmpiA(a.c_str(), b.c_str()) < 0;
    }));
    EXPECT_GE(before.size(), 5u);

    DialogAnswerer box(kCaption);
    Press(view, IDC_RECENTDOC_ERASE);
    for (const char* gone : {"\\zeta report.lnk", "\\alpha notes.lnk", "\\plain.txt"}) EXPECT_FALSE(FileExists(recent + gone)) << gone;
    EXPECT_TRUE(FileExists(recent + "\\kept folder\\inner.txt"));
    EXPECT_EQ(ReadText(std::string(kTraces) + "\\sentinel\\keep.txt"), "keep\n");
    EXPECT_TRUE(FileExists(targets + "\\alpha notes.txt")) << "a shortcut's target is never touched";
    // The file link stayed, so the page says that not everything went, and lists what is left.
    ASSERT_EQ(box.Count(), 1u);
    EXPECT_EQ(box.Seen()[0].text, CRecentDocu::kNotErased);
    std::vector<std::string> after = Children(view->m_tree, view->m_tree.GetRootItem());
    EXPECT_EQ(after.size(), before.size() - 3);
}

TEST_F(TracePages, NetworkListKeepsTheShellsOrderWithoutItsFixedNames) {
    auto* view = Open<CRecentNWFVw>(PageId::RecentNetworkFolder);
    ASSERT_NE(view, nullptr);
    // Built lists: this shell enumerates no network places. Newest enumerated first, as the reader gives.
    std::list<ShellItem> items;
    for (const char* n : {"Add Network Place", "share on beta", "entire network", "Entire Network",
                          "Wireless Network Setup Wizard", "share on alpha", "Network Setup Wizard"})
        items.push_back(ShellItem{n});
    view->Fill(items);
    EXPECT_EQ(Rows(view->m_list), (std::vector<std::string>{"share on alpha", "entire network", "share on beta"}));
    HIMAGELIST icons = reinterpret_cast<HIMAGELIST>(view->m_list.SendMessage(LVM_GETIMAGELIST, LVSIL_SMALL));
    EXPECT_EQ(ImageList_GetImageCount(icons), 1);

    view->Fill(std::list<ShellItem>{ShellItem{"Entire Network"}, ShellItem{"Add Network Place"}});
    EXPECT_EQ(view->m_list.GetItemCount(), 0);
}

TEST_F(TracePages, NetworkShortcutsAreErasedInsideTheirFolderOnly) {
    std::string nethood = std::string(kTraces) + "\\nethood";
    ASSERT_TRUE(FileExists(nethood + "\\linked.txt")) << "run tests/make_trace_links.sh first";
    ScopedShellFolder redirect("NetHood", nethood);
    ASSERT_EQ(SpecialFolder(CSIDL_NETHOOD), nethood);
    WriteFile(nethood + "\\server share.lnk");

    DialogAnswerer box(kCaption);
    EraseResult r = CRecentNWFVw::EraseWithoutWindow();
    EXPECT_FALSE(FileExists(nethood + "\\server share.lnk"));
    EXPECT_TRUE(FileExists(nethood + "\\place\\target.lnk"));
    EXPECT_EQ(ReadText(std::string(kTraces) + "\\sentinel\\keep.txt"), "keep\n");
    EXPECT_GE(r.erased, 1u);
    EXPECT_FALSE(r.Complete()) << "the link stays and is counted";
    EXPECT_EQ(box.Count(), 0u);
}

// ---- System Registry Traces ----

namespace {
class RegistryTraces : public TracePages {
protected:
    void SetUp() override {
        TracePages::SetUp();
        Clear();
        CLogoffDlg::LogOff() = [](UINT flags, DWORD reason) -> BOOL {
            logOffs.push_back({flags, reason});
            return TRUE;
        };
    }
    void TearDown() override {
        TracePages::TearDown();
        CLogoffDlg::LogOff() = [](UINT, DWORD) -> BOOL { return FALSE; };
        Clear();
        logOffs.clear();
    }
    static void Clear() {
        DeleteKeys({CSystemVw::kRegeditKey, CSystemVw::kMapDriveKey, CSystemVw::kRunKey, CSystemVw::kAutoCompleteKeys[0],
                    CSystemVw::kAutoCompleteKeys[1]});
    }
    static void Seed() {
        RegSetString(HKEY_CURRENT_USER, CSystemVw::kRegeditKey, "LastKey", "My Computer\\HKEY_CURRENT_USER\\Software");
        RegSetString(HKEY_CURRENT_USER, CSystemVw::kMapDriveKey, "MRUList", "ba");
        RegSetString(HKEY_CURRENT_USER, CSystemVw::kMapDriveKey, "a", "\\\\server\\share");
        RegSetString(HKEY_CURRENT_USER, CSystemVw::kRunKey, "MRUList", "cadb");
        RegSetString(HKEY_CURRENT_USER, CSystemVw::kRunKey, "c", "notepad\\1");
        RegSetString(HKEY_CURRENT_USER, CSystemVw::kRunKey, "a", "x");
        RegSetString(HKEY_CURRENT_USER, CSystemVw::kRunKey, "b", "calc\\1");
        RegSetString(HKEY_CURRENT_USER, CSystemVw::kRunKey, "z", "not in the list");
        RegSetString(HKEY_CURRENT_USER, CSystemVw::kAutoCompleteKeys[0], "000", "alpha");
        RegSetString(HKEY_CURRENT_USER, CSystemVw::kAutoCompleteKeys[1], "000", "beta");
        RegSetString(HKEY_CURRENT_USER, CSystemVw::kAutoCompleteKeys[1], "001", "gamma");
        RegSetString(HKEY_CURRENT_USER, CSystemVw::kAutoCompleteKeys[1], "003", "after the gap");
    }
    // The children of each category, in the tree's order.
    static std::vector<std::vector<std::string>> Categories(const CTreeCtrl& tree) {
        std::vector<std::vector<std::string>> all;
        HTREEITEM root = tree.GetRootItem();
        for (HTREEITEM c = tree.GetChildItem(root); c; c = tree.GetNextSiblingItem(c)) all.push_back(Children(tree, c));
        return all;
    }
    // Presses Erase and answers the log-off prompt with the button given.
    static bool EraseAndAnswer(CSystemVw* view, int answer) {
        return WithModalDialog(kCaption, [answer](HWND prompt) {
            EXPECT_NE(TextOf(::FindWindowExA(prompt, nullptr, "Static", nullptr)).find("You need to Logoff for complete cleanup."), std::string::npos);
            Click(prompt, answer);
        }, [view] { Press(view, IDC_SYSREG_ERASE); });
    }
    struct Call { UINT flags; DWORD reason; };
    static inline std::vector<Call> logOffs;
};
}  // namespace

TEST_F(RegistryTraces, ListsEveryCategoryErasesWhatTheListsNameAndOffersTheLogOff) {
    Seed();
    auto* view = Open<CSystemVw>(PageId::SystemRegistry);
    ASSERT_NE(view, nullptr);
    HTREEITEM root = view->m_tree.GetRootItem();
    EXPECT_EQ(view->m_tree.GetItemText(root), "Most Recent Used Files List");
    EXPECT_TRUE(view->m_tree.GetItemState(root, TVIS_EXPANDED));
    EXPECT_EQ(Children(view->m_tree, root),
              (std::vector<std::string>{"Attached Printer List", "Last Opened Registry Key", "Mapped Network Drive List", "Run List",
                                        "Start Menu Auto Complete(Computers,Files.Movies etc..)", "Stream List"}));
    using Rows = std::vector<std::string>;
    EXPECT_EQ(Categories(view->m_tree),
              (std::vector<Rows>{{},
                                 {"My Computer\\HKEY_CURRENT_USER\\Software"},
                                 {"", "\\\\server\\share"},     // b has no value
                                 {"notepad", ""},               // ends at d, which is missing
                                 {"alpha", "beta", "", "gamma"},  // ends at 002
                                 {}}));

    // Erasing needs no visible item: the tree collapsed, every listed value still goes.
    view->m_tree.Expand(view->m_tree.GetRootItem(), TVE_COLLAPSE);

    ASSERT_TRUE(EraseAndAnswer(view, IDC_LOGOFF_NO));
    EXPECT_TRUE(logOffs.empty());
    for (const char* key : CSystemVw::kAutoCompleteKeys) EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, key));
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, CSystemVw::kRegeditKey, "LastKey"));
    for (const char* v : {"a", "b", "c"}) EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, CSystemVw::kRunKey, v)) << v;
    EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, CSystemVw::kRunKey, "MRUList"));
    EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, CSystemVw::kRunKey, "z")) << "only the values the list names go";
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, CSystemVw::kMapDriveKey, "a"));
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, CSystemVw::kMapDriveKey, "MRUList"));
    EXPECT_EQ(Categories(view->m_tree), (std::vector<std::vector<std::string>>(6)));

    // Nothing left to erase: the prompt still comes, and "Yes" logs off through the seam.
    ASSERT_TRUE(EraseAndAnswer(view, IDC_LOGOFF_YES));
    ASSERT_EQ(logOffs.size(), 1u);
    EXPECT_EQ(logOffs[0].flags, static_cast<UINT>(EWX_LOGOFF));
    EXPECT_EQ(logOffs[0].reason, 0u);
}

TEST_F(RegistryTraces, AutoCompleteKeysGoWithTheirLinksButNeverWhatTheyPointTo) {
    SeedSentinelKey();
    RegSetString(HKEY_CURRENT_USER, CSystemVw::kAutoCompleteKeys[0], "000", "alpha");
    MakeLink(std::string(CSystemVw::kAutoCompleteKeys[0]) + "\\linked");
    MakeLink(CSystemVw::kAutoCompleteKeys[1]);  // the key itself a link
    EraseResult r = CSystemVw::EraseWithoutWindow();
    EXPECT_TRUE(r.Complete()) << r.firstReason;
    for (const char* key : CSystemVw::kAutoCompleteKeys) EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, key)) << key;
    ExpectSentinelKeyIntact();
}

// ---- Open File History and MFU Registry Traces ----

namespace {
const std::string kComDlg = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32";
const std::string kUserAssist = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\UserAssist";
const std::string kCount = kUserAssist + "\\{CEBFF5CD-ACE2-4F4F-9178-9926F41749EA}\\Count";

std::vector<unsigned char> ItemIds(const std::string& path) {
    LPITEMIDLIST pidl = ::ILCreateFromPathA(path.c_str());
    if (!pidl) return {};
    const auto* bytes = reinterpret_cast<const unsigned char*>(pidl);
    std::vector<unsigned char> data(bytes, bytes + ::ILGetSize(pidl));
    ::ILFree(pidl);
    return data;
}
// A program's name in UTF-16 with its zero, then what follows it in the entry.
std::vector<unsigned char> ProgramThen(const std::string& program, std::vector<unsigned char> rest) {
    std::vector<unsigned char> out;
    for (char c : program + '\0') out.insert(out.end(), {static_cast<unsigned char>(c), 0});
    out.insert(out.end(), rest.begin(), rest.end());
    return out;
}
void SetBytes(const std::string& key, const std::string& name, const std::vector<unsigned char>& data) {
    RegSetBinary(HKEY_CURRENT_USER, key, name, data.data(), static_cast<DWORD>(data.size()), REG_BINARY);
}
std::vector<uint32_t> ListEx(const std::string& key) {
    std::vector<unsigned char> data;
    regerase::ReadValue(HKEY_CURRENT_USER, key, "MRUListEx", data);
    return mru::OrderFromListEx(data);
}

class RegistryLists : public TracePages {
protected:
    void SetUp() override {
        TracePages::SetUp();
        DeleteKeys({kComDlg, kUserAssist});
    }
    void TearDown() override {
        TracePages::TearDown();
        DeleteKeys({kComDlg, kUserAssist});
    }
};
}  // namespace

TEST_F(RegistryLists, OpenFileHistoryListsBothFormsInOrderAndErasesThemConsistently) {
    std::string dir = ScratchFolder("ofh");
    for (const char* f : {"\\a.txt", "\\b.txt"}) WriteFile(dir + f);
    const std::string pidlTxt = kComDlg + "\\OpenSavePidlMRU\\txt", visited = kComDlg + "\\LastVisitedPidlMRU";
    SetBytes(pidlTxt, "0", ItemIds(dir + "\\a.txt"));
    SetBytes(pidlTxt, "1", ItemIds(dir + "\\b.txt"));
    SetBytes(pidlTxt, "2", {9, 0, 1});  // a broken list: never handed to the shell, not listed
    SetBytes(pidlTxt, "MRUListEx", mru::ListExFrom({1, 2, 0}));
    SetBytes(visited, "0", ProgramThen("notepad.exe", ItemIds(dir)));
    SetBytes(visited, "MRUListEx", mru::ListExFrom({0}));
    RegSetString(HKEY_CURRENT_USER, kComDlg + "\\OpenSaveMRU\\txt", "a", "C:\\old\\one.txt");
    RegSetString(HKEY_CURRENT_USER, kComDlg + "\\OpenSaveMRU\\txt", "b", "C:\\old\\two.txt");
    RegSetString(HKEY_CURRENT_USER, kComDlg + "\\OpenSaveMRU\\txt", "MRUList", "ba");
    std::vector<unsigned char> old = ProgramThen("C:\\old", {});
    SetBytes(kComDlg + "\\LastVisitedMRU", "a", ProgramThen("wordpad.exe", old));
    RegSetString(HKEY_CURRENT_USER, kComDlg + "\\LastVisitedMRU", "MRUList", "a");
    SeedSentinelKey();
    MakeLink(kComDlg + "\\OpenSaveMRU\\linked");

    auto* view = Open<COFHistoryVw>(PageId::OpenFileHistory);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(Rows(view->m_list), (std::vector<std::string>{dir + "\\b.txt", dir + "\\a.txt", "C:\\old\\two.txt",
                                                            "C:\\old\\one.txt", dir, "C:\\old"}));

    EraseResult r = COFHistoryVw::EraseWithoutWindow();
    EXPECT_TRUE(r.Complete()) << r.firstReason;
    EXPECT_EQ(r.erased, 7u);  // the broken entry goes too
    EXPECT_TRUE(ListEx(pidlTxt).empty());
    EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, pidlTxt, "MRUListEx"));
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, visited, "0"));
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, kComDlg + "\\OpenSaveMRU\\txt", "b"));
    ExpectSentinelKeyIntact();
    CloseAllPages();
    view = Open<COFHistoryVw>(PageId::OpenFileHistory);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->m_list.GetItemCount(), 0);
}

TEST_F(RegistryLists, MfuPageShowsDecodedProgramNamesAndErasesThem) {
    RegSetDword(HKEY_CURRENT_USER, kCount, mru::Rot13("C:\\Tools\\Editor.exe"), 5);
    RegSetDword(HKEY_CURRENT_USER, kCount, mru::Rot13("UEME_CTLSESSION"), 1);
    RegSetDword(HKEY_CURRENT_USER, kCount, mru::Rot13("{1AC14E77-02E7-4E5D-B744-2EB1AE5198B7}\\calc.exe"), 2);
    SeedSentinelKey();
    MakeLink(kUserAssist + "\\{0D6D4F41-2994-4BA0-8FEF-620E43CD2812}");

    auto* view = Open<CMFURegVw>(PageId::MfuRegistry);
    ASSERT_NE(view, nullptr);
    char system[MAX_PATH] = "";
    ::GetSystemDirectoryA(system, MAX_PATH);
    std::vector<std::string> rows = Rows(view->m_list);
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows, (std::vector<std::string>{"C:\\Tools\\Editor.exe", std::string(system) + "\\calc.exe"}));
    DialogAnswerer box(kCaption);
    Press(view, IDC_MFUREG_ERASE);
    EXPECT_EQ(box.Count(), 0u);
    EXPECT_EQ(view->m_list.GetItemCount(), 0);
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, kCount, mru::Rot13("C:\\Tools\\Editor.exe")));
    EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, kCount, mru::Rot13("UEME_CTLSESSION")));
    ExpectSentinelKeyIntact();

    RegSetDword(HKEY_CURRENT_USER, kCount, mru::Rot13("C:\\Tools\\Other.exe"), 1);
    EXPECT_EQ(CMFURegVw::EraseWithoutWindow().erased, 1u);
}
