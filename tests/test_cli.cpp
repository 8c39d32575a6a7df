// sweepmere.exe driven as a script drives it: started with a command line, its standard output,
// standard error and exit code read, and the files and keys it was pointed at checked.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "Categories.h"
#include "ConsoleRun.h"
#include "EraseKit.h"
#include "TestKit.h"
#include "Text.h"
#include "WipeList.h"

using namespace testkit;
using engine::Utf8;

namespace {

const wchar_t* const kTypedUrls = L"Software\\Microsoft\\Internet Explorer\\TypedURLs";
// No ANSI code page holds both the Cyrillic and the Polish letters.
const std::wstring kForeign = L"\u0416\u0443\u043a-\u0141ukasz.htm";

ConsoleRun Sweep(const std::wstring& args) {
    return RunConsole(L"\"" + ProgramFolder() + L"sweepmere.exe\" " + args);
}

// The output's line of a category (its output is UTF-8 through a pipe).
std::string LineOf(const std::string& out, const std::string& key) {
    size_t at = out.find(key + "  ");
    return at == std::string::npos || (at && out[at - 1] != '\n') ? "" : out.substr(at, out.find('\n', at) - at);
}

class Cli : public ::testing::Test {
protected:
    void SetUp() override {
        m_cache = ScratchFolder(L"cli-cache");
        PointCacheAt(m_cache);
        ::CreateDirectoryW((m_cache + L"\\sub").c_str(), nullptr);
        m_files = {m_cache + L"\\a.htm", m_cache + L"\\sub\\b.gif", m_cache + L"\\" + kForeign};
        for (const std::wstring& f : m_files) WriteFile(f, f == m_files[2] ? L"abc" : L"cached");
        m_report = ScratchFolder(L"cli-report") + L"\\report.json";
        RegSetString(HKEY_CURRENT_USER, kTypedUrls, L"url1", L"http://example.com/");
    }
    nlohmann::json Report() { return nlohmann::json::parse(ReadWholeFile(m_report), nullptr, false); }
    std::wstring ReportArg() { return L" /report \"" + m_report + L"\""; }
    std::wstring m_cache, m_report;
    std::vector<std::wstring> m_files;
};

TEST_F(Cli, ListHelpPreviewAndUsageErrorsEraseNothing) {
    ConsoleRun ran = Sweep(L"/list");
    EXPECT_EQ(ran.code, 0u);
    for (const engine::Category& c : engine::Categories()) {
        std::string line = LineOf(ran.out, c.key);
        EXPECT_NE(line.find(c.group), std::string::npos) << c.key;
        EXPECT_NE(line.find(Utf8(c.name)), std::string::npos) << c.key;
    }
    ConsoleRun help = Sweep(L"-?");
    EXPECT_EQ(help.code, 0u);
    EXPECT_NE(help.out.find("sweepmere /erase KEY..."), std::string::npos);
    // Usage errors and a report that cannot be written exit 2 and erase nothing.
    for (const wchar_t* args : {L"/erase internet.cache internet.no-such", L"/erase internet /report C:\\corvane-scratch\\no-such\\r.json"}) {
        ConsoleRun wrong = Sweep(args);
        EXPECT_EQ(wrong.code, 2u) << Utf8(args);
        EXPECT_EQ(wrong.out, "");
        EXPECT_NE(wrong.err.find("usage: sweepmere"), std::string::npos) << wrong.err;
    }
    // The preview lists the cache exactly, in its output and its report.
    ConsoleRun preview = Sweep(L"--PREVIEW Internet.Cache" + ReportArg());
    EXPECT_EQ(preview.code, 0u) << preview.err;
    EXPECT_EQ(LineOf(preview.out, "internet.cache"), "internet.cache  3 erased, 15 bytes, 0 stayed");
    for (const std::wstring& f : {m_files[1], m_files[2]})
        EXPECT_NE(preview.out.find("\n    " + Utf8(f) + "\n"), std::string::npos) << preview.out;
    EXPECT_EQ(LineOf(preview.out, "total"), "total  3 erased, 15 bytes, 0 stayed");
    for (const std::wstring& f : m_files) EXPECT_TRUE(FileExists(f));
    EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, kTypedUrls, L"url1"));
    nlohmann::json report = Report();
    ASSERT_FALSE(report.is_discarded());
    EXPECT_EQ(report["command"], "preview");
    EXPECT_EQ(report["categories"][0]["erased"], 3);
    EXPECT_EQ(report["categories"][0]["items"].size(), 3u);
}

