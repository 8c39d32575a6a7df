// sweepmere.exe driven as a script drives it: started with a command line, its standard output,
// standard error and exit code read, and the files and keys it was pointed at checked.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>

#include "Categories.h"
#include "ConsoleRun.h"
#include "EraseKit.h"
#include "TestKit.h"
#include "Text.h"
#include "WipeList.h"

using namespace testkit;

namespace {

const char* const kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char* const kTypedUrls = "Software\\Microsoft\\Internet Explorer\\TypedURLs";
// No ANSI code page holds both the Cyrillic and the Polish letters.
const std::wstring kForeign = L"\u0416\u0443\u043a-\u0141ukasz.htm";

using Ran = ConsoleRun;

Ran Sweep(const std::wstring& args) {
    return RunConsole(L"\"" + engine::FromUtf8(ProgramFolder()) + L"sweepmere.exe\" " + args);
}

std::string LineOf(const std::string& out, const std::string& key) {
    size_t at = out.find(key + "  ");
    return at == std::string::npos || (at && out[at - 1] != '\n') ? "" : out.substr(at, out.find('\n', at) - at);
}

nlohmann::json ReadReport(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return nlohmann::json::parse(in, nullptr, false);
}

class Cli : public ::testing::Test {
protected:
    void SetUp() override {
        m_cache = ScratchFolder("cli-cache");
        RegSetString(HKEY_CURRENT_USER, kShellFolders, "Cache", m_cache);
        m_files = {m_cache + "\\a.htm", m_cache + "\\sub\\b.gif"};
        ::CreateDirectoryA((m_cache + "\\sub").c_str(), nullptr);
        for (const std::string& f : m_files) WriteFile(f, "cached");
        m_foreign = engine::FromUtf8(m_cache) + L"\\" + kForeign;
        HANDLE h = ::CreateFileW(m_foreign.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ::WriteFile(h, "abc", 3, nullptr, nullptr);
        ::CloseHandle(h);
        m_report = ScratchFolder("cli-report") + "\\report.json";
    }
    void SeedTypedUrls() {
        RegSetString(HKEY_CURRENT_USER, kTypedUrls, "url1", "http://example.com/");
        RegSetString(HKEY_CURRENT_USER, kTypedUrls, "url2", "http://example.org/");
    }
    bool CacheEmpty() {
        return !FileExists(m_files[0]) && !FileExists(m_files[1]) &&
               ::GetFileAttributesW(m_foreign.c_str()) == INVALID_FILE_ATTRIBUTES;
    }
    std::wstring Report() { return L" /report \"" + engine::FromUtf8(m_report) + L"\""; }
    std::string m_cache, m_report;
    std::vector<std::string> m_files;
    std::wstring m_foreign;
};

TEST_F(Cli, ListNamesEveryRowAndHelpShowsTheUsage) {
    Ran ran = Sweep(L"/list");
    EXPECT_EQ(ran.code, 0u);
    for (const engine::Category& c : engine::Categories()) {
        std::string line = LineOf(ran.out, c.key);
        EXPECT_NE(line.find(c.group), std::string::npos) << c.key;
        EXPECT_NE(line.find(engine::Utf8(c.name)), std::string::npos) << c.key;
    }
    Ran help = Sweep(L"-?");
    EXPECT_EQ(help.code, 0u);
    EXPECT_NE(help.out.find("sweepmere /erase KEY..."), std::string::npos);
}

TEST_F(Cli, PreviewListsTheCacheExactlyInTheOutputAndTheReportAndTouchesNothing) {
    ::SetFileAttributesA(m_files[0].c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    WIN32_FILE_ATTRIBUTE_DATA before, after;
    ::GetFileAttributesExA(m_files[0].c_str(), GetFileExInfoStandard, &before);
    Ran ran = Sweep(L"--PREVIEW Internet.Cache" + Report());
    EXPECT_EQ(ran.code, 0u) << ran.err;
    EXPECT_EQ(LineOf(ran.out, "internet.cache"), "internet.cache  3 erased, 15 bytes, 0 stayed");
    EXPECT_NE(ran.out.find("\n    " + engine::Utf8(m_foreign) + "\n"), std::string::npos) << ran.out;
    EXPECT_NE(ran.out.find("\n    " + m_files[1] + "\n"), std::string::npos);
    EXPECT_EQ(LineOf(ran.out, "total"), "total  3 erased, 15 bytes, 0 stayed");

    ASSERT_TRUE(::GetFileAttributesExA(m_files[0].c_str(), GetFileExInfoStandard, &after));
    EXPECT_EQ(after.dwFileAttributes, before.dwFileAttributes);
    EXPECT_EQ(::CompareFileTime(&after.ftLastWriteTime, &before.ftLastWriteTime), 0);
    EXPECT_EQ(::CompareFileTime(&after.ftLastAccessTime, &before.ftLastAccessTime), 0);
    EXPECT_TRUE(FileExists(m_files[1]));
    EXPECT_NE(::GetFileAttributesW(m_foreign.c_str()), INVALID_FILE_ATTRIBUTES);

    nlohmann::json report = ReadReport(m_report);
    ASSERT_FALSE(report.is_discarded());
    EXPECT_EQ(report["command"], "preview");
    const nlohmann::json& cache = report["categories"][0];
    EXPECT_EQ(cache["key"], "internet.cache");
    EXPECT_EQ(cache["erased"], 3);
    EXPECT_EQ(cache["bytes"], 15);
    std::vector<std::string> texts;
    for (const auto& item : cache["items"]) texts.push_back(item["text"]);
    EXPECT_NE(std::find(texts.begin(), texts.end(), engine::Utf8(m_foreign)), texts.end());
    EXPECT_EQ(texts.size(), 3u);
    ::SetFileAttributesA(m_files[0].c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(Cli, EraseEmptiesTheCacheAndTypedUrlsAndTheReportReadsBackTheSameCounts) {
    SeedTypedUrls();
    Ran ran = Sweep(L"/erase internet.cache internet.typed-urls internet.cache" + Report());
    EXPECT_EQ(ran.code, 0u) << ran.out << ran.err;
    EXPECT_TRUE(CacheEmpty());
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, kTypedUrls, "url1"));
    EXPECT_FALSE(RegValueExists(HKEY_CURRENT_USER, kTypedUrls, "url2"));
    EXPECT_EQ(LineOf(ran.out, "internet.cache"), "internet.cache  3 erased, 15 bytes, 0 stayed");

    nlohmann::json report = ReadReport(m_report);
    ASSERT_FALSE(report.is_discarded());
    ASSERT_EQ(report["categories"].size(), 2u);  // the repeated key ran once
    unsigned erased = 0;
    for (const auto& c : report["categories"]) {
        erased += c["erased"].get<unsigned>();
        std::string line = std::to_string(c["erased"].get<unsigned>()) + " erased, " + std::to_string(c["bytes"].get<unsigned long long>()) +
                           " bytes, " + std::to_string(c["stayed"].get<unsigned>()) + " stayed";
        EXPECT_EQ(LineOf(ran.out, c["key"]), c["key"].get<std::string>() + "  " + line);
        EXPECT_FALSE(c.contains("items"));
    }
    EXPECT_GE(report["categories"][1]["erased"], 1) << ran.out;
    EXPECT_EQ(report["total"]["erased"], erased);
    EXPECT_LE(report["started"].get<std::string>(), report["ended"].get<std::string>());
}

TEST_F(Cli, AWipeListInAnySpellingRunsOnceAfterTheTableRows) {
    engine::WipeList list;
    list.name = L"Mine";
    list.entries.push_back({engine::WipeKind::File, engine::FromUtf8(m_files[0]), 0});
    ASSERT_TRUE(engine::SaveWipeList(list));
    Ran ran = Sweep(L"/erase WIPELIST:mine internet.typed-urls wipelist:Mine");
    engine::DeleteWipeList(L"Mine");
    EXPECT_EQ(ran.code, 0u) << ran.out << ran.err;
    EXPECT_EQ(ran.out.find("wipelist:Mine  1 erased, 6 bytes, 0 stayed"), ran.out.find('\n') + 1) << ran.out;
    EXPECT_EQ(ran.out.rfind("wipelist:"), ran.out.find("wipelist:"));
    EXPECT_FALSE(FileExists(m_files[0]));
    EXPECT_TRUE(FileExists(m_files[1]));
}

TEST_F(Cli, AHeldFileStaysWithItsReasonAndExitsOne) {
    HANDLE held = ::CreateFileA(m_files[1].c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    Ran ran = Sweep(L"/erase internet.cache");
    ::CloseHandle(held);
    EXPECT_EQ(ran.code, 1u);
    std::string line = LineOf(ran.out, "internet.cache");
    EXPECT_EQ(line.rfind("internet.cache  2 erased, 9 bytes, 1 stayed: ", 0), 0u) << line;
    EXPECT_NE(line.find("b.gif"), std::string::npos) << line;
    EXPECT_TRUE(FileExists(m_files[1]));
}

TEST_F(Cli, UsageErrorsAndAnUnwritableReportExitTwoAndEraseNothing) {
    SeedTypedUrls();
    for (const wchar_t* args : {L"/erase internet.cache internet.no-such", L"/erase internet /now", L"/erase wipelist:no-such-list",
                                     L"/erase internet /report", L"/erase internet /report C:\\corvane-scratch\\no-such\\r.json",
                                     L"internet"}) {
        Ran ran = Sweep(args);
        EXPECT_EQ(ran.code, 2u) << engine::Utf8(args);
        EXPECT_EQ(ran.out, "");
        EXPECT_NE(ran.err.find("usage: sweepmere"), std::string::npos) << ran.err;
    }
    for (const std::string& f : m_files) EXPECT_TRUE(FileExists(f));
    EXPECT_TRUE(RegValueExists(HKEY_CURRENT_USER, kTypedUrls, "url1"));
}

}  // namespace
