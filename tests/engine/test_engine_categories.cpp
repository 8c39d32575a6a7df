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
#include "Traces.h"

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
    EXPECT_FALSE(CategoryOf(keys::kWord).erase) << "a page that only shows";
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

TEST(FileCategories, TheCacheFolderNamedWideIsErasedAndItsAsciiTwinIsNot) {
    ::CreateDirectoryW(L"C:\\corvane-scratch", nullptr);
    ::CreateDirectoryW(kScratch.c_str(), nullptr);
    const std::wstring real = kScratch + L"\\\u0141ukasz", twin = kScratch + L"\\Lukasz";
    for (const std::wstring& d : {real, twin}) {
        ::CreateDirectoryW(d.c_str(), nullptr);
        Put(d + L"\\page.htm");
    }
    std::wstring saved;
    RegKey folders;
    folders.Open(HKEY_CURRENT_USER, kShellFolders);
    bool had = folders.ReadString(L"Cache", saved);
    SetString(HKEY_CURRENT_USER, kShellFolders, L"Cache", real);

    Listing listed = RunList(CategoryOf("internet.cache"), {});
    ASSERT_EQ(listed.items.size(), 1u);
    EXPECT_NE(listed.items[0].text.find(L"page.htm"), std::wstring::npos);
    Result r = Erase("internet.cache");
    EXPECT_EQ(r.erased, 1u);
    EXPECT_FALSE(Exists(real + L"\\page.htm"));
    EXPECT_TRUE(Exists(twin + L"\\page.htm"));

    if (had)
        SetString(HKEY_CURRENT_USER, kShellFolders, L"Cache", saved);
    else
        DeleteValue(HKEY_CURRENT_USER, kShellFolders, L"Cache", r);
}

TEST(FileCategories, ATemporaryFolderThatIsRelativeEmptyOrProtectedIsRefusedWithItsReason) {
    wchar_t savedTmp[MAX_PATH] = L"", savedTemp[MAX_PATH] = L"", savedDir[MAX_PATH] = L"";
    ::GetEnvironmentVariableW(L"TMP", savedTmp, MAX_PATH);
    ::GetEnvironmentVariableW(L"TEMP", savedTemp, MAX_PATH);
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
        ::SetEnvironmentVariableW(L"TMP", value.c_str());
        ::SetEnvironmentVariableW(L"TEMP", value.c_str());
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
    ::SetEnvironmentVariableW(L"TMP", savedTmp);
    ::SetEnvironmentVariableW(L"TEMP", savedTemp);
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

    // A recent-file list: File2 holds the look-alike of File1's path; a full-width "Ｆile1" is
    // no value of the list at all.
    const RecentFileList& paint = *FindRecentFileList("apps.paint");
    SavedKey saved(paint.key);
    SetString(HKEY_CURRENT_USER, paint.key, L"File1", L"C:\\\u0141ukasz\\a.png");
    SetString(HKEY_CURRENT_USER, paint.key, L"File2", L"C:\\Lukasz\\a.png");
    SetString(HKEY_CURRENT_USER, paint.key, L"\uFF26ile1", L"C:\\\u0141ukasz\\a.png");
    std::vector<RegistryEntry> listed = ReadRecentFiles(paint);
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0].text, L"C:\\\u0141ukasz\\a.png");
    EXPECT_EQ(EraseRecentFiles({listed[0]}).erased, 1u);
    EXPECT_FALSE(HasValue(HKEY_CURRENT_USER, paint.key, L"File1"));
    EXPECT_TRUE(HasValue(HKEY_CURRENT_USER, paint.key, L"File2"));
    EXPECT_EQ(Erase("apps.paint").erased, 1u);
    EXPECT_FALSE(HasValue(HKEY_CURRENT_USER, paint.key, L"File2"));
    EXPECT_TRUE(HasValue(HKEY_CURRENT_USER, paint.key, L"\uFF26ile1"));
}

TEST(RegistryCategories, ARegistryLinkAsAListKeyOrAboveTypedUrlsIsRefusedAndItsTargetSurvives) {
    const std::wstring target = kTargets + L"\\RecentFiles";
    SetString(HKEY_LOCAL_MACHINE, target, L"File1", L"C:\\sentinel.doc");
    const RecentFileList& wordpad = *FindRecentFileList("apps.wordpad");
    {
        SavedKey saved(wordpad.key);
        MakeLink(wordpad.key, target);
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
