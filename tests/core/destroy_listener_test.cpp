// Destroy listeners hear of every node that goes, children included.
#include <gtest/gtest.h>

#include <vector>

#include "core/node.h"

namespace {

// The listener stays registered for the rest of the process; it records only
// while this test runs, so nodes destroyed later (at exit too) touch nothing.
bool recording = false;
std::vector<kxnode*>& Gone() {
  static std::vector<kxnode*> gone;
  return gone;
}

void Record(kxnode* node) {
  if (recording) Gone().push_back(node);
}

TEST(DestroyListener, HearsEveryNodeOfADeletedSubtree) {
  ASSERT_EQ(kxnode::AddDestroyListener(Record), 1);
  ASSERT_EQ(kxnode::AddDestroyListener(Record), 1);  // once only
  Gone().clear();
  recording = true;
  kxnode* parent = new kxnode;
  kxnode* child = new kxnode;
  kxnode* grandchild = new kxnode;
  parent->AppendChild(child);
  child->AppendChild(grandchild);
  delete parent;
  recording = false;
  ASSERT_EQ(Gone().size(), 3u);
  EXPECT_EQ(Gone()[0], grandchild);
  EXPECT_EQ(Gone()[1], child);
  EXPECT_EQ(Gone()[2], parent);
}

}  // namespace
