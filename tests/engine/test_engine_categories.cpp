// The engine's category table and the rows' window-less erases on the real registry and files of
// the test prefix: names read wide (a "Łukasz" folder or value beside its "Lukasz" twin), the
// exact listed value deleted, refused temporary folders, registry links never followed, the
// one-at-a-time lock, an exception turned into a failure, and what Group Policy sets.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <set>
#include <stdexcept>
#include <thread>

#include "Categories.h"
#include "EventLog.h"
#include "FakeLog.h"
#include "FakeUrlHistory.h"
#include "MruBytes.h"
#include "LogFile.h"
#include "Policy.h"
#include "RegKey.h"
#include "Text.h"
#include "TraceCategories.h"
#include "Traces.h"
#include "categories/Rows.h"

using namespace engine;

namespace {
const std::wstring kScratch = L"C:\\corvane-scratch\\engine-categories";
const std::wstring kShellFolders = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const std::wstring kTargets = L"Software\\Corvane-Tests\\EngineTargets";  // below HKLM: where links point

Result Erase(const char* key) { return RunErase(CategoryOf(key), Options{}); }

void Put(const std::wstring& path) {
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ::WriteFile(h, "x", 1, nullptr, nullptr);
    ::CloseHandle(h);
}
bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void SetString(HKEY root, const std::wstring& key, const std::wstring& name, const std::wstring& value) {
    RegKey k;
    ASSERT_EQ(k.Create(root, key), ERROR_SUCCESS);
    k.Write(name, REG_SZ, value.c_str(), static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}
bool HasValue(HKEY root, const std::wstring& key, const std::wstring& name) {
    RegKey k;
    std::vector<unsigned char> data;
    return k.Open(root, key) == ERROR_SUCCESS && k.ReadBinary(name, data);
}
void DropTree(HKEY root, const std::wstring& key) {
    Result ignored;
    DeleteKeyTree(root, key, ignored);
}
// HKCU\path becomes a registry link to HKLM\target.
void MakeLink(const std::wstring& path, const std::wstring& target) {
    DropTree(HKEY_CURRENT_USER, path);
    // The parents first, as ordinary keys: made with the link, they would be volatile too, and no
    // ordinary key could be made beside it afterwards.
    RegKey parent;
    ASSERT_EQ(parent.Create(HKEY_CURRENT_USER, path.substr(0, path.rfind(L'\\'))), ERROR_SUCCESS);
    HKEY link = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_CREATE_LINK | REG_OPTION_VOLATILE,
                                KEY_ALL_ACCESS | KEY_CREATE_LINK, nullptr, &link, nullptr),
              ERROR_SUCCESS);
    std::wstring nt = L"\\Registry\\Machine\\" + target;
    ::RegSetValueExW(link, L"SymbolicLinkValue", 0, REG_LINK, reinterpret_cast<const BYTE*>(nt.c_str()),
                     static_cast<DWORD>(nt.size() * sizeof(wchar_t)));
    ::RegCloseKey(link);
}

// A key of the prefix that a test replaces for its length, copied back afterwards.
class SavedKey {
public:
    explicit SavedKey(std::wstring path) : m_path(std::move(path)) {
        DropTree(HKEY_CURRENT_USER, m_backup);
        RegKey from, to;
        if (from.Open(HKEY_CURRENT_USER, m_path) == ERROR_SUCCESS && to.Create(HKEY_CURRENT_USER, m_backup) == ERROR_SUCCESS)
            m_saved = ::RegCopyTreeW(from.Get(), nullptr, to.Get()) == ERROR_SUCCESS;
        DropTree(HKEY_CURRENT_USER, m_path);
    }
    ~SavedKey() {
        DropTree(HKEY_CURRENT_USER, m_path);
        RegKey from, to;
        if (m_saved && from.Open(HKEY_CURRENT_USER, m_backup) == ERROR_SUCCESS && to.Create(HKEY_CURRENT_USER, m_path) == ERROR_SUCCESS)
            ::RegCopyTreeW(from.Get(), nullptr, to.Get());
        DropTree(HKEY_CURRENT_USER, m_backup);
    }

private:
    std::wstring m_path, m_backup = L"Software\\Corvane-Tests\\SavedKey";
    bool m_saved = false;
};
}  // namespace

