// The engine on its own: the guard on a walk's top folder (pure, and on this machine, by path and
// by ID), the one walk and delete against links, case twins, hard links, look-alike names and
// depth, the item-ID list decoder, and the worker. Registry links and look-alike value names are
// the category suite's and the wipe list's.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <numeric>

#include "Guard.h"
#include "ItemIdList.h"
#include "InUse.h"
#include "TestFiles.h"
#include "PathRules.h"
#include "Text.h"
#include "Walk.h"
#include "Worker.h"

using namespace engine;

namespace {
using testkit::FileExists;
const std::wstring kFixtures = L"C:\\engine-fixtures";

bool ReadOnly(const std::wstring& path) {
    DWORD a = ::GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY);
}
bool Mentions(const Result& r, const std::wstring& text) {
    for (const std::wstring& reason : r.reasons)
        if (reason.find(text) != std::wstring::npos) return true;
    return false;
}
}  // namespace

TEST(PathRules, PlainNamesFullPathsThisMachinesSharesAndWhatIsDeletedAtRestart) {
    for (const wchar_t* plain : {L"a.txt", L".profile", L"a..b", L"\xFF0E\xFF0E", L"Łukasz", L"\xD83D\xDE00.txt"})
        EXPECT_TRUE(IsPlainName(plain)) << plain;
    for (const wchar_t* odd : {L"", L".", L"..", L". .", L"a\\b", L"a/b", L"c:", L"a?", L"tab\t", L"a|b"})
        EXPECT_FALSE(IsPlainName(odd)) << odd;
    struct Case { const wchar_t* path; const wchar_t* folded; };
    for (const Case& c : {Case{L"c:\\a\\.\\b\\..\\C", L"C:\\A\\C"}, Case{L"\\\\?\\C:\\x\\", L"C:\\X"},
                          Case{L"\\\\?\\UNC\\srv\\Share\\d", L"\\\\SRV\\SHARE\\D"}, Case{L"\\\\host\\c$\\Windows", L"C:\\WINDOWS"},
                          Case{L"C:\\łukasz. ", L"C:\\ŁUKASZ"}}) {
        PathSteps s;
        ASSERT_TRUE(SplitFullPath(c.path, s)) << c.path;
        EXPECT_EQ(FoldedPath(s), c.folded);
    }
    for (const wchar_t* bad : {L".", L"C:", L"C:x", L"\\x", L"x\\y", L"\\\\.\\C:\\x", L"\\\\?\\Volume{1}\\x",
                               L"\\\\?\\GLOBALROOT\\x", L"\\\\srv", L"C:\\a\\...\\b"})
        EXPECT_FALSE(IsAbsoluteFolder(bad)) << bad;

    // A share on this machine is known in every spelling: Wine has no SMB loopback to try these on.
    const std::vector<std::wstring> names{L"HOST", L"host.corp.example", L"10.0.0.5", L"fe80::1"};
    for (const wchar_t* path : {L"\\\\localhost\\ADMIN$\\System32", L"\\\\?\\UNC\\LOCALHOST.\\x\\y", L"\\\\127.0.0.1\\s\\x",
                                L"//127.1/s/x", L"\\\\0x7f000001\\s\\x", L"\\\\0--1.ipv6-literal.net\\s\\x",
                                L"\\\\host\\s\\x", L"\\\\HOST.corp.example\\s\\x", L"\\\\10.0.0.005\\s\\x",
                                L"\\\\fe80--1s4.ipv6-literal.net\\s\\x"})
        EXPECT_TRUE(IsThisMachine(ServerOf(path), names)) << path;
    for (const wchar_t* path : {L"\\\\server\\s\\x", L"\\\\127.example.com\\s\\x", L"\\\\10.0.0.6\\s\\x",
                                L"\\\\256.0.0.1\\s\\x", L"C:\\x", L"\\\\?\\C:\\x", L"\\\\.\\C:\\x"})
        EXPECT_FALSE(IsThisMachine(ServerOf(path), names)) << path;

    // Deleted at restart only inside the profile where no one else writes: a decision table, as
    // Wine shows no access lists and deletes nothing at restart.
    using E = AccessEntry;
    const std::vector<E> own{{true, GENERIC_ALL, Trustee::User}, {true, GENERIC_ALL, Trustee::System},
                             {true, FILE_GENERIC_READ, Trustee::Other}, {false, GENERIC_ALL, Trustee::Other},
                             {true, FILE_ADD_FILE, Trustee::Other, true}};
    EXPECT_FALSE(OthersMayWrite(&own));
    EXPECT_TRUE(OthersMayWrite(nullptr));
    for (unsigned long write : std::initializer_list<unsigned long>{FILE_ADD_FILE, FILE_ADD_SUBDIRECTORY, FILE_DELETE_CHILD,
                                                                    WRITE_DAC, GENERIC_WRITE}) {
        std::vector<E> shared = own;
        shared.push_back({true, write, Trustee::Other});
        EXPECT_TRUE(OthersMayWrite(&shared)) << write;
    }
    const std::wstring profile = L"C:\\Users\\ann";
    EXPECT_TRUE(MayDeleteAtRestart(L"\\\\?\\C:\\Users\\ann\\AppData\\Local\\Temp\\f.tmp", profile, false));
    EXPECT_FALSE(MayDeleteAtRestart(L"C:\\Users\\ann\\AppData\\Local\\Temp\\f.tmp", profile, true));
    for (const wchar_t* outside : {L"C:\\Windows\\Temp\\f.tmp", L"\\\\srv\\share\\f.tmp", L"C:\\Users\\ann",
                                   L"C:\\Users\\anna\\f.tmp", L"C:\\Users\\ann\\..\\bob\\f.tmp"})
        EXPECT_FALSE(MayDeleteAtRestart(outside, profile, false)) << outside;
    EXPECT_FALSE(MayDeleteAtRestart(L"C:\\Users\\ann\\f.tmp", L"", false));
}

