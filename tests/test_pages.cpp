// Every page opens through its template; the page table agrees with the category table; the
// shared look (background, colour and font rules) reaches the page's controls.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "AppHarness.h"
#include "Categories.h"
#include "CategoryTree.h"
#include "LastChosenText.h"
#include "PageLook.h"
#include "Pages.h"
#include "SummaryPage.h"

using namespace testkit;

namespace {
struct PageFixture : ::testing::Test {
    void SetUp() override { ASSERT_NE(StartApp(), nullptr); }
    void TearDown() override { CloseAllPages(); }
};
}  // namespace

// Every category but a browser's (rows of the Web Browsers page) has its page, and every row of a
// summary names a category of its group once.
TEST_F(PageFixture, ThePageTableAgreesWithTheCategoriesAndTheSummaries) {
    for (const engine::Category& c : engine::Categories())
        EXPECT_TRUE(c.group == "browsers" || pages::Find(c.key)) << c.key;
    for (auto [group, page] : {std::pair{"internet", pages::kInternet}, {"system", pages::kSystem}, {"apps", pages::kApplications}}) {
        auto* view = OpenPage<CSummaryView>(page);
        ASSERT_NE(view, nullptr) << page;
        std::set<std::string> keys;
        for (const SummaryRow& r : view->Face().rows) {
            const engine::Category* c = engine::FindCategory(r.key);
            EXPECT_TRUE(c && c->group == group) << r.key;
            EXPECT_TRUE(keys.insert(r.key).second) << r.key;
        }
    }
}

// Every page has its template, icon and tree image, opens in a visible frame with its background
// drawn in its colour to the last row, and holds every control its look names, which then answers
// with the look's last colour and font for it.
TEST_F(PageFixture, EveryPageOpensWithTheControlsItsLookNamesAnsweringByItsRules) {
    LastChosenText() = L"C: [CORVANE]";
    for (const pages::PageRow& row : pages::Rows()) {
        SCOPED_TRACE(row.key);
        CMultiDocTemplate* t = TheApp()->PageTemplate(row.key);
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(t->m_nIDResource, row.resourceId);
        EXPECT_NE(CCategoryTree::ImageOf(pages::IconOf(row)), -1);
        EXPECT_EQ(pages::TextOf(row).empty(), row.key == std::string(pages::kDrives));
        CPageView* view = OpenPage<CPageView>(row.key);
        ASSERT_NE(view, nullptr);
        EXPECT_TRUE(view->GetParentFrame()->IsWindowVisible());
        view->GetParentFrame()->MoveWindow(0, 0, 500, 377);
        CRect r;
        view->GetClientRect(&r);
        EXPECT_EQ(ErasedPixel(view, 3, 3), view->Look().background);
        EXPECT_EQ(ErasedPixel(view, r.Width() - 1, r.Height()), view->Look().background);  // the row at the height too
        std::map<int, const look::Rule*> colours, fonts;
        for (const look::Rule& rule : view->Look().rules)
            for (int id : rule.ids) (rule.font ? fonts : colours)[id] = &rule;
        for (auto& [id, rule] : colours) {
            ASSERT_NE(::GetDlgItem(view->m_hWnd, id), nullptr) << id;
            EXPECT_EQ(AskColours(view, ::GetDlgItem(view->m_hWnd, id)).brush, rule->colour) << id;
        }
        for (auto& [id, rule] : fonts) {
            HWND control = ::GetDlgItem(view->m_hWnd, id);
            ASSERT_NE(control, nullptr) << id;
            EXPECT_EQ(AskColours(view, control).font, FontText(reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)))) << id;
            EXPECT_EQ(AskColours(view, control).font.rfind(rule->font->face, 0), 0u) << id;
        }
    }
}

// The group box round the list and the picture of a list page have no rule and keep the system's
// look. (Which of two rules for one control wins: EveryPageOpensWithTheControlsItsLookNames...)
TEST_F(PageFixture, ControlsWithoutAnIdKeepTheSystemLook) {
    CPageView* view = OpenPage<CPageView>("internet.typed-urls");
    ASSERT_NE(view, nullptr);
    int others = 0;
    for (HWND c = ::GetWindow(view->m_hWnd, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        if (::GetDlgCtrlID(c) != -1 && ::GetDlgCtrlID(c) != 0xFFFF) continue;
        CtlColours other = AskColours(view, c);
        EXPECT_NE(other.brush, look::kPageColour);
        EXPECT_EQ(other.font, L"");
        ++others;
    }
    EXPECT_GE(others, 2);
}