TEST(CategoryTable, EveryKeyOnceUnderItsGroupFoundWhateverItsCaseAndABadKeyNamed) {
    std::set<std::string> keys;
    for (const Category& c : Categories()) {
        EXPECT_TRUE(keys.insert(c.key).second) << c.key;
        EXPECT_EQ(c.key.rfind(c.group == "browsers" ? "browser." : c.group + ".", 0), 0u) << c.key;
        EXPECT_TRUE(c.list) << c.key;
    }
    EXPECT_EQ(FindCategory("Internet.CACHE"), &CategoryOf(keys::kCache));
    EXPECT_EQ(FindCategory("internet.cache "), nullptr);
    try {
        CategoryOf("internet.cahce");
        ADD_FAILURE() << "a key of no category";
    } catch (const std::invalid_argument& e) {
        EXPECT_NE(std::string(e.what()).find("internet.cahce"), std::string::npos);
    }
}

TEST(CategoryRun, ASecondEraseOfTheSameKeyIsBusyAndAnExceptionIsAFailure) {
    int runs = 0;
    Category c{"test.lock", "test", L"Lock", nullptr, [&](const Options&) {
                   ++runs;
                   return Result{};
               }};
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
    EXPECT_EQ(busy.failed, 1u);
    EXPECT_EQ(busy.FirstReason(), L"busy: another erase of this category is running");
    EXPECT_TRUE(RunErase(c, {}, 20).Complete());
    EXPECT_EQ(runs, 1);

    c.erase = [](const Options&) -> Result { throw std::bad_alloc(); };
    c.list = [](const Options&) -> Listing { throw std::runtime_error("broken"); };
    Result thrown = RunErase(c, {}, 20);
    EXPECT_EQ(thrown.failed, 1u);
    EXPECT_NE(thrown.FirstReason().find(L"not enough memory"), std::wstring::npos) << Utf8(thrown.FirstReason());
    EXPECT_EQ(RunList(c, {}).problems.failed, 1u);
}

// sweepmere.exe's own test (tests/cli) covers the rest of the policy: machine over user there too.
TEST(CategoryRun, PolicyValuesComeFromTheMachineBeforeTheUserAndATurnedOffRowIsNeverRun) {
    const std::wstring key = L"Software\\Policies\\Corvane-Sweepmere";
    SetString(HKEY_LOCAL_MACHINE, key, L"LogFile", L"C:\\logs\\machine.log");
    SetString(HKEY_CURRENT_USER, key, L"LogFile", L"C:\\logs\\user.log");
    SetString(HKEY_CURRENT_USER, key, L"ReportFolder", L"C:\\reports");
    RegKey user;
    ASSERT_EQ(user.Create(HKEY_CURRENT_USER, key), ERROR_SUCCESS);
    const DWORD four = 4;
    user.Write(L"OverwritePasses", REG_DWORD, &four, sizeof four);  // out of range: not set
    const wchar_t off[] = L"test\0\0Test.Other";  // without its final zero
    user.Write(L"DisabledCategories", REG_MULTI_SZ, off, sizeof off - sizeof(wchar_t));
    const Policy policy = ReadPolicy();
    DropTree(HKEY_LOCAL_MACHINE, key);
    DropTree(HKEY_CURRENT_USER, key);

    EXPECT_EQ(PolicyLogFile(), L"");  // read now, not remembered
    EXPECT_EQ(policy.logFile, L"C:\\logs\\machine.log");
    EXPECT_FALSE(policy.passes);
    EXPECT_EQ(policy.disabled, (std::vector<std::string>{"test", "test.other"}));
    EXPECT_EQ(ReportPath(L"run.json", policy), L"C:\\reports\\run.json");
    EXPECT_EQ(ReportPath(L"D:\\run.json", policy), L"D:\\run.json");
    EXPECT_EQ(ReportPath(L"run.json", Policy{}), L"run.json");
    int runs = 0;
    Category c{"other.row", "test", L"Row", nullptr, [&](const Options&) {
                   ++runs;
                   return Result{};
               }};
    EXPECT_TRUE(TurnedOff(c, policy));
    c.group = "other";
    EXPECT_FALSE(TurnedOff(c, policy));
    EXPECT_EQ(WithPolicy(Options{}, Policy{true, 2u, {}, L"", L""}).passes, 2u);

    SetString(HKEY_CURRENT_USER, key, L"LogFile", L"C:\\logs\\user.log");
    ASSERT_EQ(user.Create(HKEY_CURRENT_USER, key), ERROR_SUCCESS);
    user.Write(L"DisabledCategories", REG_MULTI_SZ, off, sizeof off);
    c.group = "test";
    const Result refused = RunErase(c, {});
    EXPECT_EQ(PolicyLogFile(), L"C:\\logs\\user.log");
    EXPECT_EQ(LogPath(), L"C:\\logs\\user.log");  // over the profile's and the process's choice
    DropTree(HKEY_CURRENT_USER, key);
    EXPECT_EQ(runs, 0);
    EXPECT_EQ(refused.FirstReason(), L"turned off by policy");
}

