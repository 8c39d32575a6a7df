// The system trace pages: Recycle Bin, Recent Documents, Recent Network Folders, System Registry
// Traces, Open File History and MFU Registry Traces, listed from and erased in the test prefix.
// What each registry list finds and erases is the engine's table (tests/engine); here each page
// shows what the engine returned.
#include <gtest/gtest.h>
#include <shlobj.h>

#include "AppHarness.h"
#include "EraseKit.h"
#include "LogoffDlg.h"
#include "ModalScript.h"
#include "Categories.h"
#include "MruBytes.h"
#include "TraceCategories.h"
#include "ShellKit.h"
#include "resource.h"
#include "system/RecentPages.h"
#include "system/RecycleVw.h"
#include "system/RegistryListPages.h"
#include "system/SystemVw.h"

using namespace testkit;
using Texts = std::vector<std::wstring>;

namespace {
const wchar_t kCaption[] = L"Corvane-Sweepmere";
const wchar_t kTraces[] = L"C:\\corvane-traces";  // made by make_trace_links.sh
const std::wstring kExplorer = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
const std::wstring kRunKey = kExplorer + L"\\RunMRU";
// Outside any 8-bit code page (Cyrillic, CJK and a surrogate pair): listed and erased as it is.
const std::wstring kUnicode = L"\u043e\u0442\u0447\u0451\u0442 \u5c65\u6b74 \xD834\xDD1E";

Texts Children(const CTreeCtrl& tree, HTREEITEM parent) {
    Texts texts;
    for (HTREEITEM i = tree.GetChildItem(parent); i; i = tree.GetNextSiblingItem(i)) texts.push_back(tree.GetItemText(i));
    return texts;
}
Texts Rows(const CListCtrl& list) {
    Texts rows;
    for (int i = 0; i < list.GetItemCount(); ++i) rows.push_back(list.GetItemText(i, 0));
    return rows;
}

// The log-off goes through the seam and is recorded, never done.
class TracePages : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(StartApp(), nullptr);
        CLogoffDlg::LogOff() = [](UINT flags, DWORD reason) -> BOOL { logOffs.push_back({flags, reason}); return TRUE; };
    }
    void TearDown() override {
        CloseAllPages();
        CLogoffDlg::LogOff() = [](UINT, DWORD) -> BOOL { return FALSE; };
        logOffs.clear();
    }
    // Presses the System Registry Traces page's Erase and answers the log-off prompt with the button given.
    static bool EraseAndAnswer(CSystemVw* view, int answer) {
        return WithModalDialog(kCaption, [answer](HWND prompt) {
            EXPECT_NE(TextOf(::FindWindowExW(prompt, nullptr, L"Static", nullptr)).find(L"You need to Logoff for complete cleanup."), std::wstring::npos);
            Click(prompt, answer);
        }, [view] { Press(view, IDC_SYSREG_ERASE); });
    }
    static inline std::vector<std::pair<UINT, DWORD>> logOffs;
};
}  // namespace

TEST_F(TracePages, RecycleBinListsSortedWithBlankImagesCountsWhatWentAndReportsWhatStayed) {
    std::wstring trash = TrashFolder();
    ASSERT_FALSE(trash.empty()) << L"the trash of the test HOME is not reachable from inside the prefix";
    const engine::Category& bin = engine::CategoryOf("system.recycle-bin");
    engine::RunErase(bin, {});
    for (const wchar_t* n : {L"bin-zeta.txt", L"bin-alpha.txt", L"bin-mid.txt", L"bin-folder"}) SeedTrash(trash, n, L"123456");
    // A binned folder with contents: this shell's emptying leaves it in place.
    std::wstring folder = trash + L"\\files\\bin-folder";
    ::DeleteFileW(folder.c_str());
    ::CreateDirectoryW(folder.c_str(), nullptr);
    WriteFile(folder + L"\\inner.txt");
    std::wstring outside = ScratchFolder(L"recycle-outside") + L"\\bin-alpha.txt";
    WriteFile(outside);

    auto* view = OpenPage<CRecycleVw>("system.recycle-bin");
    ASSERT_NE(view, nullptr);
    HTREEITEM root = view->m_tree.GetRootItem();
    EXPECT_TRUE(view->m_tree.GetItemState(root, TVIS_EXPANDED));
    EXPECT_EQ(OnlyPrefixed(Children(view->m_tree, root), L"bin-"), (Texts{L"bin-alpha.txt", L"bin-folder", L"bin-mid.txt", L"bin-zeta.txt"}));
    // No icon comes for bin items here: each gets the blank, as the root does, never -1.
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(view->m_tree.SendMessage(TVM_GETIMAGELIST, TVSIL_NORMAL)), view->Images());
    for (HTREEITEM i : {root, view->m_tree.GetChildItem(root)}) {
        int image = -1, selected = -1;
        view->m_tree.GetItemImage(i, image, selected);
        EXPECT_EQ(image, CShellFolderTree::kBlankImage);
    }

    DialogAnswerer box(kCaption);
    engine::Result r = engine::RunErase(bin, {});
    EXPECT_EQ(std::tuple(r.erased, r.bytes, r.failed), std::tuple(3u, 18u, 1u));
    EXPECT_FALSE(r.FirstReason().empty());
    EXPECT_EQ(box.Count(), 0u);
    EXPECT_TRUE(FileExists(outside));
    Press(view, IDC_RECYCLE_ERASE);  // emptied on a worker
    ASSERT_TRUE(PumpUntil([&] { return !view->Cleaning() && box.Count() == 1; }));
    Pump();
    ASSERT_EQ(box.Count(), 1u);
    EXPECT_EQ(box.Seen()[0].text, CRecycleVw::kNotEmptied);
    EXPECT_EQ(Children(view->m_tree, view->m_tree.GetRootItem()), Texts{L"bin-folder"});

    RemoveTree(folder);
    ::DeleteFileW((trash + L"\\info\\bin-folder.trashinfo").c_str());
    Press(view, IDC_RECYCLE_ERASE);
    PumpUntil([&] { return !view->Cleaning(); });
    Pump();
    EXPECT_EQ(box.Count(), 1u);
    root = view->m_tree.GetRootItem();
    EXPECT_EQ(view->m_tree.GetItemText(root), L"Recycle Bin");  // an empty bin still shows its root
    EXPECT_TRUE(Children(view->m_tree, root).empty());
}