TEST(Guard, ThisMachinesFoldersAndLinksAreRefused) {
    for (REFKNOWNFOLDERID id : {FOLDERID_Documents, FOLDERID_Desktop, FOLDERID_Profile, FOLDERID_ProgramData,
                                FOLDERID_Public, FOLDERID_LocalAppData, FOLDERID_System})
        EXPECT_FALSE(CheckTopFolder(KnownFolderPath(id)).empty()) << KnownFolderPath(id);
    // Below a system folder, and a relative TEMP ("." or a bare drive), are refused too.
    for (const std::wstring& refused : {KnownFolderPath(FOLDERID_System) + L"\\drivers", std::wstring(L"."), std::wstring(L"C:")})
        EXPECT_FALSE(CheckTopFolder(refused).empty()) << refused;
    EXPECT_NE(CheckTopFolder(kFixtures + L"\\walklink").find(L"link"), std::wstring::npos);
    EXPECT_TRUE(CheckTopFolder(kFixtures + L"\\walk").empty());  // an ordinary folder is fine
    // A share of this machine by its own name; its other spellings are the decision table's above.
    const std::wstring share = L"\\\\" + (ThisMachineNames().empty() ? L"localhost" : ThisMachineNames().front()) + L"\\s\\x";
    EXPECT_NE(CheckTopFolder(share).find(L"a share of this machine"), std::wstring::npos) << share;
    // C:\users and C:\windows mounted a second time: names no path check knows, the same IDs.
    const std::wstring profile = KnownFolderPath(FOLDERID_Profile), again = kFixtures + L"\\users-again";
    for (const std::wstring& other : {again, again + profile.substr(profile.find_last_of(L'\\')) + L"\\Documents"})
        EXPECT_NE(CheckTopFolder(other).find(L"under another name"), std::wstring::npos) << other;
    EXPECT_EQ(CheckTopFolder(kFixtures + L"\\windows-again\\temp"), L"");
    Result r = EraseFile(kFixtures + L"\\windows-again\\win.ini", {});
    EXPECT_TRUE(Mentions(r, L"under another name: a folder of the system")) << r.FirstReason();
}

