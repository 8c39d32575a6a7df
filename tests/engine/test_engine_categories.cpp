// The engine's category table and the rows' window-less erases on the real registry and files of
// the test prefix: names read wide (a "Łukasz" folder or value beside its "Lukasz" twin), the
// exact listed value deleted, refused temporary folders, registry links never followed, the
// one-at-a-time lock and an exception turned into a failure.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <set>
#include <thread>

#include "Categories.h"
#include "EventLog.h"
#include "FakeLog.h"
#include "FakeUrlHistory.h"
#include "MruBytes.h"
#include "RegKey.h"
#include "Text.h"
#include "Traces.h"

using namespace engine;

namespace {
const std::wstring kScratch = L"C:\\corvane-scratch\\engine-categories";
const std::wstring kShellFolders = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const std::wstring kTargets = L"Software\\Corvane-Tests\\EngineTargets";  // below HKLM: where links point

Result Erase(const char* key) { return RunErase(*FindCategory(key), Options{}); }

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

TEST(CategoryTable, EveryKeyOnceInOrderFoundWhateverItsCase) {
    const char* const order[] = {
        "internet.cache", "internet.cookies", "internet.history", "internet.typed-urls", "system.recycle-bin",
        "system.recent-documents", "system.network-places", "system.user-temp", "system.windows-temp",
        "system.clipboard", "system.event-log", "system.registry-traces", "system.open-file-history", "system.mfu",
        "apps.acrobat", "apps.access", "apps.excel", "apps.powerpoint", "apps.word", "apps.winzip", "apps.paint",
        "apps.media-player", "apps.mmc", "apps.wordpad"};
    const std::vector<Category>& table = Categories();
    ASSERT_GE(table.size(), std::size(order));
    std::set<std::wstring> names;
    std::set<std::string> keys;
    for (size_t i = 0; i < table.size(); ++i) {
        EXPECT_TRUE(keys.insert(table[i].key).second) << table[i].key;
        if (i >= std::size(order)) {  // then the browsers' rows
            EXPECT_EQ(table[i].group, "browsers") << table[i].key;
            continue;
        }
        EXPECT_EQ(table[i].key, order[i]);
        EXPECT_EQ(table[i].key.substr(0, table[i].group.size() + 1), table[i].group + ".");
        EXPECT_TRUE(names.insert(table[i].name).second) << table[i].key;
        EXPECT_TRUE(table[i].list) << table[i].key;
        bool showsOnly = table[i].key == "apps.acrobat" || table[i].key == "apps.word";
        EXPECT_EQ(!table[i].erase, showsOnly) << table[i].key;
    }
    EXPECT_EQ(FindCategory("Internet.CACHE"), &table[0]);
    EXPECT_EQ(FindCategory("apps.wordpad")->name, L"WordPad");
    EXPECT_EQ(FindCategory("apps.word")->icon, 19);
    EXPECT_EQ(FindCategory("internet.cache "), nullptr);
    EXPECT_EQ(FindCategory("cache"), nullptr);
}

TEST(CategoryRun, ASecondEraseOfTheSameKeyIsBusyAndAnExceptionIsAFailure) {
    int runs = 0;
    Category c{"test.lock", "test", L"Lock", -1, nullptr, [&](const Options&) {
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
        EXPECT_GE(RunList(*FindCategory("system.user-temp"), {}).problems.failed, 1u) << Utf8(value);
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
        Listing listed = RunList(*FindCategory("apps.wordpad"), {});
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
        EXPECT_TRUE(RunList(*FindCategory("internet.typed-urls"), {}).items.empty());
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
    Listing listed = RunList(*FindCategory("system.event-log"), {});
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
    Listing listed = RunList(*FindCategory("internet.history"), {});
    ASSERT_EQ(listed.items.size(), 1u);
    EXPECT_EQ(listed.items[0].text, L"http://\u0142odz.example/");
    Result r = Erase("internet.history");
    EXPECT_EQ(r.erased, 0u);
    EXPECT_EQ(r.failed, 1u);
    EXPECT_EQ(kept.ClearCalls(), 1);
}
