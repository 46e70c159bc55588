#include "graphics/geometric_object.h"

#include <cmath>
#include <cstring>
#include <filesystem>

#include "core/arguments.h"
#include "core/reference.h"
#include "geometry_support.h"
#include "graphics/mesh_load.h"

namespace {

using kxgeomtest::Element;
using kxgeomtest::UnitSquare;

// Positions and normals of every vertex of an object's list.
std::vector<float> Live(const kxgeometricobject* o) {
  std::vector<float> out;
  for (const kxgeometry* el = o->mesh; el; el = el->next) {
    for (int i = 0; i < el->vertexCount; ++i) {
      float p[3];
      kxvector4r n;
      kxgeometry::GetVertexPosition(el, i, p);
      kxgeometry::GetVertexNormal(el, i, &n);
      out.insert(out.end(), {p[0], p[1], p[2], n.x, n.y, n.z});
    }
  }
  return out;
}

std::vector<float> Stored(const kxgeometricobject* o) {
  std::vector<float> out;
  for (const kxgeometry* el = o->mesh; el; el = el->next) {
    for (int i = 0; i < el->vertexCount; ++i) {
      const float* s = el->stored + 6 * i;
      out.insert(out.end(), {s[3], s[4], s[5], s[0], s[1], s[2]});
    }
  }
  return out;
}

bool IsIdentity(const kxmatrix& m) {
  for (int i = 0; i < 16; ++i) {
    if (m[i] != (i % 5 == 0 ? 1.0f : 0.0f)) return false;
  }
  return true;
}

// A box part of two elements (a body and a lid), so edits must move both.
kxgeometry* TwoElements() {
  kxgeometry* body = meshgen::ToElement(meshgen::Box(1.0f, 0.5f, 0.25f), "body", "", GL_T2F_N3F_V3F);
  meshgen::mesh lid = meshgen::Box(0.2f, 0.2f, 0.1f);
  meshgen::Translate(lid, 0.0f, 0.0f, 0.2f);
  body->next = meshgen::ToElement(lid, "lid", "", GL_V3F);
  return body;
}

class GeoObjectTest : public kxgeomtest::GeometryTest {};

TEST_F(GeoObjectTest, TransformThenRebuildGivesBackTheStoredCopyAndIdentity) {
  kxgeometricobject* o = Object("A", TwoElements());
  std::vector<float> rest = Live(o);
  ASSERT_EQ(rest, Stored(o));
  o->Matrix = Translation(5, 0, 0);
  o->Transform(Translation(1, 2, 3));
  EXPECT_NE(Live(o), rest);
  for (int round = 0; round < 3; ++round) {
    o->Rebuild();
    EXPECT_EQ(Live(o), rest);
    EXPECT_TRUE(IsIdentity(o->Matrix));
  }
  EXPECT_EQ(0, std::memcmp(o->mesh->hull, o->mesh->hullStored, sizeof(double) * 3 * o->mesh->hullCount));
}

TEST_F(GeoObjectTest, RebuildReachesDescendantsAndRestoreVerticesKeepsMatrix) {
  kxgeometricobject* root = Object("A", UnitSquare());
  kxgeometricobject* child = Object("B", UnitSquare(), root);
  std::vector<float> rest = Live(child);
  child->Matrix = Translation(0, 0, 1);
  child->Transform(Frame(0, 0, 1, 90, 0, 0, 0));
  root->Rebuild();
  EXPECT_EQ(Live(child), rest);
  EXPECT_TRUE(IsIdentity(child->Matrix));

  root->Matrix = Translation(0, 0, 2);
  root->Move({1, 1, 1, 0});
  root->RestoreVertices();
  root->RestoreMesh();
  EXPECT_EQ(Live(root), Live(child));
  EXPECT_EQ(root->Matrix.R.z, 2.0f);
}

TEST_F(GeoObjectTest, TransformTwiceEqualsTransformByTheProductAndKeepsMatrix) {
  kxmatrix M = Frame(1, 2, 3, 30, 0.5f, -1, 2);
  kxmatrix MM;
  kxmatrix::Multiply4x4(&MM, &M, &M);
  kxgeometricobject* a = Object("A", TwoElements());
  kxgeometricobject* b = Object("B", TwoElements());
  a->Matrix = Translation(7, 8, 9);
  a->Transform(M);
  a->Transform(M);
  b->Transform(MM);
  std::vector<float> la = Live(a), lb = Live(b);
  ASSERT_EQ(la.size(), lb.size());
  for (size_t i = 0; i < la.size(); ++i) EXPECT_NEAR(la[i], lb[i], 1e-5f) << i;
  EXPECT_EQ(a->Matrix.R.x, 7.0f);
  EXPECT_NEAR(a->mesh->hull[0], b->mesh->hull[0], 1e-5);
  EXPECT_NEAR(a->mesh->hull4[1], b->mesh->hull4[1], 1e-5f);
}

TEST_F(GeoObjectTest, ApplyFrameKeepsWorldPositionsAndGivesChildrenTheInverse) {
  kxgeometricobject* o = Object("A", TwoElements());
  kxgeometricobject* c1 = Object("C1", nullptr, o);
  kxgeometricobject* c2 = Object("C2", nullptr, o);
  std::vector<float> before = Live(o);
  kxmatrix F = Frame(0, 1, 1, 40, 1, 2, -3);
  ASSERT_EQ(1, o->ApplyFrame(F));
  EXPECT_EQ(0, std::memcmp(&o->Matrix, &F, sizeof F));
  std::vector<float> after = Live(o);
  for (size_t v = 0; v < after.size(); v += 6) {
    float p[4] = {after[v], after[v + 1], after[v + 2], 1.0f};
    kxmatrix::TransformVector4(p, &F, p);
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(p[k], before[v + k], 1e-5f);
  }
  kxmatrix inverse;
  ASSERT_EQ(0, kxmatrix::Invert(F, inverse));
  for (kxgeometricobject* c : {c1, c2}) {
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(c->Matrix[i], inverse[i], 1e-6f);
  }
}

TEST_F(GeoObjectTest, ApplyFrameWithSingularFrameChangesNothing) {
  kxgeometricobject* o = Object("A", UnitSquare());
  kxgeometricobject* c = Object("C", nullptr, o);
  c->Matrix = Translation(1, 0, 0);
  std::vector<float> before = Live(o);
  kxmatrix F = Identity();
  F.Z = {0, 0, 0, 0};
  EXPECT_EQ(0, o->ApplyFrame(F));
  F = Identity();
  F.R.x = NAN;
  EXPECT_EQ(0, o->ApplyFrame(F));
  EXPECT_EQ(Live(o), before);
  EXPECT_TRUE(IsIdentity(o->Matrix));
  EXPECT_EQ(c->Matrix.R.x, 1.0f);
  EXPECT_NE(std::string::npos, kxgeomtest::Log().find("gl:  frame of A singular\n"));
}

TEST_F(GeoObjectTest, EditsRunOverTheVerticesOfAllElements) {
  kxgeometricobject* o = Object("A", TwoElements());
  int first = o->mesh->vertexCount;
  ASSERT_EQ(o->VertexCount(), first + o->mesh->next->vertexCount);
  float lid[3];
  kxgeometry::GetVertexPosition(o->mesh->next, 0, lid);
  kxvector4r out;
  o->TransformVertex(&out, first, Translation(1, 0, 0));
  EXPECT_FLOAT_EQ(out.x, lid[0] + 1.0f);
  EXPECT_FLOAT_EQ(out.z, lid[2]);
  EXPECT_EQ(out.w, 1.0f);
  o->Move({0, 0, 1, 0});
  float moved[3];
  kxgeometry::GetVertexPosition(o->mesh->next, 0, moved);
  EXPECT_FLOAT_EQ(moved[2], lid[2] + 1.0f);
  EXPECT_FLOAT_EQ(o->box.max[2], 0.25f + 1.0f);
  o->VertexInFrame(first, {9, 8, 7, 1}, Translation(1, 1, 1));
  kxgeometry::GetVertexPosition(o->mesh->next, 0, moved);
  EXPECT_FLOAT_EQ(moved[0], 8.0f);
  EXPECT_FLOAT_EQ(moved[2], 6.0f);
}

TEST_F(GeoObjectTest, TransformVertexGivesOriginPointWithoutMeshOrForABadIndex) {
  kxgeometricobject* empty = Object("E");
  kxgeometricobject* o = Object("A", UnitSquare());
  kxvector4r out = {5, 5, 5, 5};
  empty->TransformVertex(&out, 0, Translation(1, 2, 3));
  EXPECT_EQ(out, (kxvector4r{0, 0, 0, 1}));
  out = {5, 5, 5, 5};
  o->TransformVertex(&out, 4, Translation(1, 2, 3));
  EXPECT_EQ(out, (kxvector4r{0, 0, 0, 1}));
  o->TransformVertex(&out, -1, Identity());
  EXPECT_EQ(out, (kxvector4r{0, 0, 0, 1}));
  o->TransformVertex(&out, 2, Translation(1, 2, 3));
  EXPECT_EQ(out, (kxvector4r{2, 3, 3, 1}));
}

TEST_F(GeoObjectTest, VertexInFrameWithIdentityWritesThePointAndIgnoresBadInput) {
  kxgeometricobject* o = Object("A", UnitSquare());
  o->VertexInFrame(1, {0.25f, 0.5f, 0.75f, 1}, Identity());
  float p[3];
  kxgeometry::GetVertexPosition(o->mesh, 1, p);
  EXPECT_EQ(p[0], 0.25f);
  EXPECT_EQ(p[1], 0.5f);
  EXPECT_EQ(p[2], 0.75f);
  kxmatrix singular = Identity();
  singular.X = {0, 0, 0, 0};
  o->VertexInFrame(1, {3, 3, 3, 1}, singular);
  o->VertexInFrame(4, {3, 3, 3, 1}, Identity());
  kxgeometry::GetVertexPosition(o->mesh, 1, p);
  EXPECT_EQ(p[0], 0.25f);
  Object("E")->VertexInFrame(0, {1, 1, 1, 1}, Identity());  // no mesh: nothing to do
}

TEST_F(GeoObjectTest, StoreVerticesMakesTheEditedShapeTheRestShape) {
  kxgeometricobject* o = Object("A", TwoElements());
  o->Transform(Translation(0, 0, 2));
  o->StoreVertices();
  std::vector<float> edited = Live(o);
  o->Transform(Translation(3, 0, 0));
  o->Rebuild();
  EXPECT_EQ(Live(o), edited);
  EXPECT_FLOAT_EQ(o->mesh->hull[2] - o->mesh->hullStored[2], 0.0);
}

TEST_F(GeoObjectTest, NonFiniteEditsLeaveTheMeshAlone) {
  kxgeometricobject* o = Object("A", UnitSquare());
  std::vector<float> before = Live(o);
  kxmatrix bad = Identity();
  bad.X.x = INFINITY;
  o->Transform(bad);
  o->Move({NAN, 0, 0, 0});
  EXPECT_EQ(Live(o), before);
  // Finite numbers that overflow are refused too, for the whole list.
  o->Transform(Translation(3e38f, 0, 0));
  std::vector<float> far = Live(o);
  o->Transform(Translation(3e38f, 0, 0));
  o->Move({3e38f, 0, 0, 0});
  EXPECT_EQ(Live(o), far);
  EXPECT_EQ(0, o->ApplyFrame(Frame(0, 0, 1, 10, -3e38f, 0, 0)));
  EXPECT_EQ(Live(o), far);
  EXPECT_NE(std::string::npos, kxgeomtest::Log().find("out of range"));
}

TEST_F(GeoObjectTest, UpdateBoundsMergesChildrenPlacedByTheirMatrix) {
  kxgeometricobject* root = Object("A", UnitSquare());
  kxgeometricobject* child = Object("B", UnitSquare(), root);
  child->Matrix = Translation(0, 0, 5);
  root->UpdateBounds();
  EXPECT_EQ(root->boundsMin[2], 0.0f);
  EXPECT_EQ(root->boundsMax[2], 5.0f);
  EXPECT_EQ(root->box.max[2], 0.0f);  // the box record is the own mesh only
  EXPECT_EQ(root->box.six[1].x, 1.0f);
  EXPECT_EQ(root->box.eight[7].y, 1.0f);
}

TEST_F(GeoObjectTest, SetOwnerReachesEveryDescendant) {
  kxgeometricobject* root = Object("A");
  kxgeometricobject* grandchild = Object("C", nullptr, Object("B", nullptr, root));
  kxnode owner;
  root->SetOwner(&owner);
  EXPECT_EQ(root->Object, &owner);
  EXPECT_EQ(grandchild->Object, &owner);
}

TEST_F(GeoObjectTest, ScriptSetsMatrixAxesAndShiny) {
  kxscript::Execute(
      "Append kxgeometricobject Wing\n"
      "cd Wing/\n"
      "Matrix = { 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0.5, 0, 2, 1 }\n"
      "Shiny = 0.8\n"
      "Y = kxvector4r( 0, 0, 1, 0 )\n",
      top);
  kxgeometricobject* wing = kxgeometricobject::FromValue(kxscript::Evaluate("Wing", top).get());
  ASSERT_NE(wing, nullptr);
  EXPECT_EQ(wing->Matrix.R.x, 0.5f);
  EXPECT_EQ(wing->MatrixObj.R.z, 2.0f);
  EXPECT_FLOAT_EQ(wing->Shiny, 0.8f);
  EXPECT_EQ(wing->Matrix.Y.z, 1.0f);
  // A matrix with a non-finite number is refused whole.
  kxvalueptr matrix = wing->GetMember("Matrix", kxargs::None());
  kxlistvalue list;
  for (int i = 0; i < 16; ++i) list.values.emplace_back(new kxrealvalue(i == 3 ? NAN : 1.0));
  EXPECT_EQ(0, matrix->Assign(list));
  EXPECT_EQ(wing->Matrix.R.x, 0.5f);
  EXPECT_EQ(kxgeometricobject::FromValue(kxscript::Evaluate("/", top).get()), nullptr);
}

TEST_F(GeoObjectTest, CloneSharesTheMeshAndPointsAxesIntoItsOwnMatrix) {
  kxgeometricobject* o = Object("A", UnitSquare());
  o->Matrix = Translation(1, 2, 3);
  o->Shiny = 0.5f;
  Object("B", nullptr, o);
  kxnode* copy = o->Clone(top);
  ASSERT_NE(copy, nullptr);
  ASSERT_TRUE(kxtype::IsDerivedFrom(copy->type, &kxgeometricobject::Type));
  kxgeometricobject* c = static_cast<kxgeometricobject*>(copy);
  EXPECT_EQ(c->mesh, o->mesh);
  EXPECT_EQ(c->ownsMesh, 0);
  EXPECT_EQ(c->R, &c->Matrix.R);
  EXPECT_EQ(c->R->y, 2.0f);
  EXPECT_EQ(c->Shiny, 0.5f);
  EXPECT_NE(c->FindChild("B"), nullptr);
  delete copy;  // must not free the shared mesh
  EXPECT_EQ(o->mesh->vertexCount, 4);
}

class GeoMeshFileTest : public kxgeomtest::GeometryTest {
 protected:
  void TearDown() override {
    kxgeometricobject::SetScriptFolder("");
    GeometryTest::TearDown();
  }
  kxtest::tempdir folder;
  const std::filesystem::path& dir = folder.path();
};

TEST_F(GeoMeshFileTest, MeshMemberLoadsAndScriptEndDistributesByGroup) {
  kxgeometry* list = meshgen::ToElement(meshgen::Box(1, 1, 1), "body", "", GL_N3F_V3F);
  list->next = meshgen::ToElement(meshgen::Box(0.2f, 0.2f, 0.2f), "blade", "Propeller/Blade0", GL_N3F_V3F);
  list->next->next = meshgen::ToElement(meshgen::Box(0.1f, 0.1f, 0.1f), "stray", "Nowhere", GL_V3F);
  ASSERT_EQ(1, kxgeometry::WriteBinary((dir / "plane.tgo").c_str(), list));
  kxgeometry::Free(&list);

  kxgeometricobject* root = Object("Geometry");
  kxgeometricobject::SetScriptFolder(dir.c_str());
  kxscript::Execute(
      "Mesh( \"plane.tgo\" )\n"
      "Append kxgeometricobject Propeller\n"
      "cd Propeller/\n"
      "Append kxgeometricobject Blade0\n",
      root);
  ASSERT_NE(root->mesh, nullptr);
  EXPECT_NE(root->mesh->next, nullptr);  // everything on the root until the script ends
  kxgeometricobject::AttachMesh(root, nullptr);
  kxgeometricobject* blade = kxnode::FromValue<kxgeometricobject>(kxscript::Evaluate("Propeller/Blade0", root).get());
  ASSERT_NE(blade, nullptr);
  ASSERT_NE(blade->mesh, nullptr);
  EXPECT_STREQ(blade->mesh->name, "blade");
  EXPECT_EQ(blade->mesh->next, nullptr);
  ASSERT_NE(root->mesh->next, nullptr);
  EXPECT_STREQ(root->mesh->name, "body");
  EXPECT_STREQ(root->mesh->next->name, "stray");

  // Written back as one file with the groups of the tree.
  std::string out = (dir / "out.obj").string();
  ASSERT_EQ(1, kxgeometricobject::WriteMesh(root, out.c_str(), 0));
  EXPECT_EQ(blade->mesh->next, nullptr);  // links restored
  kxgeometry* back = kxgl::ReadMeshFile(out.c_str());
  ASSERT_NE(back, nullptr);
  int count = 0;
  bool bladeGroup = false;
  for (kxgeometry* el = back; el; el = el->next, ++count) {
    bladeGroup = bladeGroup || (std::strcmp(el->name, "blade") == 0 && std::strcmp(el->group, "Propeller/Blade0") == 0);
  }
  EXPECT_EQ(count, 3);
  EXPECT_TRUE(bladeGroup);
  kxgeometry::Free(&back);

  // Loading again replaces the tree's meshes instead of adding to them.
  kxscript::Execute("Mesh( \"plane.tgo\" )\n", root);
  kxgeometricobject::AttachMesh(root, nullptr);
  EXPECT_EQ(root->VertexCount() + blade->VertexCount(), 24 + 24 + 24);
}

TEST_F(GeoMeshFileTest, MeshMemberWithMissingFileFailsAndKeepsNoMesh) {
  kxgeometricobject* root = Object("Geometry");
  kxgeometricobject::SetScriptFolder(dir.c_str());
  EXPECT_EQ(root->GetMember("Mesh", kxargs::None()), nullptr);
  kxargs args;
  args.Add(kxvalueptr(new kxstringvalue("missing.obj")));
  EXPECT_EQ(root->GetMember("Mesh", args), nullptr);
  EXPECT_EQ(root->mesh, nullptr);
}

}  // namespace
