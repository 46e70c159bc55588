// Destroy listeners hear of every node that goes, children included.
#include <gtest/gtest.h>

#include <vector>

#include "core/node.h"

namespace {

std::vector<kxnode*>& Gone() {
  static std::vector<kxnode*> gone;
  return gone;
}

void Record(kxnode* node) { Gone().push_back(node); }

TEST(DestroyListener, HearsEveryNodeOfADeletedSubtree) {
  ASSERT_EQ(kxnode::AddDestroyListener(Record), 1);
  ASSERT_EQ(kxnode::AddDestroyListener(Record), 1);  // once only
  Gone().clear();
  kxnode* parent = new kxnode;
  kxnode* child = new kxnode;
  kxnode* grandchild = new kxnode;
  parent->AppendChild(child);
  child->AppendChild(grandchild);
  delete parent;
  ASSERT_EQ(Gone().size(), 3u);
  EXPECT_EQ(Gone()[0], grandchild);
  EXPECT_EQ(Gone()[1], child);
  EXPECT_EQ(Gone()[2], parent);
}

}  // namespace