TEST(CategoryRun, WhatIsListedAgainAfterTheEraseStayedWhateverTheEraseSaid) {
    Category c{"test.read-back", "test", L"Read back",
               [](const Options&) { return Listing{{{L"kept.txt", 3}, {L"told.txt", 1}}, {}}; },
               [](const Options&) {
                   Result r;
                   r.erased = 3;
                   r.bytes = 10;
                   r.Failed(L"told.txt: in use");
                   return r;
               }};
    Result r = RunErase(c, {});
    EXPECT_EQ(r.erased, 2u);
    EXPECT_EQ(r.bytes, 7u);
    EXPECT_EQ(r.reasons, (std::vector<std::wstring>{L"told.txt: in use", L"kept.txt: still there after the erase."}));
}

// TMP and TEMP as they were, back when the test ends.
class SavedTemp {
public:
    SavedTemp() {
        ::GetEnvironmentVariableW(L"TMP", m_tmp, MAX_PATH);
        ::GetEnvironmentVariableW(L"TEMP", m_temp, MAX_PATH);
    }
    ~SavedTemp() {
        ::SetEnvironmentVariableW(L"TMP", m_tmp);
        ::SetEnvironmentVariableW(L"TEMP", m_temp);
    }
    static void Set(const std::wstring& folder) {
        ::SetEnvironmentVariableW(L"TMP", folder.c_str());
        ::SetEnvironmentVariableW(L"TEMP", folder.c_str());
    }

private:
    wchar_t m_tmp[MAX_PATH] = L"", m_temp[MAX_PATH] = L"";
};

bool Mentions(const std::vector<std::wstring>& notes, const std::wstring& text) {
    for (const std::wstring& n : notes)
        if (n.find(text) != std::wstring::npos) return true;
    return false;
}

// The listing holds `items` items, the first naming `first`, and a note saying `note`; the erase
// takes exactly them.
void ListedAndErased(const char* key, size_t items, const wchar_t* first, const wchar_t* note) {
    Listing listed = RunList(*FindCategory(key), {});
    ASSERT_EQ(listed.items.size(), items);
    EXPECT_NE(listed.items[0].text.find(first), std::wstring::npos);
    EXPECT_TRUE(Mentions(listed.problems.notes, note));
    Result r = Erase(key);
    EXPECT_EQ(r.erased, items);
    EXPECT_EQ(r.failed, 0u);
}

// The preview names every file the erase takes, index files too; Outlook's folder stays whole.
TEST(FileCategories, TheCacheFolderNamedWideIsErasedAndItsAsciiTwinAndOutlooksFolderAreNot) {
    ::CreateDirectoryW(L"C:\\corvane-scratch", nullptr);
    ::CreateDirectoryW(kScratch.c_str(), nullptr);
    const std::wstring real = kScratch + L"\\\u0141ukasz", twin = kScratch + L"\\Lukasz";
    for (const std::wstring& d : {real, twin}) {
        ::CreateDirectoryW(d.c_str(), nullptr);
        Put(d + L"\\page.htm");
    }
    Put(real + L"\\index.dat");
    ::CreateDirectoryW((real + L"\\Content.Outlook").c_str(), nullptr);
    Put(real + L"\\Content.Outlook\\opened.docx");
    std::wstring saved;
    RegKey folders;
    folders.Open(HKEY_CURRENT_USER, kShellFolders);
    bool had = folders.ReadString(L"Cache", saved);
    SetString(HKEY_CURRENT_USER, kShellFolders, L"Cache", real);

    ListedAndErased("internet.cache", 2, L"index.dat", L"Content.Outlook: kept: Outlook keeps");
    EXPECT_FALSE(Exists(real + L"\\page.htm"));
    EXPECT_TRUE(Exists(real + L"\\Content.Outlook\\opened.docx"));
    EXPECT_TRUE(Exists(twin + L"\\page.htm"));

    Result ignored;
    if (had)
        SetString(HKEY_CURRENT_USER, kShellFolders, L"Cache", saved);
    else
        DeleteValue(HKEY_CURRENT_USER, kShellFolders, L"Cache", ignored);
}

