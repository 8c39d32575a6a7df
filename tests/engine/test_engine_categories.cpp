// The engine's category table and the rows' window-less erases on the real registry and files of
// the test prefix: the one-at-a-time lock, an exception turned into a failure, what Group Policy
// sets, what an erase leaves counted as stayed, what the file categories spare, registry links
// never followed, and one table over the categories that definitions describe. A refused
// temporary folder is the guard's test (tests/engine/test_engine.cpp) and the page's
// (tests/test_temp_files.cpp).
#include <gtest/gtest.h>

#include <shlobj.h>

#include <optional>
#include <set>
#include <stdexcept>
#include <thread>

#include "../support/TestFiles.h"
#include "Categories.h"
#include "LogFile.h"
#include "MruBytes.h"
#include "Policy.h"
#include "RegKey.h"
#include "Text.h"
#include "TraceCategories.h"
#include "categories/Rows.h"

using namespace engine;
using testkit::FileExists;
using testkit::WriteFile;

namespace {
const std::wstring kScratch = L"C:\\corvane-scratch\\engine-categories";
const std::wstring kTargets = L"Software\\Corvane-Tests\\EngineTargets";  // below HKLM: where links point
const std::wstring kExplorer = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";

Result Erase(const char* key) { return RunErase(CategoryOf(key), Options{}); }
std::vector<std::wstring> Texts(const Listing& listing) {
    std::vector<std::wstring> texts;
    for (const Item& i : listing.items) texts.push_back(i.text);
    return texts;
}

void SetData(HKEY root, const std::wstring& key, const std::wstring& name, const std::string& data, DWORD type) {
    RegKey k;
    ASSERT_EQ(k.Create(root, key), ERROR_SUCCESS);
    k.Write(name, type, data.data(), static_cast<DWORD>(data.size()));
}
std::string Utf16Bytes(const std::wstring& text) {
    return std::string(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * sizeof(wchar_t));
}
void SetString(HKEY root, const std::wstring& key, const std::wstring& name, const std::wstring& value) {
    SetData(root, key, name, Utf16Bytes(value), REG_SZ);
}
// The value's data; nullopt when it is not there.
std::optional<std::string> DataOf(HKEY root, const std::wstring& key, const std::wstring& name) {
    RegKey k;
    std::vector<unsigned char> data;
    if (k.Open(root, key) != ERROR_SUCCESS || !k.ReadBinary(name, data)) return std::nullopt;
    return std::string(data.begin(), data.end());
}
void DropTree(HKEY root, const std::wstring& key) {
    Result ignored;
    DeleteKeyTree(root, key, ignored);
}

// HKCU\path becomes a registry link to HKLM\target, in place of what was there. Its parents are
// made first as ordinary keys: made with the link they would be volatile too, and no ordinary key
// could be made beside it.
void MakeLink(const std::wstring& path, const std::wstring& target) {
    DropTree(HKEY_CURRENT_USER, path);
    RegKey parent;
    ASSERT_EQ(parent.Create(HKEY_CURRENT_USER, path.substr(0, path.rfind(L'\\'))), ERROR_SUCCESS);
    HKEY link = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_CREATE_LINK | REG_OPTION_VOLATILE,
                                KEY_ALL_ACCESS | KEY_CREATE_LINK, nullptr, &link, nullptr),
              ERROR_SUCCESS);
    std::wstring nt = L"\\Registry\\Machine\\" + target;
    ::RegSetValueExW(link, L"SymbolicLinkValue", 0, REG_LINK, reinterpret_cast<const BYTE*>(nt.c_str()), DWORD(nt.size() * sizeof(wchar_t)));
    ::RegCloseKey(link);
}
}  // namespace

