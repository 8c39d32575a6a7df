// The system trace pages: Recycle Bin, Recent Documents, Recent Network Folders, System Registry
// Traces, Open File History and MFU Registry Traces, listed from and erased in the test prefix.
#include <gtest/gtest.h>
#include <shlobj.h>

#include "AppHarness.h"
#include "EraseKit.h"
#include "LogoffDlg.h"
#include "ModalScript.h"
#include "Categories.h"
#include "MruBytes.h"
#include "RegKey.h"
#include "ShellKit.h"
#include "Traces.h"
#include "TestKit.h"
#include "resource.h"
#include "system/RecentPages.h"
#include "system/RecycleVw.h"
#include "system/RegistryListPages.h"
#include "system/SystemVw.h"

using namespace testkit;

namespace {
const wchar_t kCaption[] = L"Corvane-Sweepmere";
const wchar_t kTraces[] = L"C:\\corvane-traces";  // made by make_trace_links.sh
const wchar_t kRegeditKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Regedit";
const wchar_t kMapDriveKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Map Network Drive MRU";
const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";
const wchar_t* const kAutoCompleteKeys[2] = {L"Software\\Microsoft\\Search Assistant\\ACMru\\5603",
                                             L"Software\\Microsoft\\Search Assistant\\ACMru\\5604"};
engine::Result Windowless(const char* key) { return engine::RunErase(engine::CategoryOf(key), {}); }
const wchar_t kSentinelKey[] = L"Software\\CorvaneTests\\Sentinel";  // below HKLM, the links' target

class TracePages : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(StartApp(), nullptr); }
    void TearDown() override { CloseAllPages(); }

    template <class V>
    static V* Open(const char* id) { return dynamic_cast<V*>(ViewOf(TheApp()->OpenPage(id))); }
    static void Press(CView* view, int id) {
        view->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                          reinterpret_cast<LPARAM>(::GetDlgItem(view->GetSafeHwnd(), id)));
    }
    static std::vector<std::wstring> Children(const CTreeCtrl& tree, HTREEITEM parent) {
        std::vector<std::wstring> texts;
        for (HTREEITEM i = tree.GetChildItem(parent); i; i = tree.GetNextSiblingItem(i)) texts.push_back(tree.GetItemText(i));
        return texts;
    }
    static std::vector<std::wstring> Rows(const CListCtrl& list) {
        std::vector<std::wstring> rows;
        for (int i = 0; i < list.GetItemCount(); ++i) rows.push_back(list.GetItemText(i, 0));
        return rows;
    }
    // A volatile registry link at path to the sentinel key below HKLM.
    static void MakeLink(const std::wstring& path) {
        HKEY link = nullptr;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_CREATE_LINK | REG_OPTION_VOLATILE,
                                    KEY_ALL_ACCESS, nullptr, &link, nullptr),
                  ERROR_SUCCESS);
        const wchar_t target[] = L"\\Registry\\Machine\\Software\\CorvaneTests\\Sentinel";
        ::RegSetValueExW(link, L"SymbolicLinkValue", 0, REG_LINK, reinterpret_cast<const BYTE*>(target), sizeof target - sizeof(wchar_t));
        ::RegCloseKey(link);
    }
    // What a link leads to: values a list would name, and a key below.
    static void SeedSentinelKey() {
        for (const wchar_t* v : {L"a", L"MRUList"}) RegSetString(HKEY_LOCAL_MACHINE, kSentinelKey, v, L"a");
        RegSetString(HKEY_LOCAL_MACHINE, std::wstring(kSentinelKey) + L"\\Sub", L"0", L"keep me");
    }
    static void ExpectSentinelKeyIntact() {
        for (const wchar_t* v : {L"a", L"MRUList"}) EXPECT_TRUE(RegValueExists(HKEY_LOCAL_MACHINE, kSentinelKey, v)) << v;
        EXPECT_TRUE(RegValueExists(HKEY_LOCAL_MACHINE, std::wstring(kSentinelKey) + L"\\Sub", L"0"));
    }
    static void DeleteKeys(std::initializer_list<std::wstring> keys) {
        engine::Result ignored;
        for (const std::wstring& k : keys) engine::DeleteKeyTree(HKEY_CURRENT_USER, k, ignored);
    }
};

}  // namespace