// The report lies in the folder it erases, and is a second name of a file elsewhere: it is
// written beside its place and put there at the end, so that file keeps its content and the
// erase leaves the report alone. A held file stays with its reason, and the exit code says so.
TEST_F(Cli, EraseTellsALinePerKeyOnceAsItsReportDoesWhichIsNeitherWrittenThroughAnotherNameNorItsOwnVictim) {
    const std::wstring other = ScratchFolder(L"cli-other") + L"\\keep.txt";
    WriteFile(other, L"keep");
    m_report = m_cache + L"\\sweepmere.json";
    ASSERT_TRUE(::CreateHardLinkW(m_report.c_str(), other.c_str(), nullptr));
    HANDLE held = ::CreateFileW(m_files[1].c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ConsoleRun ran = Sweep(L"/erase internet.cache internet.typed-urls internet.cache" + ReportArg());
    ::CloseHandle(held);
    EXPECT_EQ(ran.code, 1u) << ran.out << ran.err;
    EXPECT_FALSE(FileExists(m_files[0]) || FileExists(m_files[2]));
    EXPECT_TRUE(FileExists(m_files[1]));
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, kTypedUrls, L"url1"));
    const std::string line = LineOf(ran.out, "internet.cache");
    EXPECT_EQ(line.rfind("internet.cache  2 erased, 9 bytes, 1 stayed: ", 0), 0u) << line;
    EXPECT_NE(line.find("b.gif"), std::string::npos) << line;
    EXPECT_EQ(ReadWholeFile(other), std::string("k\0e\0", 4));  // WriteFile's bytes

    nlohmann::json report = Report();
    ASSERT_FALSE(report.is_discarded());
    ASSERT_EQ(report["categories"].size(), 2u);  // the repeated key ran once
    for (const auto& c : report["categories"]) {
        std::string counts = std::to_string(c["erased"].get<unsigned>()) + " erased, " +
                             std::to_string(c["bytes"].get<unsigned long long>()) + " bytes, " +
                             std::to_string(c["stayed"].get<unsigned>()) + " stayed";
        EXPECT_EQ(LineOf(ran.out, c["key"]).rfind(c["key"].get<std::string>() + "  " + counts, 0), 0u);
    }
    EXPECT_EQ(report["total"]["erased"], 2 + report["categories"][1]["erased"].get<unsigned>());
}

TEST_F(Cli, AWipeListInAnySpellingRunsOnceAfterTheTableRows) {
    engine::WipeList list;
    list.name = L"Mine";
    list.entries.push_back({engine::WipeKind::File, m_files[0], 0});
    ASSERT_TRUE(engine::SaveWipeList(list));
    ConsoleRun ran = Sweep(L"/erase WIPELIST:mine internet.typed-urls wipelist:Mine /log C:\\windows");
    engine::DeleteWipeList(L"Mine");
    EXPECT_EQ(ran.code, 0u) << ran.out << ran.err;
    // A log that cannot be written is told, once.
    const std::string told = "; the log could not be written: C:\\windows";
    EXPECT_NE(ran.out.find(told), std::string::npos) << ran.out;
    EXPECT_EQ(ran.out.find(told), ran.out.rfind(told)) << ran.out;
    EXPECT_EQ(ran.out.find("wipelist:Mine  1 erased, 6 bytes, 0 stayed"), ran.out.find('\n') + 1) << ran.out;
    EXPECT_EQ(ran.out.rfind("wipelist:"), ran.out.find("wipelist:"));
    EXPECT_FALSE(FileExists(m_files[0]));
}

}  // namespace
