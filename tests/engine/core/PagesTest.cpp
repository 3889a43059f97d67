#include <gtest/gtest.h>

#include "EngineFixture.h"
#include "Plexor.h"

namespace {

using vt::Engine;

std::vector<int32_t> PageOrder(PlexorHandle e) {
  std::vector<int32_t> keys;
  for (auto* n = e->Pages.firstNode(); n; n = n->next) keys.push_back(n->key);
  return keys;
}

TEST(Pages, AddPlacesAfterTheGivenPage) {
  Engine e;
  EXPECT_EQ(PlexorAddPage(e, 1, 0), 1);
  EXPECT_EQ(PlexorAddPage(e, 2, 1), 1);
  EXPECT_EQ(PlexorAddPage(e, 3, 0), 1);
  EXPECT_EQ(PageOrder(e), (std::vector<int32_t>{3, 1, 2}));
  EXPECT_EQ(PlexorAddPage(e, 4, 3), 1);
  EXPECT_EQ(PageOrder(e), (std::vector<int32_t>{3, 4, 1, 2}));
  // An after that names no page appends at the end.
  EXPECT_EQ(PlexorAddPage(e, 5, 99), 1);
  EXPECT_EQ(PageOrder(e), (std::vector<int32_t>{3, 4, 1, 2, 5}));
  // A page id in use is refused.
  EXPECT_EQ(PlexorAddPage(e, 1, 0), 0);
  EXPECT_EQ(PageOrder(e), (std::vector<int32_t>{3, 4, 1, 2, 5}));
}

TEST(Pages, MoveFollowsTheOrderRules) {
  Engine e;
  PlexorAddPage(e, 1, 0);
  PlexorMovePage(e, 1, 0);  // the only page
  EXPECT_EQ(PageOrder(e), (std::vector<int32_t>{1}));
  PlexorAddPage(e, 2, 1);
  PlexorAddPage(e, 3, 2);
  PlexorMovePage(e, 2, 1);  // already there
  EXPECT_EQ(PageOrder(e), (std::vector<int32_t>{1, 2, 3}));
  PlexorMovePage(e, 1, 3);
  EXPECT_EQ(PageOrder(e), (std::vector<int32_t>{2, 3, 1}));
  PlexorMovePage(e, 1, 0);
  EXPECT_EQ(PageOrder(e), (std::vector<int32_t>{1, 2, 3}));
  PlexorMovePage(e, 3, 1);
  EXPECT_EQ(PageOrder(e), (std::vector<int32_t>{1, 3, 2}));
  PlexorMovePage(e, 3, 3);
  PlexorMovePage(e, 3, 42);
  PlexorMovePage(e, 42, 1);
  EXPECT_EQ(PageOrder(e), (std::vector<int32_t>{1, 3, 2}));
}

TEST(Pages, NamesAreUniqueAndCaseSensitive) {
  Engine e;
  PlexorAddPage(e, 1, 0);
  PlexorAddPage(e, 2, 1);
  EXPECT_EQ(PlexorSetPageName(e, 1, "Start"), 1);
  EXPECT_EQ(PlexorSetPageName(e, 2, "Zwei"), 1);
  EXPECT_EQ(PlexorSetPageName(e, 2, "Start"), 0);
  EXPECT_EQ(e.get()->FindPage(2)->name, "Zwei");
  EXPECT_EQ(PlexorSetPageName(e, 1, "Start"), 1);
  EXPECT_EQ(PlexorSetPageName(e, 2, "start"), 1);
  EXPECT_EQ(PlexorSetPageName(e, 2, "\xC4nderung"), 1);
  EXPECT_EQ(PlexorSetPageName(e, 1, "\xC4nderung"), 0);
  EXPECT_EQ(PlexorSetPageName(e, 1, nullptr), 1);
  EXPECT_FALSE(e.get()->FindPage(1)->hasName);
  EXPECT_EQ(PlexorSetPageName(e, 99, "x"), 0);
  // A name is free again once its page is renamed, unnamed or removed.
  EXPECT_EQ(PlexorSetPageName(e, 2, "Start"), 1);
  EXPECT_EQ(PlexorSetPageName(e, 1, "\xC4nderung"), 1);
  EXPECT_EQ(PlexorSetPageName(e, 1, "Start"), 0);
  PlexorRemovePage(e, 2);
  EXPECT_EQ(PlexorSetPageName(e, 1, "Start"), 1);
  EXPECT_EQ(PlexorAddPage(e, 3, 1), 1);
  EXPECT_EQ(PlexorSetPageName(e, 3, "\xC4nderung"), 1);
}

TEST(Pages, ClearAndRemoveDestroyBlocks) {
  Engine e;
  PlexorAddPage(e, 1, 0);
  PlexorAddPage(e, 2, 1);
  int32_t a = vt::Add(e, 700, 1, 1);
  int32_t b = vt::Add(e, 900, 1, 2);
  vt::Wire(e, a, b);
  vt::Add(e, 700, 2, 1);
  PlexorClearPage(e, 1);
  EXPECT_EQ(e.get()->FindPage(1)->blocks.count(), 0);
  EXPECT_EQ(PlexorGetBlockParam(e, a), nullptr);
  PlexorRemovePage(e, 2);
  EXPECT_EQ(PageOrder(e), (std::vector<int32_t>{1}));
  EXPECT_EQ(PlexorGetBlockParam(e, vt::Bid(2, 1)), nullptr);
  PlexorRemovePage(e, 2);  // gone already
  PlexorClearPage(e, 7);
}

TEST(Pages, BlocksNeedAPageWhoseIdFitsSixteenBits) {
  Engine e;
  PlexorAddPage(e, 0x10001, 0);
  EXPECT_EQ(PlexorAddBlock(e, 700, vt::Bid(0x10001, 1)), 0);
  EXPECT_EQ(PlexorAddBlock(e, 700, vt::Bid(3, 1)), 0);  // no page 3
  PlexorAddPage(e, 0xFFFF, 0);
  EXPECT_EQ(PlexorAddBlock(e, 700, vt::Bid(0xFFFF, 65534)), 1);
  EXPECT_EQ(PlexorAddBlock(e, 700, vt::Bid(0xFFFF, 65534)), 0);  // id in use
  EXPECT_EQ(PlexorAddBlock(e, 999, vt::Bid(0xFFFF, 3)), 0);
  EXPECT_EQ(e.get()->FindPage(0xFFFF)->blocks.count(), 1);
}

}  // namespace