// ---- Recycle Bin ----

TEST_F(TracePages, RecycleBinListsSortedWithBlankImagesCountsWhatWentAndReportsWhatStayed) {
    std::wstring trash = TrashFolder();
    ASSERT_FALSE(trash.empty()) << L"the trash of the test HOME is not reachable from inside the prefix";
    Windowless("system.recycle-bin");
    for (const wchar_t* n : {L"bin-zeta.txt", L"bin-alpha.txt", L"bin-mid.txt", L"bin-folder"}) SeedTrash(trash, n, L"123456");
    // A binned folder with contents: this shell's emptying leaves it in place.
    std::wstring folder = trash + L"\\files\\bin-folder";
    ::DeleteFileW(folder.c_str());
    ::CreateDirectoryW(folder.c_str(), nullptr);
    WriteFile(folder + L"\\inner.txt");
    std::wstring outside = ScratchFolder(L"recycle-outside") + L"\\bin-alpha.txt";
    WriteFile(outside);

    auto* view = Open<CRecycleVw>("system.recycle-bin");
    ASSERT_NE(view, nullptr);
    HTREEITEM root = view->m_tree.GetRootItem();
    EXPECT_EQ(view->m_tree.GetItemText(root), L"Recycle Bin");
    EXPECT_TRUE(view->m_tree.GetItemState(root, TVIS_EXPANDED));
    EXPECT_EQ(OnlyPrefixed(Children(view->m_tree, root), L"bin-"),
              (std::vector<std::wstring>{L"bin-alpha.txt", L"bin-folder", L"bin-mid.txt", L"bin-zeta.txt"}));
    // No icon comes for bin items here: each gets the blank, as the root does, never -1.
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(view->m_tree.SendMessage(TVM_GETIMAGELIST, TVSIL_NORMAL)), view->Images());
    for (HTREEITEM i : {root, view->m_tree.GetChildItem(root)}) {
        int image = -1, selected = -1;
        view->m_tree.GetItemImage(i, image, selected);
        EXPECT_EQ(image, CShellFolderTree::kBlankImage);
    }

    DialogAnswerer box(kCaption);
    engine::Result r = Windowless("system.recycle-bin");
    EXPECT_EQ(r.erased, 3u);
    EXPECT_EQ(r.bytes, 18u);
    EXPECT_EQ(r.failed, 1u);
    EXPECT_FALSE(r.FirstReason().empty());
    EXPECT_EQ(box.Count(), 0u);
    EXPECT_TRUE(FileExists(outside));
    Press(view, IDC_RECYCLE_ERASE);  // emptied on a worker
    ASSERT_TRUE(PumpUntil([&] { return !view->Cleaning() && box.Count() == 1; }));
    Pump();
    ASSERT_EQ(box.Count(), 1u);
    EXPECT_EQ(box.Seen()[0].text, CRecycleVw::kNotEmptied);
    EXPECT_EQ(Children(view->m_tree, view->m_tree.GetRootItem()), std::vector<std::wstring>{L"bin-folder"});

    ::DeleteFileW((folder + L"\\inner.txt").c_str());
    ::RemoveDirectoryW(folder.c_str());
    ::DeleteFileW((trash + L"\\info\\bin-folder.trashinfo").c_str());
    Press(view, IDC_RECYCLE_ERASE);
    PumpUntil([&] { return !view->Cleaning(); });
    Pump();
    EXPECT_EQ(box.Count(), 1u);
    root = view->m_tree.GetRootItem();
    EXPECT_EQ(view->m_tree.GetItemText(root), L"Recycle Bin");  // an empty bin still shows its root
    EXPECT_TRUE(Children(view->m_tree, root).empty());
}