TEST(FileCategories, TheTemporaryFilesOfRunningWorkStayUnlessTheUserSaysOtherwise) {
    SavedTemp saved;
    const std::wstring temp = kScratch + L"\\recent-temp";
    ::SHCreateDirectoryExW(nullptr, temp.c_str(), nullptr);
    Put(temp + L"\\new.tmp");
    Put(temp + L"\\old.tmp");
    HANDLE h = ::CreateFileW((temp + L"\\old.tmp").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER t{{now.dwLowDateTime, now.dwHighDateTime}};
    t.QuadPart -= 25ull * 36000000000ull;
    FILETIME old{t.LowPart, t.HighPart};
    ::SetFileTime(h, nullptr, nullptr, &old);
    ::CloseHandle(h);
    SavedTemp::Set(temp);

    ListedAndErased("system.user-temp", 1, L"old.tmp", L"1 file kept: written in the last 24 hours");
    EXPECT_TRUE(Exists(temp + L"\\new.tmp"));
    Options all;
    all.keepRecentTemp = false;
    EXPECT_EQ(RunErase(*FindCategory("system.user-temp"), all).erased, 1u);
    EXPECT_FALSE(Exists(temp + L"\\new.tmp"));
}

TEST(FileCategories, ATemporaryFolderThatIsRelativeEmptyOrProtectedIsRefusedWithItsReason) {
    SavedTemp saved;
    wchar_t savedDir[MAX_PATH] = L"";
    ::GetCurrentDirectoryW(MAX_PATH, savedDir);
    // The current folder holds a file that a relative TEMP would reach.
    const std::wstring here = kScratch + L"\\current";
    ::CreateDirectoryW(kScratch.c_str(), nullptr);
    ::CreateDirectoryW(here.c_str(), nullptr);
    Put(here + L"\\keep.txt");
    ::SetCurrentDirectoryW(here.c_str());

    PWSTR documents = nullptr, profile = nullptr;
    ::SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, &documents);
    ::SHGetKnownFolderPath(FOLDERID_Profile, 0, nullptr, &profile);
    std::wstring unc = L"\\\\localhost\\C$" + std::wstring(profile).substr(2);
    Put(std::wstring(documents) + L"\\keep.txt");
    for (const std::wstring& value : {std::wstring(L"."), std::wstring(L"C:"), std::wstring(L""), unc, std::wstring(documents)}) {
        SavedTemp::Set(value);
        Result r = Erase("system.user-temp");
        EXPECT_EQ(r.erased, 0u) << Utf8(value);
        EXPECT_GE(r.failed, 1u) << Utf8(value);
        EXPECT_FALSE(r.FirstReason().empty()) << Utf8(value);
        EXPECT_GE(RunList(CategoryOf("system.user-temp"), {}).problems.failed, 1u) << Utf8(value);
    }
    EXPECT_TRUE(Exists(here + L"\\keep.txt"));
    EXPECT_TRUE(Exists(std::wstring(documents) + L"\\keep.txt"));
    ::DeleteFileW((std::wstring(documents) + L"\\keep.txt").c_str());
    ::CoTaskMemFree(documents);
    ::CoTaskMemFree(profile);
    ::SetCurrentDirectoryW(savedDir);
}

