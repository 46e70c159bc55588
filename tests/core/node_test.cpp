#include <deque>
#include <string>

#include "core/memory.h"
#include "test_support.h"

namespace {

using kxtest::coretest;

kxnode* Named(const char* name) {
  kxnode* n = new kxnode;
  n->name = name;
  return n;
}

std::string ChildNames(const kxnode* parent) {
  std::string names;
  const kxnode* last = nullptr;
  for (const kxnode* c = parent->firstChild; c; c = c->nextSibling) {
    EXPECT_EQ(c->parent, parent);
    EXPECT_EQ(c->prevSibling, last);
    names += c->name.Str();
    last = c;
  }
  EXPECT_EQ(parent->lastChild, last);
  return names;
}

TEST_F(coretest, ExecuteBuildsTreeAndRestoresCurrentNode) {
  kxnode* before = kxscript::Current();
  kxnode* a = kxscript::Execute("Append kxnode A;cd A/;Append kxnode B", top);
  ASSERT_NE(a, nullptr);
  EXPECT_STREQ(a->name.Text(), "A");
  EXPECT_EQ(kxscript::Current(), before);

  kxnode* b = kxnode::Find("/T/A/B/");
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(kxnode::Find("B", a), b);
  EXPECT_EQ(kxnode::Find("../B", b), b);
  EXPECT_EQ(kxnode::Find("/T/A//B"), b);
  EXPECT_EQ(kxnode::Find("./B/.", a), b);
  EXPECT_EQ(kxnode::Find("/T/A/C"), nullptr);
  EXPECT_EQ(kxnode::Find("../../..", a), nullptr);
  EXPECT_STREQ(b->Path().Text(), "/T/A/B/");
}

TEST_F(coretest, InsertionsKeepSiblingLinksConsistent) {
  kxnode* c = Named("C");
  kxnode* d = Named("D");
  kxnode* e = Named("E");
  kxnode* f = Named("F");
  top->AppendChild(c);
  top->AppendChild(d);
  top->AddChild(e);
  d->InsertAfter(f);
  EXPECT_EQ(ChildNames(top), "ECDF");

  c->Unlink();
  EXPECT_EQ(ChildNames(top), "EDF");
  EXPECT_EQ(c->parent, nullptr);
  c->Unlink();  // no parent: unchanged
  delete c;

  // Moving a child that already has a parent unlinks it first.
  e->AppendChild(f);
  EXPECT_EQ(ChildNames(top), "ED");
  EXPECT_EQ(ChildNames(e), "F");
  EXPECT_EQ(top->ChildCount(), 2);
}

TEST_F(coretest, CyclesAreRefused) {
  kxnode* b = Named("B");
  top->AppendChild(b);
  EXPECT_EQ(b->IsDescendantOf(b), 0);
  EXPECT_EQ(b->IsDescendantOf(kxscript::Root()), 1);
  EXPECT_EQ(top->IsDescendantOf(b), 0);
  EXPECT_EQ(b->AppendChild(kxscript::Root()), 0);
  EXPECT_EQ(b->AppendChild(top), 0);
  EXPECT_EQ(b->AddChild(b), 0);
  EXPECT_EQ(b->parent, top);
  EXPECT_TRUE(log.Contains("kxnode:  "));
}

TEST_F(coretest, DestroyingDeletesSubtreeButOnlyUnlinksStaticNodes) {
  static kxnode fixed;  // a node of a static table, not an arena block
  fixed.name = "Fixed";
  kxnode* branch = Named("Branch");
  top->AppendChild(branch);
  branch->AppendChild(Named("Leaf"));
  branch->AppendChild(&fixed);
  size_t blocks = kxmemory::UsedBlocks();
  delete branch;  // must not end the program over the static node
  EXPECT_EQ(fixed.parent, nullptr);
  EXPECT_EQ(kxmemory::UsedBlocks(), blocks - 2);
  EXPECT_EQ(top->firstChild, nullptr);

  kxnode* other = Named("Other");
  top->AppendChild(other);
  other->AppendChild(Named("X"));
  other->AppendChild(&fixed);
  other->DeleteChildren();
  EXPECT_EQ(other->firstChild, nullptr);
  EXPECT_EQ(other->lastChild, nullptr);
}

TEST_F(coretest, BaseMembersAppendAddAndRename) {
  kxscript::Execute("Append kxnode Second;Add kxnode First;Second/Name = \"Renamed\"", top);
  EXPECT_EQ(ChildNames(top), "FirstRenamed");
  kxscript::Execute("Append kxdnothing W", top);
  EXPECT_EQ(top->ChildCount(), 2);
  EXPECT_TRUE(log.Contains("unknown type \"kxdnothing\""));
}

TEST_F(coretest, TypeRegistryFindsNewestAndTestsDerivation) {
  // The registry keeps what it was given for the whole program: each run
  // of this test registers names of its own.
  static std::deque<kxtype> types;
  static int run = 0;
  const std::string baseName = "kxtestbase" + std::to_string(run++);
  kxtype& base = types.emplace_back(baseName.c_str());
  kxtype& derived = types.emplace_back((baseName + "derived").c_str());
  kxtype& shadow = types.emplace_back(baseName.c_str());
  kxtype::Register(&base);
  kxtype::RegisterDerived(&derived, &base);
  kxtype::Register(&derived);  // already linked: no loop
  EXPECT_EQ(kxtype::Find(baseName.c_str()), &base);
  kxtype::Register(&shadow);
  EXPECT_EQ(kxtype::Find(baseName.c_str()), &shadow);
  EXPECT_EQ(kxtype::IsDerivedFrom(&derived, &base), 1);
  EXPECT_EQ(kxtype::IsDerivedFrom(&derived, &derived), 1);
  EXPECT_EQ(kxtype::IsDerivedFrom(&base, &derived), 0);
  EXPECT_EQ(kxtype::Find("float"), kxtype::Find("kxreal"));
  EXPECT_EQ(kxtype::Find("KXNODE"), nullptr);
  EXPECT_EQ(derived.Create(), nullptr);  // no factory
}

}  // namespace