// ---- Recent Documents and Recent Network Folders ----

TEST_F(TracePages, RecentDocumentsListSortedAndEraseLeavesSubFoldersAndLinks) {
    std::wstring recent = std::wstring(kTraces) + L"\\recent";
    ASSERT_TRUE(FileExists(recent + L"\\linked.txt")) << L"run tests/make_trace_links.sh first";
    std::wstring targets = ScratchFolder(L"recent-targets");
    ScopedShellFolder redirect(L"Recent", recent);
    ASSERT_EQ(SpecialFolder(CSIDL_RECENT), recent);
    for (const wchar_t* name : {L"zeta report", L"alpha notes"}) {
        WriteFile(targets + L"\\" + name + L".txt");
        MakeShortcut(recent + L"\\" + name + L".lnk", targets + L"\\" + name + L".txt");
    }
    WriteFile(recent + L"\\plain.txt");

    auto* view = Open<CRecentDocu>("system.recent-documents");
    ASSERT_NE(view, nullptr);
    HTREEITEM root = view->m_tree.GetRootItem();
    EXPECT_EQ(view->m_tree.GetItemText(root), L"Recent Documents");
    std::vector<std::wstring> before = Children(view->m_tree, root);
    EXPECT_TRUE(std::is_sorted(before.begin(), before.end(), [](const std::wstring& a, const std::wstring& b) {
        return ::lstrcmpiW(a.c_str(), b.c_str()) < 0;
    }));
    EXPECT_GE(before.size(), 5u);

    DialogAnswerer box(kCaption);
    Press(view, IDC_RECENTDOC_ERASE);
    for (const wchar_t* gone : {L"\\zeta report.lnk", L"\\alpha notes.lnk", L"\\plain.txt"}) EXPECT_FALSE(FileExists(recent + gone)) << gone;
    EXPECT_TRUE(FileExists(recent + L"\\kept folder\\inner.txt"));
    EXPECT_EQ(ReadText(std::wstring(kTraces) + L"\\sentinel\\keep.txt"), L"keep\n");
    EXPECT_TRUE(FileExists(targets + L"\\alpha notes.txt")) << L"a shortcut's target is never touched";
    // The file link stayed, so the page says that not everything went, and lists what is left.
    ASSERT_EQ(box.Count(), 1u);
    EXPECT_EQ(box.Seen()[0].text, CRecentDocu::kNotErased);
    std::vector<std::wstring> after = Children(view->m_tree, view->m_tree.GetRootItem());
    EXPECT_EQ(after.size(), before.size() - 3);
}