TEST(RegistryCategories, OnlyTheListedValueGoesNotItsLookAlikeTwin) {
    // UserAssist: value names are ROT13 of what ran; a name outside the code page has an
    // 8-bit look-alike.
    const std::wstring count = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\UserAssist\\{C0B2A1E0-0000-4000-8000-00000000C0DE}\\Count";
    const std::wstring real = mru::Rot13(L"C:\\\u0141ukasz\\run.exe");
    std::wstring twin = real;
    twin[twin.find(L'\u0141')] = L'L';  // what the 8-bit read makes of the real name
    SetString(HKEY_CURRENT_USER, count, real, L"");
    SetString(HKEY_CURRENT_USER, count, twin, L"");
    std::vector<RegistryEntry> chosen;
    for (const RegistryEntry& e : ReadProgramUse())
        if (e.text == L"C:\\\u0141ukasz\\run.exe") chosen.push_back(e);
    ASSERT_EQ(chosen.size(), 1u);
    EXPECT_EQ(EraseValues(chosen).erased, 1u);
    EXPECT_FALSE(HasValue(HKEY_CURRENT_USER, count, real));
    EXPECT_TRUE(HasValue(HKEY_CURRENT_USER, count, twin));
    DropTree(HKEY_CURRENT_USER, count.substr(0, count.size() - 6));
}

TEST(RegistryCategories, ARegistryLinkAsAListKeyOrAboveTypedUrlsIsRefusedAndItsTargetSurvives) {
    const std::wstring target = kTargets + L"\\RecentFiles";
    SetString(HKEY_LOCAL_MACHINE, target, L"File1", L"C:\\sentinel.doc");
    const std::wstring wordpad = FindTraceDefinition("apps.wordpad")->sources[0].key;
    {
        SavedKey saved(wordpad);
        MakeLink(wordpad, target);
        Listing listed = RunList(CategoryOf("apps.wordpad"), {});
        EXPECT_TRUE(listed.items.empty());
        EXPECT_EQ(listed.problems.failed, 1u);
        EXPECT_EQ(Erase("apps.wordpad").failed, 1u);
        EXPECT_TRUE(HasValue(HKEY_LOCAL_MACHINE, target, L"File1"));
    }

    // "Internet Explorer" itself a link: the TypedURLs key below its target stays.
    const std::wstring ie = L"Software\\Microsoft\\Internet Explorer", ieTarget = kTargets + L"\\IE";
    SetString(HKEY_LOCAL_MACHINE, ieTarget + L"\\TypedURLs", L"url1", L"http://sentinel.example/");
    {
        SavedKey saved(ie);
        MakeLink(ie, ieTarget);
        EXPECT_TRUE(RunList(CategoryOf("internet.typed-urls"), {}).items.empty());
        Result r = Erase("internet.typed-urls");
        EXPECT_EQ(r.erased, 0u);
        EXPECT_GE(r.failed, 1u);
        EXPECT_TRUE(HasValue(HKEY_LOCAL_MACHINE, ieTarget + L"\\TypedURLs", L"url1"));
    }
    DropTree(HKEY_LOCAL_MACHINE, kTargets);
}

TEST(SystemCategories, AnEventLogStillHoldingRecordsAfterClearingIsAFailure) {
    auto state = std::make_shared<testkit::FakeLogState>();
    testkit::RecordSpec record;
    state->records = {testkit::BuildRecord(record), testkit::BuildRecord(record)};
    events::SetSourceFactory([state] { return std::make_unique<testkit::FakeLogSource<events::EventLogSource>>(state); });
    Listing listed = RunList(CategoryOf("system.event-log"), {});
    ASSERT_EQ(listed.items.size(), 2u);
    EXPECT_NE(listed.items[0].text.find(L"Corvane"), std::wstring::npos) << Utf8(listed.items[0].text);

    state->clearEmpties = false;  // as Wine's: success, and nothing cleared
    Result kept = Erase("system.event-log");
    EXPECT_EQ(kept.erased, 0u);
    EXPECT_EQ(kept.FirstReason(), L"The event log could not be cleared.");
    state->clearEmpties = true;
    EXPECT_EQ(Erase("system.event-log").erased, 1u);
    events::SetSourceFactory(nullptr);
}

TEST(InternetCategories, TheHistoryIsListedWideAndAClearThatFailsIsAFailure) {
    testkit::FakeUrlHistory kept({{L"http://\u0142odz.example/", std::nullopt}, E_FAIL});
    Listing listed = RunList(CategoryOf("internet.history"), {});
    ASSERT_EQ(listed.items.size(), 1u);
    EXPECT_EQ(listed.items[0].text, L"http://\u0142odz.example/");
    Result r = Erase("internet.history");
    EXPECT_EQ(r.erased, 0u);
    EXPECT_EQ(r.failed, 1u);
    EXPECT_EQ(kept.ClearCalls(), 1);
}