// The order of the list is the shared tree's, the Recycle Bin's test.
TEST_F(TracePages, RecentDocumentsListTheirExactNamesAndEraseLeavesSubFoldersAndLinks) {
    std::wstring recent = std::wstring(kTraces) + L"\\recent";
    ASSERT_TRUE(FileExists(recent + L"\\linked.txt")) << L"run tests/make_trace_links.sh first";
    std::wstring targets = ScratchFolder(L"recent-targets");
    ScopedShellFolder redirect(L"Recent", recent);
    ASSERT_EQ(SpecialFolder(CSIDL_RECENT), recent);
    const Texts names{L"zeta report", L"alpha notes", kUnicode};
    for (const std::wstring& name : names) {
        WriteFile(targets + L"\\" + name + L".txt");
        MakeShortcut(recent + L"\\" + name + L".lnk", targets + L"\\" + name + L".txt");
    }
    WriteFile(recent + L"\\plain.txt");

    auto* view = OpenPage<CRecentDocu>("system.recent-documents");
    ASSERT_NE(view, nullptr);
    Texts before = Children(view->m_tree, view->m_tree.GetRootItem());
    EXPECT_NE(std::find(before.begin(), before.end(), kUnicode), before.end());
    // In a fresh prefix the shell may hold a new shortcut a moment after reading it.
    EXPECT_TRUE(PumpUntil([&] {
        HANDLE h = ::CreateFileW((recent + L"\\" + kUnicode + L".lnk").c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        return h != INVALID_HANDLE_VALUE && ::CloseHandle(h);
    }));

    DialogAnswerer box(kCaption);
    Press(view, IDC_RECENTDOC_ERASE);
    for (const std::wstring& name : names) EXPECT_FALSE(FileExists(recent + L"\\" + name + L".lnk")) << name;
    EXPECT_FALSE(FileExists(recent + L"\\plain.txt"));
    EXPECT_TRUE(FileExists(recent + L"\\kept folder\\inner.txt"));
    EXPECT_EQ(ReadText(std::wstring(kTraces) + L"\\sentinel\\keep.txt"), L"keep\n");
    EXPECT_TRUE(FileExists(targets + L"\\" + kUnicode + L".txt")) << L"a shortcut's target is never touched";
    // The file link stayed, so the page says that not everything went, and lists what is left.
    ASSERT_EQ(box.Count(), 1u);
    EXPECT_EQ(box.Seen()[0].text, CRecentDocu::kNotErased);
    EXPECT_EQ(Children(view->m_tree, view->m_tree.GetRootItem()).size(), before.size() - 4);

    // Where everything goes, the page says nothing.
    ScopedShellFolder whole(L"Recent", ScratchFolder(L"recent-whole"));
    MakeShortcut(SpecialFolder(CSIDL_RECENT) + L"\\gone.lnk", targets + L"\\zeta report.txt");
    Press(view, IDC_RECENTDOC_ERASE);
    EXPECT_EQ(box.Count(), 1u);
    EXPECT_TRUE(Children(view->m_tree, view->m_tree.GetRootItem()).empty());
}

TEST_F(TracePages, NetworkListKeepsTheShellsOrderWithoutItsFixedNames) {
    auto* view = OpenPage<CRecentNWFVw>("system.network-places");
    ASSERT_NE(view, nullptr);
    // Built lists: this shell enumerates no network places. Newest enumerated first, as the reader gives.
    std::list<ShellItem> items;
    for (const wchar_t* n : {L"Add Network Place", L"share on beta", L"entire network", L"Entire Network",
                             L"Wireless Network Setup Wizard", L"share on alpha", L"Network Setup Wizard"})
        items.push_back(ShellItem{n});
    view->Fill(items);
    EXPECT_EQ(Rows(view->m_list), (Texts{L"share on alpha", L"entire network", L"share on beta"}));
    EXPECT_EQ(ImageList_GetImageCount(reinterpret_cast<HIMAGELIST>(view->m_list.SendMessage(LVM_GETIMAGELIST, LVSIL_SMALL))), 1);
    view->Fill(std::list<ShellItem>{ShellItem{L"Entire Network"}, ShellItem{L"Add Network Place"}});
    EXPECT_EQ(view->m_list.GetItemCount(), 0);
}

TEST_F(TracePages, RegistryTracesShowTheEnginesTracesUnderTheirHeadingsAreErasedAndOfferTheLogOff) {
    RegDeleteTree(HKEY_CURRENT_USER, kRunKey);
    RegSetString(HKEY_CURRENT_USER, kRunKey, L"MRUList", L"ba");
    RegSetString(HKEY_CURRENT_USER, kRunKey, L"a", L"notepad\\1");
    RegSetString(HKEY_CURRENT_USER, kRunKey, L"b", L"calc\\1");
    auto* view = OpenPage<CSystemVw>("system.registry-traces");
    ASSERT_NE(view, nullptr);
    HTREEITEM root = view->m_tree.GetRootItem();
    EXPECT_EQ(view->m_tree.GetItemText(root), L"Most Recent Used Files List");
    EXPECT_TRUE(view->m_tree.GetItemState(root, TVIS_EXPANDED));
    const Texts headings{L"Attached Printer List", L"Last Opened Registry Key", L"Mapped Network Drive List", L"Run List",
                         L"Start Menu Auto Complete(Computers,Files.Movies etc..)", L"Stream List"};
    EXPECT_EQ(Children(view->m_tree, root), headings);
    // Each heading's children are the engine's entries of its traces, in their order.
    const engine::TraceDef* def = engine::FindTraceDefinition("system.registry-traces");
    std::vector<engine::TraceEntry> entries = engine::ReadTraces(*def);
    HTREEITEM node = view->m_tree.GetChildItem(root);
    for (const std::wstring& heading : headings) {
        Texts texts;
        for (const engine::TraceEntry& e : entries)
            if (def->sources[e.source].heading == heading) texts.push_back(e.text);
        EXPECT_EQ(Children(view->m_tree, node), texts) << heading;
        node = view->m_tree.GetNextSiblingItem(node);
    }

    // Erasing needs no visible item: the tree collapsed, every listed value still goes.
    view->m_tree.Expand(root, TVE_COLLAPSE);
    ASSERT_TRUE(EraseAndAnswer(view, IDC_LOGOFF_NO));
    EXPECT_TRUE(logOffs.empty());
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, kRunKey, L"a"));
    for (HTREEITEM n = view->m_tree.GetChildItem(view->m_tree.GetRootItem()); n; n = view->m_tree.GetNextSiblingItem(n))
        EXPECT_TRUE(Children(view->m_tree, n).empty()) << view->m_tree.GetItemText(n);
    // Nothing left to erase: the prompt still comes, and "Yes" logs off through the seam.
    ASSERT_TRUE(EraseAndAnswer(view, IDC_LOGOFF_YES));
    EXPECT_EQ(logOffs, (std::vector<std::pair<UINT, DWORD>>{{EWX_LOGOFF, 0}}));
    RegDeleteTree(HKEY_CURRENT_USER, kRunKey);
}