TEST(CategoryTable, EveryKeyOnceUnderItsGroupABadKeyNamedAndEveryDefinitionRead) {
    std::set<std::string> keys;
    for (const Category& c : Categories()) {
        EXPECT_TRUE(keys.insert(c.key).second) << c.key;
        EXPECT_EQ(c.key.rfind(c.group == "browsers" ? "browser." : c.group + ".", 0), 0u) << c.key;
        EXPECT_TRUE(c.list && c.erase) << c.key;
    }
    try {
        CategoryOf("internet.cahce");
        ADD_FAILURE() << "a key of no category";
    } catch (const std::invalid_argument& e) {
        EXPECT_NE(std::string(e.what()).find("internet.cahce"), std::string::npos);
    }

    // Every embedded definition reads, and a faulty one names its file and field.
    std::vector<std::wstring> errors;
    EXPECT_EQ(TraceDefinitions(&errors).size(), 19u);
    EXPECT_TRUE(errors.empty()) << Utf8(errors.empty() ? L"" : errors[0]);
    // The one trace of a definition, and what the error says after "x.json: ". An unknown field is
    // the shared reader's, checked with the browsers' definitions.
    const std::pair<std::string, std::wstring> faults[] = {
        {R"({"key": "Software\\Microsoft"})", L"field \"traces[0].key\" is not 3 or more steps deep"},
        {R"({"key": "Software\\A", "values": "*", "erase": "key"})", L"field \"traces[0].key\" is not 3 or more steps deep"},
        {R"({"key": "Software\\A", "values": "a*b*", "numbers": [1, 9]})",
         L"field \"traces[0].numbers\" needs a values pattern with one '*' for the number"},
        {R"({"folder": "C:\\Windows", "files": "*"})", L"field \"traces[0].folder\" is not a folder variable such as %APPDATA% and plain names"},
        {R"({"key": "Software\\A\\{version}", "values": "*"})", L"field \"traces[0].key\" has {version} but no versions"},
        {R"({"key": "Software\\A", "subkeys": "c*", "keep": ["x"]})", L"field \"traces[0].keep\" belongs to a trace of values"},
        {R"({"key": "Software\\A", "order": "MRUList", "values": "*"})", L"field \"traces[0]\" has more than one of values, order and subkeys"},
        {R"({"key": "Software\\A", "order": "MRUListEx", "show": "rot-13"})",
         L"field \"traces[0].show\" is none of text, after-star, utf16, program-then-utf16, item-ids, program-then-item-ids, rot13, run-command"},
        {R"({"key": "Software\\A\\B", "listed": true})", L"field \"traces[0].listed\" is only ever false, for a key erased whole"},
    };
    for (const auto& [trace, error] : faults) {
        TraceDef def;
        std::wstring got;
        EXPECT_FALSE(ParseTraceDefinition(
            L"x.json", R"({"key": "system.x", "group": "system", "name": "X", "icon": 1, "text": "t", "traces": [)" + trace + "]}", def, got));
        EXPECT_EQ(got, L"x.json: " + error);
    }
}

TEST(CategoryRun, ASecondEraseOfTheSameKeyIsBusyAnExceptionIsAFailureAndWhatIsListedAgainStayed) {
    int runs = 0;
    Category c{"test.lock", "test", L"Lock", nullptr, [&](const Options&) { ++runs; return Result{}; }};
    // Another holder of the lock: a thread of its own (the lock is the thread's, not the process's).
    HANDLE taken = ::CreateEventW(nullptr, TRUE, FALSE, nullptr), done = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([&] {
        HANDLE held = ::CreateMutexW(nullptr, TRUE, L"Local\\Corvane-Sweepmere erase test.lock");
        ::SetEvent(taken);
        ::WaitForSingleObject(done, INFINITE);
        ::ReleaseMutex(held);
        ::CloseHandle(held);
    });
    ::WaitForSingleObject(taken, INFINITE);
    Result busy = RunErase(c, {}, 20);
    ::SetEvent(done);
    holder.join();
    EXPECT_EQ(runs, 0);
    EXPECT_EQ(busy.FirstReason(), L"busy: another erase of this category is running");
    EXPECT_TRUE(RunErase(c, {}, 20).Complete());
    EXPECT_EQ(runs, 1);

    c.erase = [](const Options&) -> Result { throw std::bad_alloc(); };
    c.list = [](const Options&) -> Listing { throw std::runtime_error("broken"); };
    Result thrown = RunErase(c, {}, 20);
    EXPECT_EQ(thrown.failed, 1u);
    EXPECT_NE(thrown.FirstReason().find(L"not enough memory"), std::wstring::npos) << Utf8(thrown.FirstReason());
    EXPECT_EQ(RunList(c, {}).problems.failed, 1u);

    // What is listed again after the erase stayed, whatever the erase said.
    Category readBack{"test.read-back", "test", L"Read back", [](const Options&) { return Listing{{{L"kept.txt", 3}, {L"told.txt", 1}}, {}}; },
                      [](const Options&) { return Result{3, 10, 1, 0, 0, false, {L"told.txt: in use"}, {}}; }};
    Result r = RunErase(readBack, {});
    EXPECT_EQ(r.erased, 2u);
    EXPECT_EQ(r.bytes, 7u);
    EXPECT_EQ(r.reasons, (std::vector<std::wstring>{L"told.txt: in use", L"kept.txt: still there after the erase."}));
}