namespace {
// A category described by a definition, on traces as real programs leave them: what it lists,
// and the neighbours its erase must leave.
struct TraceCase {
    const char* category;
    std::function<void()> seed;
    std::vector<std::wstring> listed;
    std::vector<std::pair<std::wstring, std::wstring>> stays;  // key and value; a path and "" for a file
};

const std::wstring kExplorer = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
const std::wstring kWordMru = L"Software\\Microsoft\\Office\\16.0\\Word\\File MRU";
const std::wstring kWordUser = L"Software\\Microsoft\\Office\\16.0\\Word\\User MRU\\ADAL_5F3A\\Place MRU";
const std::wstring kReader = L"Software\\Adobe\\Acrobat Reader\\DC\\AVGeneral";
const std::wstring kShell = L"Software\\Microsoft\\Windows\\Shell";
const std::wstring kPaint = L"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Paint\\Recent File List";
const std::wstring kPlayer = L"Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList";

const std::wstring kJumps = rows::KnownFolder(FOLDERID_RoamingAppData) + L"\\Microsoft\\Windows\\Recent\\AutomaticDestinations";
const std::wstring kThumbs = rows::KnownFolder(FOLDERID_LocalAppData) + L"\\Microsoft\\Windows\\Explorer";

void SetBinary(const std::wstring& key, const std::wstring& name, const std::string& bytes) {
    RegKey k;
    ASSERT_EQ(k.Create(HKEY_CURRENT_USER, key), ERROR_SUCCESS);
    k.Write(name, REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size()));
}
std::string Utf16Bytes(const std::wstring& text) {
    return std::string(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * sizeof(wchar_t));
}