TEST_F(TracePages, NetworkListKeepsTheShellsOrderWithoutItsFixedNames) {
    auto* view = Open<CRecentNWFVw>("system.network-places");
    ASSERT_NE(view, nullptr);
    // Built lists: this shell enumerates no network places. Newest enumerated first, as the reader gives.
    std::list<ShellItem> items;
    for (const wchar_t* n : {L"Add Network Place", L"share on beta", L"entire network", L"Entire Network",
                          L"Wireless Network Setup Wizard", L"share on alpha", L"Network Setup Wizard"})
        items.push_back(ShellItem{n});
    view->Fill(items);
    EXPECT_EQ(Rows(view->m_list), (std::vector<std::wstring>{L"share on alpha", L"entire network", L"share on beta"}));
    HIMAGELIST icons = reinterpret_cast<HIMAGELIST>(view->m_list.SendMessage(LVM_GETIMAGELIST, LVSIL_SMALL));
    EXPECT_EQ(ImageList_GetImageCount(icons), 1);

    view->Fill(std::list<ShellItem>{ShellItem{L"Entire Network"}, ShellItem{L"Add Network Place"}});
    EXPECT_EQ(view->m_list.GetItemCount(), 0);
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
        DeleteKeys({kRegeditKey, kMapDriveKey, kRunKey, kAutoCompleteKeys[0],
                    kAutoCompleteKeys[1]});
    }
    static void Seed() {
        RegSetString(HKEY_CURRENT_USER, kRegeditKey, L"LastKey", L"My Computer\\HKEY_CURRENT_USER\\Software");
        RegSetString(HKEY_CURRENT_USER, kMapDriveKey, L"MRUList", L"ba");
        RegSetString(HKEY_CURRENT_USER, kMapDriveKey, L"a", L"\\\\server\\share");
        RegSetString(HKEY_CURRENT_USER, kRunKey, L"MRUList", L"cadb");
        RegSetString(HKEY_CURRENT_USER, kRunKey, L"c", L"notepad\\1");
        RegSetString(HKEY_CURRENT_USER, kRunKey, L"a", L"x");
        RegSetString(HKEY_CURRENT_USER, kRunKey, L"b", L"calc\\1");
        RegSetString(HKEY_CURRENT_USER, kRunKey, L"z", L"not in the list");
        RegSetString(HKEY_CURRENT_USER, kAutoCompleteKeys[0], L"000", L"alpha");
        RegSetString(HKEY_CURRENT_USER, kAutoCompleteKeys[1], L"000", L"beta");
        RegSetString(HKEY_CURRENT_USER, kAutoCompleteKeys[1], L"001", L"gamma");
        RegSetString(HKEY_CURRENT_USER, kAutoCompleteKeys[1], L"003", L"after the gap");
    }
    // The children of each category, in the tree's order.
    static std::vector<std::vector<std::wstring>> Categories(const CTreeCtrl& tree) {
        std::vector<std::vector<std::wstring>> all;
        HTREEITEM root = tree.GetRootItem();
        for (HTREEITEM c = tree.GetChildItem(root); c; c = tree.GetNextSiblingItem(c)) all.push_back(Children(tree, c));
        return all;
    }
    // Presses Erase and answers the log-off prompt with the button given.
    static bool EraseAndAnswer(CSystemVw* view, int answer) {
        return WithModalDialog(kCaption, [answer](HWND prompt) {
            EXPECT_NE(TextOf(::FindWindowExW(prompt, nullptr, L"Static", nullptr)).find(L"You need to Logoff for complete cleanup."), std::wstring::npos);
            Click(prompt, answer);
        }, [view] { Press(view, IDC_SYSREG_ERASE); });
    }
    struct Call { UINT flags; DWORD reason; };
    static inline std::vector<Call> logOffs;
};
}  // namespace

TEST_F(RegistryTraces, ListsEveryCategoryErasesWhatTheListsNameAndOffersTheLogOff) {
    Seed();
    auto* view = Open<CSystemVw>("system.registry-traces");
    ASSERT_NE(view, nullptr);
    HTREEITEM root = view->m_tree.GetRootItem();
    EXPECT_EQ(view->m_tree.GetItemText(root), L"Most Recent Used Files List");
    EXPECT_TRUE(view->m_tree.GetItemState(root, TVIS_EXPANDED));
    EXPECT_EQ(Children(view->m_tree, root),
              (std::vector<std::wstring>{L"Attached Printer List", L"Last Opened Registry Key", L"Mapped Network Drive List", L"Run List",
                                        L"Start Menu Auto Complete(Computers,Files.Movies etc..)", L"Stream List"}));
    using Rows = std::vector<std::wstring>;
    EXPECT_EQ(Categories(view->m_tree),
              (std::vector<Rows>{{},
                                 {L"My Computer\\HKEY_CURRENT_USER\\Software"},
                                 {L"", L"\\\\server\\share"},     // b has no value
                                 {L"notepad", L""},               // ends at d, which is missing
                                 {L"alpha", L"beta", L"", L"gamma"},  // ends at 002
                                 {}}));

    // Erasing needs no visible item: the tree collapsed, every listed value still goes.
    view->m_tree.Expand(view->m_tree.GetRootItem(), TVE_COLLAPSE);

    ASSERT_TRUE(EraseAndAnswer(view, IDC_LOGOFF_NO));
    EXPECT_TRUE(logOffs.empty());
    for (const wchar_t* key : kAutoCompleteKeys) EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, key));
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, kRegeditKey, L"LastKey"));
    for (const wchar_t* v : {L"a", L"b", L"c"}) EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, kRunKey, v)) << v;
    EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, kRunKey, L"MRUList"));
    EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, kRunKey, L"z")) << L"only the values the list names go";
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, kMapDriveKey, L"a"));
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, kMapDriveKey, L"MRUList"));
    EXPECT_EQ(Categories(view->m_tree), (std::vector<std::vector<std::wstring>>(6)));

    // Nothing left to erase: the prompt still comes, and "Yes" logs off through the seam.
    ASSERT_TRUE(EraseAndAnswer(view, IDC_LOGOFF_YES));
    ASSERT_EQ(logOffs.size(), 1u);
    EXPECT_EQ(logOffs[0].flags, static_cast<UINT>(EWX_LOGOFF));
    EXPECT_EQ(logOffs[0].reason, 0u);
}