TEST_F(TracePages, OpenFileHistoryAndMfuShowTheEnginesEntriesAndMfusEraseTakesThem) {
    const std::wstring comDlg = kExplorer + L"\\ComDlg32", openSave = comDlg + L"\\OpenSaveMRU\\txt", userAssist = kExplorer + L"\\UserAssist",
                       count = userAssist + L"\\{CEBFF5CD-ACE2-4F4F-9178-9926F41749EA}\\Count";
    const std::wstring editor = engine::mru::Rot13(L"C:\\Tools\\" + kUnicode);
    for (const std::wstring& k : {comDlg, userAssist}) RegDeleteTree(HKEY_CURRENT_USER, k);
    for (auto [name, path] : {std::pair{L"a", L"C:\\old\\one.txt"}, {L"b", L"C:\\old\\two.txt"}, {L"MRUList", L"ba"}})
        RegSetString(HKEY_CURRENT_USER, openSave, name, path);
    RegSetDword(HKEY_CURRENT_USER, count, editor, 5);

    auto* history = OpenPage<COFHistoryVw>("system.open-file-history");
    ASSERT_NE(history, nullptr);
    EXPECT_EQ(Rows(history->m_list), (Texts{L"C:\\old\\two.txt", L"C:\\old\\one.txt"}));
    auto* mfu = OpenPage<CMFURegVw>("system.mfu");
    ASSERT_NE(mfu, nullptr);
    EXPECT_EQ(Rows(mfu->m_list), Texts{L"C:\\Tools\\" + kUnicode});
    DialogAnswerer box(kCaption);
    Press(mfu, IDC_MFUREG_ERASE);
    EXPECT_EQ(box.Count(), 0u);
    EXPECT_EQ(mfu->m_list.GetItemCount(), 0);
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, count, editor));
    for (const std::wstring& k : {comDlg, userAssist}) RegDeleteTree(HKEY_CURRENT_USER, k);
}