// tests/cli/reports_and_policy.sh checks the rest: machine over user for the overwrite, a group
// turned off, the report folder.
TEST(CategoryRun, PolicyLogFileComesFromTheMachineAndOddValuesReadSafely) {
    const std::wstring key = L"Software\\Policies\\Corvane-Sweepmere";
    SetString(HKEY_LOCAL_MACHINE, key, L"LogFile", L"C:\\logs\\machine.log");
    SetString(HKEY_CURRENT_USER, key, L"LogFile", L"C:\\logs\\user.log");
    SetData(HKEY_CURRENT_USER, key, L"OverwritePasses", std::string("\4\0\0\0", 4), REG_DWORD);  // out of range: not set
    const wchar_t off[] = L"test\0\0Test.Other";  // without its final zero
    SetData(HKEY_CURRENT_USER, key, L"DisabledCategories", std::string(reinterpret_cast<const char*>(off), sizeof off - 2), REG_MULTI_SZ);
    const Policy policy = ReadPolicy();
    EXPECT_EQ(LogPath(), L"C:\\logs\\machine.log");  // over the profile's and the process's choice
    DropTree(HKEY_LOCAL_MACHINE, key);
    DropTree(HKEY_CURRENT_USER, key);
    EXPECT_EQ(PolicyLogFile(), L"");  // read now, not remembered
    EXPECT_FALSE(policy.passes);
    EXPECT_EQ(policy.disabled, (std::vector<std::string>{"test", "test.other"}));
    EXPECT_EQ(ReportPath(L"D:\\run.json", Policy{false, {}, {}, L"", L"C:\\reports"}), L"D:\\run.json");
}

// Outlook keeps opened attachments in the cache: its folder stays whole, and the preview says so.
TEST(FileCategories, TheCacheKeepsOutlooksFolderAndTheTemporaryFilesOfRunningWork) {
    const std::wstring shellFolders = kExplorer + L"\\Shell Folders", cache = kScratch + L"\\cache", temp = kScratch + L"\\recent-temp";
    ::SHCreateDirectoryExW(nullptr, (cache + L"\\Content.Outlook").c_str(), nullptr);
    ::SHCreateDirectoryExW(nullptr, temp.c_str(), nullptr);
    for (const std::wstring& f : {cache + L"\\page.htm", cache + L"\\Content.Outlook\\opened.docx", temp + L"\\new.tmp"}) WriteFile(f);
    std::optional<std::string> saved = DataOf(HKEY_CURRENT_USER, shellFolders, L"Cache");
    SetString(HKEY_CURRENT_USER, shellFolders, L"Cache", cache);
    Listing listed = RunList(CategoryOf(keys::kCache), {});
    EXPECT_EQ(Texts(listed), std::vector<std::wstring>{cache + L"\\page.htm"});
    EXPECT_NE(listed.problems.notes.at(0).find(L"Content.Outlook"), std::wstring::npos);
    EXPECT_EQ(Erase(keys::kCache).erased, 1u);
    EXPECT_TRUE(FileExists(cache + L"\\Content.Outlook\\opened.docx"));
    Result ignored;
    if (saved) SetData(HKEY_CURRENT_USER, shellFolders, L"Cache", *saved, REG_SZ);
    else DeleteValue(HKEY_CURRENT_USER, shellFolders, L"Cache", ignored);

    wchar_t tmp[MAX_PATH] = L"";
    ::GetEnvironmentVariableW(L"TMP", tmp, MAX_PATH);
    ::SetEnvironmentVariableW(L"TMP", temp.c_str());
    EXPECT_TRUE(RunList(CategoryOf(keys::kUserTemp), {}).items.empty());
    EXPECT_EQ(Erase(keys::kUserTemp).erased, 0u);
    Options all;
    all.keepRecentTemp = false;
    EXPECT_EQ(RunErase(CategoryOf(keys::kUserTemp), all).erased, 1u);
    ::SetEnvironmentVariableW(L"TMP", tmp);
}