// ---- Open File History and MFU Registry Traces ----

namespace {
const std::wstring kComDlg = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32";
const std::wstring kUserAssist = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\UserAssist";
const std::wstring kCount = kUserAssist + L"\\{CEBFF5CD-ACE2-4F4F-9178-9926F41749EA}\\Count";

std::vector<unsigned char> ItemIds(const std::wstring& path) {
    LPITEMIDLIST pidl = ::ILCreateFromPathW(path.c_str());
    if (!pidl) return {};
    const auto* bytes = reinterpret_cast<const unsigned char*>(pidl);
    std::vector<unsigned char> data(bytes, bytes + ::ILGetSize(pidl));
    ::ILFree(pidl);
    return data;
}
// A program's name in UTF-16 with its zero, then what follows it in the entry.
std::vector<unsigned char> ProgramThen(const std::wstring& program, std::vector<unsigned char> rest) {
    std::vector<unsigned char> out;
    for (wchar_t c : program + L'\0') out.insert(out.end(), {static_cast<unsigned char>(c & 0xFF), static_cast<unsigned char>(c >> 8)});
    out.insert(out.end(), rest.begin(), rest.end());
    return out;
}
void SetBytes(const std::wstring& key, const std::wstring& name, const std::vector<unsigned char>& data) {
    RegSetBinary(HKEY_CURRENT_USER, key, name, data.data(), static_cast<DWORD>(data.size()), REG_BINARY);
}
std::vector<uint32_t> ListEx(const std::wstring& key) {
    std::vector<unsigned char> data;
    DWORD size = 0;
    if (::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), L"MRUListEx", RRF_RT_REG_BINARY, nullptr, nullptr, &size) == ERROR_SUCCESS) {
        data.resize(size);
        ::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), L"MRUListEx", RRF_RT_REG_BINARY, nullptr, data.data(), &size);
        data.resize(size);
    }
    return engine::mru::OrderFromListEx(data);
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
    std::wstring dir = ScratchFolder(L"ofh");
    for (const wchar_t* f : {L"\\a.txt", L"\\b.txt"}) WriteFile(dir + f);
    const std::wstring pidlTxt = kComDlg + L"\\OpenSavePidlMRU\\txt", visited = kComDlg + L"\\LastVisitedPidlMRU";
    SetBytes(pidlTxt, L"0", ItemIds(dir + L"\\a.txt"));
    SetBytes(pidlTxt, L"1", ItemIds(dir + L"\\b.txt"));
    SetBytes(pidlTxt, L"2", {9, 0, 1});  // a broken list: still listed, and erased
    SetBytes(pidlTxt, L"MRUListEx", engine::mru::ListExFrom({1, 2, 0}));
    SetBytes(visited, L"0", ProgramThen(L"notepad.exe", ItemIds(dir)));
    SetBytes(visited, L"MRUListEx", engine::mru::ListExFrom({0}));
    RegSetString(HKEY_CURRENT_USER, kComDlg + L"\\OpenSaveMRU\\txt", L"a", L"C:\\old\\one.txt");
    RegSetString(HKEY_CURRENT_USER, kComDlg + L"\\OpenSaveMRU\\txt", L"b", L"C:\\old\\two.txt");
    RegSetString(HKEY_CURRENT_USER, kComDlg + L"\\OpenSaveMRU\\txt", L"MRUList", L"ba");
    std::vector<unsigned char> old = ProgramThen(L"C:\\old", {});
    SetBytes(kComDlg + L"\\LastVisitedMRU", L"a", ProgramThen(L"wordpad.exe", old));
    RegSetString(HKEY_CURRENT_USER, kComDlg + L"\\LastVisitedMRU", L"MRUList", L"a");
    SeedSentinelKey();
    MakeLink(kComDlg + L"\\OpenSaveMRU\\linked");

    auto* view = Open<COFHistoryVw>("system.open-file-history");
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(Rows(view->m_list), (std::vector<std::wstring>{dir + L"\\b.txt", engine::kNotAPath, dir + L"\\a.txt", L"C:\\old\\two.txt",
                                                            L"C:\\old\\one.txt", dir, L"C:\\old"}));

    engine::Result r = Windowless("system.open-file-history");
    EXPECT_EQ(r.failed, 1u) << L"the link is refused and reported";
    EXPECT_NE(r.FirstReason().find(L"link"), std::wstring::npos) << r.FirstReason();
    EXPECT_EQ(r.erased, 7u);  // the broken entry goes too
    EXPECT_TRUE(ListEx(pidlTxt).empty());
    EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, pidlTxt, L"MRUListEx"));
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, visited, L"0"));
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, kComDlg + L"\\OpenSaveMRU\\txt", L"b"));
    ExpectSentinelKeyIntact();
    CloseAllPages();
    view = Open<COFHistoryVw>("system.open-file-history");
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->m_list.GetItemCount(), 0);
}