TEST(Walk, ErasesWhatIsInsideButNothingItLeadsToNorAFileInUseOneFileByNameOneLevelAndADeepTree) {
    const std::wstring walk = kFixtures + L"\\walk";
    Listing before = ListFolder(walk, {});
    EXPECT_EQ(before.items.size(), 4u);  // a file link looks like a file until it is opened
    EXPECT_EQ(before.problems.failed, 1u);  // the folder link
    Result r = EraseInside(walk, {});
    // a.txt, sub\b.txt and the look-alike name, which is a plain name in its real form.
    EXPECT_EQ(r.erased, 3u);
    EXPECT_EQ(r.bytes, 7u);
    EXPECT_EQ(r.failed, 2u);  // the two links stay, each with its reason
    EXPECT_TRUE(Mentions(r, L"a link"));
    EXPECT_TRUE(Mentions(r, L"leads outside"));
    EXPECT_FALSE(FileExists(walk + L"\\\xFF0E\xFF0E\xFF3Ckeep.txt"));
    EXPECT_TRUE(FileExists(walk + L"\\sub"));  // emptied, kept
    EXPECT_TRUE(ReadOnly(kFixtures + L"\\sentinel\\keep.txt"));

    // A link whose target is the walked name but for case leads outside.
    r = EraseInside(kFixtures + L"\\top", {});
    EXPECT_EQ(r.erased, 0u);
    EXPECT_TRUE(Mentions(r, L"leads outside"));
    EXPECT_TRUE(FileExists(kFixtures + L"\\TOP\\f.txt"));

    // Reached through a link: refused whole.
    r = EraseInside(kFixtures + L"\\walklink", {});
    EXPECT_EQ(r.failed, 1u);
    EXPECT_TRUE(Mentions(r, L"link"));

    // A file with more than one name keeps its attributes.
    const std::wstring hard = kFixtures + L"\\hard";
    r = EraseInside(hard, {});
    EXPECT_EQ(r.erased, 1u);  // the writable name goes; its other name keeps the content
    EXPECT_TRUE(FileExists(kFixtures + L"\\elsewhere\\shared.txt"));
    EXPECT_FALSE(FileExists(hard + L"\\shared.txt"));
    EXPECT_TRUE(Mentions(r, L"more than one name"));
    EXPECT_TRUE(ReadOnly(hard + L"\\locked.txt"));
    EXPECT_TRUE(ReadOnly(kFixtures + L"\\elsewhere\\locked.txt"));

    // A read-only file in use stays as it was, and nothing is left for a restart outside the profile.
    const std::wstring folder = testkit::ScratchFolder(L"in-use"), held = folder + L"\\held.txt";
    testkit::WriteFile(held);
    ::SetFileAttributesW(held.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(ListFolder(folder, {}).items.size(), 1u);
    const DWORD kept = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
    EXPECT_EQ(::GetFileAttributesW(held.c_str()) & kept, kept);  // looking changes nothing
    HANDLE h = ::CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    Options overwrite;
    overwrite.overwrite = true;
    r = EraseFile(held, overwrite);
    ::CloseHandle(h);
    EXPECT_EQ(r.failed, 1u);
    EXPECT_TRUE(Mentions(r, L"in use by another program; close it and erase again"));
    EXPECT_TRUE(r.notes.empty());  // nothing scheduled by path outside the profile
    EXPECT_EQ(::GetFileAttributesW(held.c_str()) & kept, kept);

    // Names outside the code page are the Unicode page tests'; here one file by name, one level, a deep tree.
    const std::wstring real = testkit::ScratchFolder(L"level");
    ::CreateDirectoryW((real + L"\\sub").c_str(), nullptr);
    for (const wchar_t* name : {L"\\one.txt", L"\\two.txt", L"\\sub\\three.txt"}) testkit::WriteFile(real + name);
    EXPECT_EQ(EraseFile(real + L"\\one.txt", {}).erased, 1u);
    EXPECT_EQ(EraseFilesIn(real, {}).erased, 1u);
    EXPECT_TRUE(FileExists(real + L"\\sub\\three.txt"));
    r = EraseFolder(kFixtures + L"\\deep", {});
    EXPECT_EQ(r.failed, 0u) << (r.reasons.empty() ? L"" : r.reasons[0]);
    EXPECT_FALSE(FileExists(kFixtures + L"\\deep"));
}

TEST(Worker, AnExceptionIsAFailureOfTheJob) {
    std::wstring why;
    Worker w;
    Worker::FaultForTests() = [](const StopToken&) { throw std::bad_alloc(); };
    w.Start([](const StopToken&) {}, [&](const std::wstring& text) { why = text; });
    w.Join();
    Worker::FaultForTests() = nullptr;
    EXPECT_EQ(why, L"not enough memory");
}

namespace {
using Bytes = std::string;
Bytes IdItem(char type, const Bytes& body) { return Bytes{static_cast<char>(3 + body.size()), 0, type} + body; }
Bytes Utf16(const std::wstring& text) { return Bytes(reinterpret_cast<const char*>(text.c_str()), 2 * text.size() + 2); }
// A file entry as Windows 7 writes it: the short 8-bit name, then the version 8 extension block
// with the long UTF-16 name.
Bytes FileEntry(const std::string& shortName, const std::wstring& longName) {
    Bytes body = Bytes(11, 0) + shortName + '\0';
    if (body.size() % 2 == 0) body += '\0';
    Bytes ext = Bytes("\0\0\x08\0\x04\0\xEF\xBE", 8) + Bytes(34, 0) + Utf16(longName) + Bytes(2, 0);
    ext[0] = static_cast<char>(ext.size());
    return IdItem(0x32, body + ext);
}
Bytes List(std::initializer_list<Bytes> items) { return std::accumulate(items.begin(), items.end(), Bytes()) + Bytes(2, 0); }
std::wstring Text(const Bytes& b, itemids::FolderNamer namer = nullptr) {
    return itemids::PathText(reinterpret_cast<const unsigned char*>(b.data()), b.size(), namer);
}
}  // namespace

TEST(ItemIdList, DrivesSharesAddressesAndKnownFoldersAsPathsAndNothingThatCannotBeRead) {
    const Bytes computer = IdItem(0x1F, Bytes("\x50\xE0\x4F\xD0\x20\xEA\x3A\x69\x10\xA2\xD8\x08\x00\x2B\x30\x30\x9D", 17));
    const Bytes downloads = IdItem(0x1F, Bytes("\x44\x90\xE2\x4D\x37\x3F\x12\x65\x45\x91\x64\x39\xC4\x92\x5E\x46\x7B", 17));
    const Bytes drive = IdItem(0x2F, Bytes("C:\\\0\0\0", 6));
    const Bytes report = FileEntry("OTCET~1.DOC", L"\u041e\u0442\u0447\u0451\u0442.docx");
    EXPECT_EQ(Text(List({computer, drive, report})), L"C:\\\u041e\u0442\u0447\u0451\u0442.docx");
    EXPECT_EQ(Text(List({computer, drive})), L"C:\\");
    EXPECT_EQ(Text(List({IdItem(0xC3, Bytes("\x01\x81\\\\s\\p", 8)), FileEntry("A.TXT", L"a.txt")})), L"\\\\s\\p\\a.txt");
    // UTF-16, no data before the address
    EXPECT_EQ(Text(List({IdItem(0x61, Bytes("\x80\0\0", 3) + Utf16(L"http://example.com/"))})), L"http://example.com/");
    EXPECT_EQ(Text(List({downloads, report})), L"::{374DE290-123F-4565-9164-39C4925E467B}\\\u041e\u0442\u0447\u0451\u0442.docx");
    auto named = [](const std::wstring& guid) { return guid == L"{374DE290-123F-4565-9164-39C4925E467B}" ? std::wstring(L"D:\\Down") : L""; };
    EXPECT_EQ(Text(List({downloads, report}), named), L"D:\\Down\\\u041e\u0442\u0447\u0451\u0442.docx");
    // Cut short, an item longer than the data, an item of a kind that names nothing.
    Bytes cut = List({computer, drive, report});
    cut.resize(cut.size() - 12);
    for (const Bytes& b : {cut, Bytes("\x40\0\x31\0", 4), List({computer, IdItem(0x71, Bytes(4, 0))})}) EXPECT_EQ(Text(b), L"");
}