const TraceCase kTraceCases[] = {
    {"apps.word",
     [] {
         SetString(HKEY_CURRENT_USER, kWordMru, L"Item 1", L"[F00000000][T01D9C0A1B2C3D4E5][O00000000]*C:\\Docs\\Offer.docx");
         SetString(HKEY_CURRENT_USER, kWordMru, L"Item 10", L"[F00000000][T01D9C0A1B2C3D4E6][O00000000]*C:\\Docs\\Ten.docx");
         SetString(HKEY_CURRENT_USER, kWordMru, L"Item 2", L"[F00000000][T01D9C0A1B2C3D4E7][O00000000]*C:\\\u0141\u00f3d\u017a.docx");
         SetString(HKEY_CURRENT_USER, kWordMru, L"Max Display", L"25");
         SetString(HKEY_CURRENT_USER, kWordUser, L"Item 1", L"[F00000000][T01D9C0A1B2C3D4E8][O00000000]*C:\\Docs\\");
     },
     {L"C:\\Docs\\Offer.docx", L"C:\\\u0141\u00f3d\u017a.docx", L"C:\\Docs\\Ten.docx", L"C:\\Docs\\"},
     {{kWordMru, L"Max Display"}}},
    {"apps.excel",
     [] {
         SetString(HKEY_CURRENT_USER, L"Software\\Microsoft\\Office\\11.0\\Excel\\Recent Files", L"File1", L"C:\\old.xls");
         SetString(HKEY_CURRENT_USER, L"Software\\Microsoft\\Office\\14.0\\Excel\\Place MRU", L"Item 1", L"[F00000000]*C:\\Sheets\\");
         SetString(HKEY_CURRENT_USER, L"Software\\Microsoft\\Office\\14.0\\Excel\\Place MRU", L"Item Metadata 1", L"<Metadata/>");
     },
     {L"C:\\old.xls", L"C:\\Sheets\\"},
     {{L"Software\\Microsoft\\Office\\14.0\\Excel\\Place MRU", L"Item Metadata 1"}}},
    // File2 holds the 8-bit look-alike of File1's path; a full-width "\uFF26ile1" is no value of the list.
    {"apps.paint",
     [] {
         SetString(HKEY_CURRENT_USER, kPaint, L"File1", L"C:\\\u0141ukasz\\a.png");
         SetString(HKEY_CURRENT_USER, kPaint, L"File2", L"C:\\Lukasz\\a.png");
         SetString(HKEY_CURRENT_USER, kPaint, L"\uFF26ile1", L"C:\\\u0141ukasz\\a.png");
     },
     {L"C:\\\u0141ukasz\\a.png", L"C:\\Lukasz\\a.png"},
     {{kPaint, L"\uFF26ile1"}}},
    // The player's list ends at its first gap.
    {"apps.media-player",
     [] {
         for (const wchar_t* name : {L"File0", L"File1", L"File3"}) SetString(HKEY_CURRENT_USER, kPlayer, name, name);
     },
     {L"File0", L"File1"},
     {{kPlayer, L"File3"}}},
    {"apps.acrobat",
     [] {
         SetBinary(kReader + L"\\cRecentFiles\\c1", L"tDIText", std::string("/C/Docs/a.pdf\0", 14));
         SetString(HKEY_CURRENT_USER, kReader + L"\\cRecentFiles\\c2", L"tDIText", L"/C/Docs/b.pdf");
         SetString(HKEY_CURRENT_USER, kReader + L"\\cRecentFolders\\c1", L"tDIText", L"/C/Docs");
         SetString(HKEY_CURRENT_USER, kReader, L"bLastExitNormal", L"1");
     },
     {L"/C/Docs/a.pdf", L"/C/Docs/b.pdf", L"/C/Docs"},
     {{kReader, L"bLastExitNormal"}}},
    {"system.explorer-searches",
     [] {
         SetString(HKEY_CURRENT_USER, kExplorer + L"\\TypedPaths", L"url1", L"C:\\Private");
         SetString(HKEY_CURRENT_USER, kExplorer + L"\\TypedPaths", L"url2", L"\\\\server\\share");
         SetBinary(kExplorer + L"\\WordWheelQuery", L"0", Utf16Bytes(L"salary"));
         SetBinary(kExplorer + L"\\WordWheelQuery", L"MRUListEx", std::string("\0\0\0\0\xff\xff\xff\xff", 8));
         SetString(HKEY_CURRENT_USER, L"Software\\Microsoft\\Search Assistant\\ACMru\\5603", L"000", L"budget");
         SetString(HKEY_CURRENT_USER, kExplorer + L"\\Doc Find Spec MRU", L"a", L"*.doc");
         SetString(HKEY_CURRENT_USER, kExplorer + L"\\Doc Find Spec MRU", L"MRUList", L"a");
     },
     {L"C:\\Private", L"\\\\server\\share", L"salary", L"budget", L"*.doc"},
     {{kExplorer + L"\\WordWheelQuery", L"MRUListEx"}, {kExplorer + L"\\Doc Find Spec MRU", L"MRUList"}}},
    {"system.shellbags",
     [] {
         SetBinary(kShell + L"\\BagMRU\\0", L"0", std::string("\x14\x00\x1f\x50", 4));
         SetString(HKEY_CURRENT_USER, kShell + L"\\Bags\\1\\Shell", L"Mode", L"4");
         SetString(HKEY_CURRENT_USER, kShell, L"Neighbour", L"x");
     },
     {L"HKCU\\" + kShell + L"\\BagMRU", L"HKCU\\" + kShell + L"\\Bags"},
     {{kShell, L"Neighbour"}}},
    {"system.jump-lists",
     [] {
         ::SHCreateDirectoryExW(nullptr, kJumps.c_str(), nullptr);
         Put(kJumps + L"\\1b4dd67f29cb1962.automaticDestinations-ms");
         Put(kJumps + L"\\notes.txt");
     },
     {kJumps + L"\\1b4dd67f29cb1962.automaticDestinations-ms"},
     {{kJumps + L"\\notes.txt", L""}}},
    {"system.thumbnails",
     [] {
         ::SHCreateDirectoryExW(nullptr, kThumbs.c_str(), nullptr);
         Put(kThumbs + L"\\thumbcache_256.db");
         Put(kThumbs + L"\\iconcache_256.db");
     },
     {kThumbs + L"\\thumbcache_256.db"},
     {{kThumbs + L"\\iconcache_256.db", L""}}},
};

