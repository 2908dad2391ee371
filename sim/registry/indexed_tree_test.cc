#include "sim/registry/indexed_tree.h"

#include <gtest/gtest.h>

#include <iterator>
#include <map>
#include <random>
#include <string>

namespace kx::sim {
namespace {

// Random insertions and removals, checked against std::map after each step
// by lookup and by position.
TEST(IndexedTreeTest, AgreesWithOrderedMapUnderRandomEdits) {
  std::mt19937 random(7);
  IndexedTree<int, std::string> tree;
  std::map<int, std::string> model;
  for (int step = 0; step < 4000; ++step) {
    const int key = static_cast<int>(random() % 600);
    if (random() % 3 == 0) {
      EXPECT_EQ(tree.Erase(key), model.erase(key) == 1);
    } else {
      const auto [value, inserted] = tree.Insert(key, std::to_string(step));
      const auto [it, modelInserted] = model.emplace(key, std::to_string(step));
      EXPECT_EQ(inserted, modelInserted);
      EXPECT_EQ(*value, it->second);
    }
    ASSERT_EQ(tree.size(), model.size());
    const std::size_t probe = model.empty() ? 0 : random() % model.size();
    if (!model.empty()) {
      const auto it = std::next(model.begin(), static_cast<long>(probe));
      EXPECT_EQ(tree.KeyAt(probe), it->first);
      EXPECT_EQ(tree.At(probe), it->second);
    }
    EXPECT_EQ(tree.Find(key) != nullptr, model.count(key) == 1);
  }
  std::size_t index = 0;
  auto it = model.begin();
  tree.ForEach([&](int key, const std::string& value) {
    EXPECT_EQ(key, it->first);
    EXPECT_EQ(value, it->second);
    EXPECT_EQ(&tree.At(index), &value);
    ++it;
    ++index;
  });
  EXPECT_EQ(index, model.size());
}

TEST(IndexedTreeTest, CopyIsDeepAndElementsStayPut) {
  IndexedTree<int, std::string> tree;
  for (int i = 0; i < 100; ++i) tree.Insert(i, "v" + std::to_string(i));
  std::string* fifty = tree.Find(50);
  IndexedTree<int, std::string> copy = tree;
  for (int i = 0; i < 100; i += 2) {
    if (i != 50) tree.Erase(i);
  }
  EXPECT_EQ(tree.Find(50), fifty);  // unmoved by the removals around it
  EXPECT_EQ(*fifty, "v50");
  EXPECT_EQ(copy.size(), 100u);
  *copy.Find(51) = "changed";
  EXPECT_EQ(*tree.Find(51), "v51");
}

}  // namespace
}  // namespace kx::sim