// A link above a list's key is RegKey's own test (tests/engine/test_engine.cpp).
TEST(RegistryCategories, AListKeyThatIsARegistryLinkIsRefusedAndReportedAndItsTargetSurvives) {
    const std::pair<const char*, std::wstring> links[] = {
        {keys::kWordPad, FindTraceDefinition(keys::kWordPad)->sources[0].key},
        {keys::kTypedUrls, L"Software\\Microsoft\\Internet Explorer\\TypedURLs"},
        {keys::kOpenFileHistory, kExplorer + L"\\ComDlg32\\OpenSaveMRU\\linked"},  // one of its subkeys
        {keys::kMfu, kExplorer + L"\\UserAssist\\{0D6D4F41-2994-4BA0-8FEF-620E43CD2812}"},
    };
    // What a followed link would reach: values and keys each of the lists would take.
    const std::pair<std::wstring, const wchar_t*> reached[] = {{kTargets, L"File1"}, {kTargets, L"url1"}, {kTargets, L"a"},
                                                               {kTargets, L"MRUList"}, {kTargets + L"\\TypedURLs", L"url1"},
                                                               {kTargets + L"\\Count", L"url1"}};
    for (const auto& [category, path] : links) {
        SCOPED_TRACE(category);
        for (const auto& [key, name] : reached) SetString(HKEY_LOCAL_MACHINE, key, name, L"a");
        MakeLink(path, kTargets);
        Listing listed = RunList(CategoryOf(category), {});
        EXPECT_TRUE(listed.items.empty());
        EXPECT_GE(listed.problems.failed, 1u);
        EXPECT_NE(listed.problems.FirstReason().find(L"link"), std::wstring::npos) << Utf8(listed.problems.FirstReason());
        EXPECT_GE(Erase(category).failed, 1u);
        for (const auto& [key, name] : reached) EXPECT_TRUE(DataOf(HKEY_LOCAL_MACHINE, key, name)) << Utf8(key + L" " + name);
        DropTree(HKEY_CURRENT_USER, path);
    }
    DropTree(HKEY_LOCAL_MACHINE, kTargets);
}

