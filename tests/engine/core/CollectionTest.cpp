#include <gtest/gtest.h>

#include <vector>

#include "XXCollection.h"

namespace {

struct Item {
  explicit Item(int v, int* deaths = nullptr) : value(v), deaths(deaths) {}
  ~Item() {
    if (deaths) ++*deaths;
  }
  int value;
  int* deaths;
};

std::vector<int> Keys(const XXCollection<Item>& c) {
  std::vector<int> keys;
  for (auto* n = c.firstNode(); n; n = n->next) keys.push_back(n->key);
  return keys;
}

TEST(XXCollection, AddFindUnlinkAndMoveKeepLinksConsistent) {
  XXCollection<Item> c;
  for (int k : {1, 2, 3, 4}) c.add(new Item(k * 10), k);
  EXPECT_EQ(c.count(), 4);
  EXPECT_EQ(c.findItem(3)->value, 30);
  EXPECT_EQ(c.find(9), nullptr);

  c.move(4, 0);
  EXPECT_EQ(Keys(c), (std::vector<int>{4, 1, 2, 3}));
  c.move(4, 3);  // after the last node: appended
  EXPECT_EQ(Keys(c), (std::vector<int>{1, 2, 3, 4}));
  c.move(2, 1);  // already follows: nothing
  EXPECT_EQ(Keys(c), (std::vector<int>{1, 2, 3, 4}));
  c.move(1, 3);
  EXPECT_EQ(Keys(c), (std::vector<int>{2, 3, 1, 4}));
  c.move(1, 77);  // unknown anchor: nothing
  c.move(77, 1);  // unknown key: nothing
  EXPECT_EQ(Keys(c), (std::vector<int>{2, 3, 1, 4}));
  EXPECT_EQ(c.count(), 4);

  Item* item = c.unlink(c.find(3));
  EXPECT_EQ(item->value, 30);
  delete item;
  EXPECT_EQ(Keys(c), (std::vector<int>{2, 1, 4}));
  EXPECT_EQ(c.lastNode()->previous->key, 1);
  EXPECT_EQ(c.firstNode()->previous, nullptr);
}

TEST(XXCollection, CursorIterationAndClearDestroyItems) {
  int deaths = 0;
  {
    XXCollection<Item> c;
    for (int k : {5, 6, 7}) c.add(new Item(k, &deaths), k);
    std::vector<int> seen;
    for (Item* i = c.first(); i; i = c.next()) seen.push_back(i->value);
    EXPECT_EQ(seen, (std::vector<int>{5, 6, 7}));
    c.clear();
    EXPECT_EQ(deaths, 3);
    EXPECT_EQ(c.count(), 0);
    EXPECT_EQ(c.first(), nullptr);
    c.add(new Item(1, &deaths), 1);
  }
  EXPECT_EQ(deaths, 4);  // the destructor clears too
}

// The key index must give the same answer as a search from the front,
// whatever moves, unlinks and clears happened before.
TEST(XXCollection, DuplicateKeysFindTheFirstFromTheFront) {
  XXCollection<Item> c;
  c.add(new Item(1), 9);
  c.add(new Item(2), 9);
  c.add(new Item(3), 5);
  EXPECT_EQ(c.findItem(9)->value, 1);
  c.move(5, 0);
  EXPECT_EQ(c.findItem(9)->value, 1);
  delete c.unlink(c.find(9));
  EXPECT_EQ(c.findItem(9)->value, 2);
  c.add(new Item(4), 9);
  c.move(9, 0);  // moves the first node with key 9 (item 2) to the front
  EXPECT_EQ(c.findItem(9)->value, 2);
  delete c.unlink(c.find(9));
  EXPECT_EQ(c.findItem(9)->value, 4);
  delete c.unlink(c.find(9));
  EXPECT_EQ(c.find(9), nullptr);
  c.clear();
  EXPECT_EQ(c.find(5), nullptr);
  c.add(new Item(6), 5);
  EXPECT_EQ(c.findItem(5)->value, 6);
}

}  // namespace