TEST_F(RegistryLists, MfuPageShowsDecodedProgramNamesAndErasesThem) {
    RegSetDword(HKEY_CURRENT_USER, kCount, engine::mru::Rot13(L"C:\\Tools\\Editor.exe"), 5);
    RegSetDword(HKEY_CURRENT_USER, kCount, engine::mru::Rot13(L"UEME_CTLSESSION"), 1);
    RegSetDword(HKEY_CURRENT_USER, kCount, engine::mru::Rot13(L"{1AC14E77-02E7-4E5D-B744-2EB1AE5198B7}\\calc.exe"), 2);
    SeedSentinelKey();
    MakeLink(kUserAssist + L"\\{0D6D4F41-2994-4BA0-8FEF-620E43CD2812}");

    auto* view = Open<CMFURegVw>("system.mfu");
    ASSERT_NE(view, nullptr);
    wchar_t system[MAX_PATH] = L"";
    ::GetSystemDirectoryW(system, MAX_PATH);
    std::vector<std::wstring> rows = Rows(view->m_list);
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows, (std::vector<std::wstring>{L"C:\\Tools\\Editor.exe", std::wstring(system) + L"\\calc.exe"}));
    DialogAnswerer box(kCaption);
    Press(view, IDC_MFUREG_ERASE);
    EXPECT_EQ(box.Count(), 0u);
    EXPECT_EQ(view->m_list.GetItemCount(), 0);
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, kCount, engine::mru::Rot13(L"C:\\Tools\\Editor.exe")));
    EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, kCount, engine::mru::Rot13(L"UEME_CTLSESSION")));
    ExpectSentinelKeyIntact();
}