namespace {
// A value (or, with no name, a file) a test seeds, and what the erase must leave of it.
struct Seeded {
    std::wstring key, name;
    std::string data;
    DWORD type = REG_SZ;
    bool stays = false;                // a neighbour: the erase leaves it as it was
    std::optional<std::string> after;  // an order value: what it holds after the erase
};
Seeded Sz(std::wstring key, std::wstring name, const std::wstring& text, bool stays = false) {
    return {std::move(key), std::move(name), Utf16Bytes(text), REG_SZ, stays};
}
Seeded Bin(std::wstring key, std::wstring name, std::string bytes) { return {std::move(key), std::move(name), std::move(bytes), REG_BINARY}; }
std::string ListEx(const std::vector<uint32_t>& order) {
    std::vector<unsigned char> ex = mru::ListExFrom(order);
    return std::string(ex.begin(), ex.end());
}
// An order value: after the erase it names nothing.
Seeded Order(std::wstring key, const std::vector<uint32_t>& order) {
    return {std::move(key), L"MRUListEx", ListEx(order), REG_BINARY, false, ListEx({})};
}
Seeded Letters(std::wstring key, const std::wstring& letters) {
    return {std::move(key), L"MRUList", Utf16Bytes(letters), REG_SZ, false, Utf16Bytes(L"")};
}
Seeded File(std::wstring path, bool stays = false) { return {std::move(path), L"", "", 0, stays}; }

std::string ItemIds(const std::wstring& path) {
    LPITEMIDLIST pidl = ::ILCreateFromPathW(path.c_str());
    std::string data = pidl ? std::string(reinterpret_cast<const char*>(pidl), ::ILGetSize(pidl)) : std::string();
    ::ILFree(pidl);
    return data;
}
// A program's name in UTF-16 with its zero, then what follows it in the entry.
std::string ProgramThen(const std::wstring& program, const std::string& rest) { return Utf16Bytes(program) + rest; }

// A category described by a definition, on traces as real programs leave them: what it lists,
// how many of them its erase counts, and what the values and files become.
// Jump lists are tests/realdata/jump_lists.py's, on lists real machines wrote.
struct TraceCase {
    const char* category;
    std::vector<Seeded> seeds;
    std::vector<std::wstring> listed;
    size_t erased;
};

std::vector<TraceCase> TraceCases() {
    const std::wstring word = L"Software\\Microsoft\\Office\\16.0\\Word\\File MRU",
                       wordUser = L"Software\\Microsoft\\Office\\16.0\\Word\\User MRU\\ADAL_5F3A\\Place MRU",
                       reader = L"Software\\Adobe\\Acrobat Reader\\DC\\AVGeneral", shell = L"Software\\Microsoft\\Windows\\Shell",
                       paint = L"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Paint\\Recent File List",
                       player = L"Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList",
                       typed = L"Software\\Microsoft\\Internet Explorer\\TypedURLs",
                       run = kExplorer + L"\\RunMRU", drives = kExplorer + L"\\Map Network Drive MRU",
                       ac = L"Software\\Microsoft\\Search Assistant\\ACMru\\", comdlg = kExplorer + L"\\ComDlg32\\",
                       docs = kExplorer + L"\\RecentDocs", count = kExplorer + L"\\UserAssist\\{CEBFF5CD-ACE2-4F4F-9178-9926F41749EA}\\Count",
                       thumbs = rows::KnownFolder(FOLDERID_LocalAppData) + L"\\Microsoft\\Windows\\Explorer",
                       ofh = kScratch + L"\\ofh";
    wchar_t system[MAX_PATH] = L"";
    ::GetSystemDirectoryW(system, MAX_PATH);
    const std::string dword("\5\0\0\0", 4);
    const std::wstring item = L"[F00000000][T01D9C0A1B2C3D4E5][O00000000]*";
    return {
        // Item N by its number, Item Metadata N with it; Max Display stays.
        {keys::kWord,
         {Sz(word, L"Item 1", item + L"C:\\Docs\\Offer.docx"), Sz(word, L"Item 10", item + L"C:\\Docs\\Ten.docx"),
          Sz(word, L"Item 2", item + L"C:\\\u0141\u00f3d\u017a.docx"), Sz(word, L"Item Metadata 1", L"<Metadata/>"),
          Sz(word, L"Max Display", L"25", true), Sz(wordUser, L"Item 1", item + L"C:\\Docs\\")},
         {L"C:\\Docs\\Offer.docx", L"C:\\\u0141\u00f3d\u017a.docx", L"C:\\Docs\\Ten.docx", L"C:\\Docs\\"}, 4},
        // File2 holds the 8-bit look-alike of File1's path; a full-width "\uFF26ile1" is no value of the list.
        {keys::kPaint,
         {Sz(paint, L"File1", L"C:\\\u0141ukasz\\a.png"), Sz(paint, L"File2", L"C:\\Lukasz\\a.png"),
          Sz(paint, L"\uFF26ile1", L"C:\\\u0141ukasz\\a.png", true)},
         {L"C:\\\u0141ukasz\\a.png", L"C:\\Lukasz\\a.png"}, 2},
        {keys::kMediaPlayer, {Sz(player, L"File0", L"a"), Sz(player, L"File1", L"b"), Sz(player, L"File3", L"past the gap", true)}, {L"a", L"b"}, 2},
        {keys::kAcrobat,
         {Bin(reader + L"\\cRecentFiles\\c1", L"tDIText", std::string("/C/Docs/a.pdf\0", 14)),
          Sz(reader + L"\\cRecentFiles\\c2", L"tDIText", L"/C/Docs/b.pdf"), Sz(reader + L"\\cRecentFolders\\c1", L"tDIText", L"/C/Docs"),
          Sz(reader, L"bLastExitNormal", L"1", true)},
         {L"/C/Docs/a.pdf", L"/C/Docs/b.pdf", L"/C/Docs"}, 3},
        {"system.explorer-searches",
         {Sz(kExplorer + L"\\TypedPaths", L"url1", L"C:\\Private"), Sz(kExplorer + L"\\TypedPaths", L"url2", L"\\\\server\\share"),
          Bin(kExplorer + L"\\WordWheelQuery", L"0", Utf16Bytes(L"salary")),
          {kExplorer + L"\\WordWheelQuery", L"MRUListEx", ListEx({0}), REG_BINARY, true},
          Sz(ac + L"5603", L"000", L"budget"), Sz(kExplorer + L"\\Doc Find Spec MRU", L"a", L"*.doc"),
          Sz(kExplorer + L"\\Doc Find Spec MRU", L"MRUList", L"a", true)},
         {L"C:\\Private", L"\\\\server\\share", L"salary", L"budget", L"*.doc"}, 5},
        {"system.shellbags",
         {Bin(shell + L"\\BagMRU\\0", L"0", std::string("\x14\x00\x1f\x50", 4)), Sz(shell + L"\\Bags\\1\\Shell", L"Mode", L"4"),
          Sz(shell, L"Neighbour", L"x", true)},
         {L"HKCU\\" + shell + L"\\BagMRU", L"HKCU\\" + shell + L"\\Bags"}, 2},
        {"system.thumbnails", {File(thumbs + L"\\thumbcache_256.db"), File(thumbs + L"\\iconcache_256.db", true)}, {thumbs + L"\\thumbcache_256.db"}, 1},
        // The list ends at a gap; the key goes whole, the times typed with it, uncounted.
        {keys::kTypedUrls,
         {Sz(typed, L"url1", L"http://zeta.example/"), Sz(typed, L"url2", L"http://alpha.example/"), Sz(typed, L"url4", L"http://4.example/"),
          Bin(typed + L"Time", L"url1", std::string(8, '\1'))},
         {L"http://zeta.example/", L"http://alpha.example/"}, 2},
        // Run: in MRUList's order without the last two characters, up to the first missing value;
        // the erase takes every value MRUList names. Mapped drives: a letter without its value is
        // an empty entry. Auto-complete: 5603's then 5604's of each number up to 5604's first gap.
        {keys::kRegistryTraces,
         {Sz(L"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Regedit", L"LastKey", L"My Computer\\HKEY_CURRENT_USER\\Software"),
          Letters(drives, L"ba"), Sz(drives, L"a", L"\\\\server\\share"), Letters(run, L"cadb"), Sz(run, L"c", L"notepad\\1"),
          Sz(run, L"a", L"x"), Sz(run, L"b", L"calc\\1"), Sz(run, L"z", L"not in the list", true), Sz(ac + L"5603", L"000", L"alpha"),
          Sz(ac + L"5604", L"000", L"beta"), Sz(ac + L"5604", L"001", L"gamma"), Sz(ac + L"5604", L"003", L"after the gap")},
         {L"My Computer\\HKEY_CURRENT_USER\\Software", L"", L"\\\\server\\share", L"notepad", L"", L"alpha", L"beta", L"", L"gamma"}, 8},
        // Each dialog list in its order; an entry that shows no path is listed and erased all the same.
        {keys::kOpenFileHistory,
         {Bin(comdlg + L"OpenSavePidlMRU\\txt", L"0", ItemIds(ofh + L"\\a.txt")), Bin(comdlg + L"OpenSavePidlMRU\\txt", L"1", ItemIds(ofh + L"\\b.txt")),
          Bin(comdlg + L"OpenSavePidlMRU\\txt", L"2", std::string("\x09\x00\x01", 3)), Order(comdlg + L"OpenSavePidlMRU\\txt", {1, 2, 0}),
          Sz(comdlg + L"OpenSaveMRU\\txt", L"a", L"C:\\old\\one.txt"), Sz(comdlg + L"OpenSaveMRU\\txt", L"b", L"C:\\old\\two.txt"),
          Letters(comdlg + L"OpenSaveMRU\\txt", L"ba"), Bin(comdlg + L"LastVisitedPidlMRU", L"0", ProgramThen(L"notepad.exe", ItemIds(ofh))),
          Order(comdlg + L"LastVisitedPidlMRU", {0}), Bin(comdlg + L"LastVisitedMRU", L"a", ProgramThen(L"wordpad.exe", Utf16Bytes(L"C:\\old"))),
          Letters(comdlg + L"LastVisitedMRU", L"a"), Bin(comdlg + L"CIDSizeMRU", L"0", ProgramThen(L"mspaint.exe", std::string(8, '\0'))),
          Order(comdlg + L"CIDSizeMRU", {0}), Bin(comdlg + L"FirstFolder", L"0", ProgramThen(L"C:\\Windows\\notepad.exe", "")),
          Order(comdlg + L"FirstFolder", {0})},
         {ofh + L"\\b.txt", kNotAPath, ofh + L"\\a.txt", L"C:\\old\\two.txt", L"C:\\old\\one.txt", ofh, L"C:\\old", L"mspaint.exe",
          L"C:\\Windows\\notepad.exe"},
         9},
        // Names decoded from ROT13, a known folder's id shown as its path, the counters' own values
        // kept; the look-alike twin of a name is a value of its own.
        {keys::kMfu,
         {{count, mru::Rot13(L"C:\\Tools\\Editor.exe"), dword, REG_DWORD}, {count, mru::Rot13(L"C:\\\u0141ukasz\\run.exe"), dword, REG_DWORD},
          {count, mru::Rot13(L"C:\\Lukasz\\run.exe"), dword, REG_DWORD}, {count, mru::Rot13(L"UEME_CTLSESSION"), dword, REG_DWORD, true},
          {kExplorer + L"\\UserAssist\\{F4E57C4B-2036-45F0-A9AB-443BCFE33D9F}\\Count",
           mru::Rot13(L"{1AC14E77-02E7-4E5D-B744-2EB1AE5198B7}\\calc.exe"), dword, REG_DWORD}},
         {L"C:\\Tools\\Editor.exe", L"C:\\Lukasz\\run.exe", L"C:\\\u0141ukasz\\run.exe", std::wstring(system) + L"\\calc.exe"}, 4},
        // A document's name, then the shortcut the shell made for it; the list goes whole.
        {keys::kRecentDocuments,
         {Bin(docs, L"0", Utf16Bytes(L"report.docx") + "\1\2\3"), Bin(docs, L"1", Utf16Bytes(L"photo.jpg")), Bin(docs, L"MRUListEx", ListEx({1, 0})),
          Bin(docs + L"\\.docx", L"0", Utf16Bytes(L"report.docx")), Bin(docs + L"\\.docx", L"MRUListEx", ListEx({0}))},
         {L"photo.jpg", L"report.docx", L"report.docx"}, 3},
    };
}

void Seed(const Seeded& s) {
    if (!s.name.empty()) return SetData(HKEY_CURRENT_USER, s.key, s.name, s.data, s.type);
    ::SHCreateDirectoryExW(nullptr, s.key.substr(0, s.key.rfind(L'\\')).c_str(), nullptr);
    WriteFile(s.key);
}
bool Left(const Seeded& s) { return s.name.empty() ? FileExists(s.key) : DataOf(HKEY_CURRENT_USER, s.key, s.name).has_value(); }
}  // namespace