void DropTraces() {
    for (const std::wstring& k : {kWordMru, kWordUser, kReader, kShell, kPaint, kPlayer, kExplorer + L"\\TypedPaths",
                                  kExplorer + L"\\WordWheelQuery", kExplorer + L"\\Doc Find Spec MRU"})
        DropTree(HKEY_CURRENT_USER, k);
    for (const wchar_t* k : {L"Software\\Microsoft\\Office\\11.0", L"Software\\Microsoft\\Office\\14.0",
                             L"Software\\Microsoft\\Search Assistant\\ACMru"})
        DropTree(HKEY_CURRENT_USER, k);
    for (const std::wstring& f : {kJumps + L"\\1b4dd67f29cb1962.automaticDestinations-ms", kJumps + L"\\notes.txt",
                                  kThumbs + L"\\thumbcache_256.db", kThumbs + L"\\iconcache_256.db"})
        ::DeleteFileW(f.c_str());
}
}  // namespace

TEST(TraceCategories, EachListsItsTracesAndItsEraseTakesExactlyThemWhileTheirNeighboursStay) {
    for (const TraceCase& c : kTraceCases) {
        SCOPED_TRACE(c.category);
        DropTraces();
        Erase(c.category);  // whatever the prefix held before
        c.seed();
        Listing listed = RunList(*FindCategory(c.category), {});
        std::vector<std::wstring> texts;
        for (const Item& i : listed.items) texts.push_back(i.text);
        EXPECT_EQ(texts, c.listed);
        EXPECT_EQ(listed.problems.failed, 0u) << Utf8(listed.problems.FirstReason());
        Result r = Erase(c.category);
        EXPECT_EQ(r.erased, c.listed.size());
        EXPECT_TRUE(r.Complete()) << Utf8(r.FirstReason());
        EXPECT_TRUE(RunList(*FindCategory(c.category), {}).items.empty());
        for (const auto& [where, value] : c.stays)
            EXPECT_TRUE(value.empty() ? Exists(where) : HasValue(HKEY_CURRENT_USER, where, value)) << Utf8(where + L" " + value);
    }
    // A thumbnail Explorer holds open stays, named in the report as in use.
    const std::wstring held = kThumbs + L"\\thumbcache_32.db";
    Put(held);
    HANDLE h = ::CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    Result r = Erase("system.thumbnails");
    ::CloseHandle(h);
    EXPECT_EQ(r.failed, 1u);
    EXPECT_NE(r.FirstReason().find(L"thumbcache_32.db"), std::wstring::npos) << Utf8(r.FirstReason());
    EXPECT_NE(r.FirstReason().find(L"in use"), std::wstring::npos) << Utf8(r.FirstReason());
    EXPECT_EQ(Erase("system.thumbnails").erased, 1u);
    DropTraces();
}

TEST(TraceDefinitions, EveryEmbeddedOneReadsAndAFaultyOneNamesItsFileAndField) {
    std::vector<std::wstring> errors;
    EXPECT_EQ(TraceDefinitions(&errors).size(), 14u);
    EXPECT_TRUE(errors.empty()) << Utf8(errors.empty() ? L"" : errors[0]);
    const std::string head = R"({"key": "system.x", "group": "system", "name": "X", "icon": 1, "text": "t", "traces": [)";
    const std::pair<std::string, std::wstring> faults[] = {
        {head + R"({"key": "Software\\A\\B", "value": "x"}]})", L"x.json: unknown field \"traces[0].value\""},
        {head + R"({"key": "Software\\Microsoft"}]})", L"x.json: field \"traces[0].key\" is not 3 or more steps deep"},
        {head + R"({"key": "Software\\A", "values": "a*b*", "numbers": [1, 9]}]})",
         L"x.json: field \"traces[0].numbers\" needs a values pattern with one '*' for the number"},
        {head + R"({"folder": "C:\\Windows", "files": "*"}]})",
         L"x.json: field \"traces[0].folder\" is not a folder variable such as %APPDATA% and plain names"},
        {head + R"({"key": "Software\\A\\{version}", "values": "*"}]})",
         L"x.json: field \"traces[0].key\" has {version} but no versions"},
        {head + R"({"key": "Software\\A", "subkeys": "c*", "keep": ["x"]}]})",
         L"x.json: field \"traces[0].keep\" belongs to a trace of values"},
    };
    for (const auto& [json, error] : faults) {
        TraceDef def;
        std::wstring got;
        EXPECT_FALSE(ParseTraceDefinition(L"x.json", json, def, got));
        EXPECT_EQ(got, error);
    }
}
