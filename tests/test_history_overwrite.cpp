// Two browser histories cleared on the ext2 test volume (T:) that history_overwrite_volume.sh
// makes and then searches: with overwriting on, the journal that held the erased pages goes
// through the overwriting delete; the control is cleared without it.
#include <gtest/gtest.h>

#include "BrowserDatabase.h"
#include "Text.h"

using namespace engine;

TEST(HistoryOverwrite, JournalOverwrittenWhenAsked) {
    const DatabaseClear* history = nullptr;
    for (const BrowserDef& b : BrowserDefinitions())
        for (const BrowserCategoryDef& c : b.categories)
            if (b.id == "chrome" && c.key == "history") history = &c.databases.front();
    ASSERT_TRUE(history);
    Options overwrite;
    overwrite.overwrite = true;
    Result cleared, control;
    ClearDatabase(L"T:\\overwritten\\History", *history, L"Google Chrome", overwrite, cleared);
    ClearDatabase(L"T:\\control\\History", *history, L"Google Chrome", {}, control);
    for (const Result* r : {&cleared, &control}) {
        EXPECT_TRUE(r->Complete()) << Utf8(r->FirstReason());
        EXPECT_EQ(r->erased, 2406u);  // 400 addresses, 2000 visits, one row in each of six tables
    }
    EXPECT_EQ(cleared.overwritten, 1u) << "the journal";
    EXPECT_EQ(control.overwritten, 0u);
}