TEST(TraceCategories, EachListsItsTracesAndItsEraseTakesExactlyThemWhileTheirNeighboursStay) {
    ::SHCreateDirectoryExW(nullptr, (kScratch + L"\\ofh").c_str(), nullptr);
    for (const wchar_t* f : {L"\\ofh\\a.txt", L"\\ofh\\b.txt"}) WriteFile(kScratch + f);
    for (const TraceCase& c : TraceCases()) {
        SCOPED_TRACE(c.category);
        Erase(c.category);  // whatever the prefix held before
        for (const Seeded& s : c.seeds) Seed(s);
        Listing listed = RunList(CategoryOf(c.category), {});
        EXPECT_EQ(Texts(listed), c.listed);
        EXPECT_EQ(listed.problems.failed, 0u) << Utf8(listed.problems.FirstReason());
        Result r = Erase(c.category);
        EXPECT_EQ(r.erased, c.erased);
        EXPECT_TRUE(r.Complete()) << Utf8(r.FirstReason());
        EXPECT_TRUE(RunList(CategoryOf(c.category), {}).items.empty());
        for (const Seeded& s : c.seeds) {
            if (s.after) EXPECT_EQ(DataOf(HKEY_CURRENT_USER, s.key, s.name), s.after) << Utf8(s.key);
            else EXPECT_EQ(Left(s), s.stays) << Utf8(s.key + L" " + s.name);
            if (s.stays && !s.name.empty()) DropTree(HKEY_CURRENT_USER, s.key);
            if (s.stays && s.name.empty()) ::DeleteFileW(s.key.c_str());
        }
    }
    // A thumbnail Explorer holds open stays, named in the report as in use.
    const std::wstring held = rows::KnownFolder(FOLDERID_LocalAppData) + L"\\Microsoft\\Windows\\Explorer\\thumbcache_32.db";
    WriteFile(held);
    HANDLE h = ::CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    Result r = Erase("system.thumbnails");
    ::CloseHandle(h);
    EXPECT_EQ(r.reasons, std::vector<std::wstring>{held + L": in use by another program; close it and erase again"});
    EXPECT_EQ(Erase("system.thumbnails").erased, 1u);
}
