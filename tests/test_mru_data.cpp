// The decoders of the shell's recently and most used lists, on built bytes: what a page takes
// from them must lie inside the data read. (Orders and texts are checked through the pages.)
#include <gtest/gtest.h>

#include "system/MruData.h"

using namespace mru;

namespace {
std::vector<unsigned char> Bytes(std::initializer_list<int> b) { return {b.begin(), b.end()}; }
}  // namespace

TEST(MruData, ItemIdListsAndProgramNamesMustEndInsideTheirData) {
    auto ok = Bytes({4, 0, 'a', 'b', 3, 0, 'c', 0, 0});
    EXPECT_EQ(ItemIdListSize(ok.data(), ok.size()), 9u);
    EXPECT_EQ(ItemIdListSize(ok.data(), 8), 0u);  // the end cut off
    auto past = Bytes({9, 0, 'a', 'b', 0, 0});    // an item longer than the data
    EXPECT_EQ(ItemIdListSize(past.data(), past.size()), 0u);
    auto tiny = Bytes({1, 0, 0, 0});              // an item shorter than its size field
    EXPECT_EQ(ItemIdListSize(tiny.data(), tiny.size()), 0u);

    ProgramAndList e = SplitProgramAndList(Bytes({'n', 0, 'p', 0, 0, 0, 4, 0, 'x', 'y', 0, 0}));
    EXPECT_EQ(e.program, u"np");
    EXPECT_EQ(e.listOffset, 6u);
    EXPECT_EQ(e.listSize, 6u);
    EXPECT_EQ(SplitProgramAndList(Bytes({'n', 0, 'p', 0})).listSize, 0u);  // the name never ends
}

TEST(MruData, OrdersAndNamesOfTheLists) {
    EXPECT_EQ(OrderFromListEx(Bytes({2, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 7, 0, 0, 0})), std::vector<uint32_t>{2});
    EXPECT_EQ(OrderFromListEx(Bytes({0x01, 0x02, 0x03, 0x04, 9, 0})), std::vector<uint32_t>{0x04030201});
    EXPECT_EQ(Rot13(L"HRZR_EHACNGU:P:\\Jvaqbjf\\abgrcnq.rkr"), L"UEME_RUNPATH:C:\\Windows\\notepad.exe");
    EXPECT_EQ(RunEntryText(L"x"), L"");  // never reads before its start
    EXPECT_EQ(ThreeDigitName(42), L"042");
}
