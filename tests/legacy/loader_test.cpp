// Loading models: parts for the mesh elements no part names, meshes moved
// into their parts' frames, links by name and class, contact claims, mass
// data and the folders of the small helicopter.
#include <cmath>

#include "graphics/mesh_load.h"
#include "tests/legacy/model_support.h"

namespace {

using namespace dnsmodel;

class LegacyLoaderTest : public kxltest::modeltest {
 protected:
  // A mesh file of one small box per name ("" for an unnamed element).
  void WriteMesh(const std::string& path, std::initializer_list<const char*> names) {
    std::vector<kxgeometry*> list;
    for (const char* name : names) {
      meshgen::mesh box = meshgen::Box(0.2f, 0.1f, 0.05f);
      meshgen::Translate(box, 1.5f, 0.5f, 0.25f);
      list.push_back(meshgen::ToElement(box, name, "", GL_N3F_V3F));
    }
    kxgeometry* chain = meshgen::Chain(list.data(), list.size());
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    int written = kxgeometry::WriteText(path.c_str(), chain);
    kxgeometry::Free(&chain);
    ASSERT_EQ(written, 1);
  }
  static object* Part(const char* name) {
    for (object* p = state().parts; p; p = p->next) {
      if (std::strcmp(p->Name, name) == 0) return p;
    }
    return nullptr;
  }
  static std::string Names() {
    std::string names;
    for (object* p = state().parts; p; p = p->next) names += std::string(names.empty() ? "" : " ") + p->Name;
    return names;
  }
};

// Unnamed elements take "Graphic%03d" names, and every element without a
// part of its name gets a drawn part at the head of the list. A part's
// element is moved into its frame, made orthonormal keeping Z; a frame
// without a plane is taken as the identity.
TEST_F(LegacyLoaderTest, MeshElementsBecomePartsAndMoveIntoTheirFrames) {
  Write("airlark/aircraft/shapes.dns",
        "// DNS FILE\nwing WingA;\nWingA.X = ( 0 2 0 )\nWingA.Z = ( 0 0 3 )\nWingA.R = ( 1 0 0 )\n"
        "graphic Flat;\nFlat.X = ( 1 0 0 )\nFlat.Z = ( 2 0 0 )\n");
  WriteMesh("airlark/aircraft/shapes.obj", {"", "WingA", "", "Canopy", "Flat"});
  Load("shapes");
  EXPECT_EQ(Names(), "Canopy Graphic001 Graphic000 WingA Flat");
  for (object* p = state().parts; p; p = p->next) {
    ASSERT_NE(p->mesh, nullptr) << p->Name;
    EXPECT_STREQ(p->mesh->name, p->Name);
  }
  EXPECT_NE(Log().find("dnsmodel:  part Flat has no usable X and Z axes; its mesh is bound to the identity axes\n"),
            std::string::npos);

  kxgeometry* authored = kxgl::ReadMeshFile("airlark/aircraft/shapes.obj");
  ASSERT_NE(authored, nullptr);
  object* wingA = Part("WingA");
  const v3 x{0, 1, 0}, y{-1, 0, 0}, z{0, 0, 1};
  EXPECT_EQ(dnsmodel::Load(wingA->X).y, 1.0f);
  EXPECT_EQ(dnsmodel::Load(wingA->Y).x, -1.0f);
  float body[3], bound[3];
  kxgeometry::GetVertexPosition(authored->next, 0, body);
  kxgeometry::GetVertexPosition(wingA->mesh, 0, bound);
  v3 q = dnsmodel::Load(body) - v3{1, 0, 0};
  EXPECT_NEAR(Length(dnsmodel::Load(bound) - v3{Dot(x, q), Dot(y, q), Dot(z, q)}), 0.0f, 1e-6f);
  kxgeometry::Free(&authored);
}

// A propeller and a rotor on one engine both link to it and add their
// reflected inertia; links to a part of another class or to no part are
// refused; tips claim two contact points, wheels one, after the body's.
TEST_F(LegacyLoaderTest, InitLinksByNameAndClassAndClaimsContacts) {
  Write("airlark/aircraft/linked.dns",
        "// DNS FILE\nengine E;\nE.Inertia = 1\n"
        "propeller P;\nstrcpy( P.Engine, \"E\" );\nP.Trans = 2\nP.Inertia = 0.1\nP.Radius = 0.1\nP.Area = 0.03\nP.Sigma = 0.1\n"
        "rotor R;\nstrcpy( R.Engine, \"E\" );\nR.Trans = 3\nR.Inertia = 0.2\nR.Radius = 0.5\nR.Area = 0.8\nR.Sigma = 0.05\n"
        "wing W;\nstrcpy( W.Flap, \"E\" );\npropeller Q;\nstrcpy( Q.Engine, \"None\" );\n"
        "tip T1;\ntip T2;\nwheel K1;\ntip T3;\nwheel K2;\nengine Still;\n");
  Load("linked");
  engine* e = As<engine>(Part("E"));
  ASSERT_NE(e, nullptr);
  EXPECT_FLOAT_EQ(e->Inertia, 1.0f + 4 * 0.1f + 9 * 0.2f);
  EXPECT_EQ(e->propellerLink, As<propeller>(Part("P")));
  EXPECT_EQ(e->rotorLink, As<rotor>(Part("R")));
  EXPECT_EQ(As<propeller>(Part("P"))->engineLink, &e->shaftSpeed);
  EXPECT_EQ(As<wing>(Part("W"))->flapLink, nullptr);
  EXPECT_EQ(As<propeller>(Part("Q"))->engineLink, nullptr);
  for (const char* line : {"dnsmodel:  W names E, which is of class engine, not flap; no link\n",
                           "dnsmodel:  Q has no engine named \"None\"; it does not turn\n",
                           "dnsmodel:  engine Still has no inertia; its shaft does not turn\n"}) {
    EXPECT_NE(Log().find(line), std::string::npos) << line;
  }

  const tip* t3 = As<tip>(Part("T3"));
  EXPECT_EQ(t3->contactA, 6);
  EXPECT_EQ(t3->contactB, 7);
  EXPECT_EQ(As<wheel>(Part("K2"))->contact, 8);
  int index = 8;
  const interaction& table = model()->interaction;
  for (const contactpoint* p = table.usedContacts; p; p = p->nextContact) EXPECT_EQ(p - table.contacts, index--);
  EXPECT_EQ(index, -1);
}

// A mass part of a class without an inverse inertia leaves the model a
// zero one: it can fall but never turn.
TEST_F(LegacyLoaderTest, MassPartOfAnotherClassGivesNoInverseInertia) {
  Write("airlark/aircraft/hull.dns", "// DNS FILE\nfuselage Hull;\nHull.Type = 6\nHull.M = 2\nHull.X = ( 0.1 0 0 )\n");
  Load("hull");
  EXPECT_EQ(model()->mass, 2.0f);
  EXPECT_FLOAT_EQ(model()->inertia[0], 0.1f);
  for (int i = 0; i < 15; ++i) EXPECT_EQ(model()->inverseInertia[i], 0.0f);
  EXPECT_NE(Log().find("dnsmodel:  mass part Hull is a fuselage, which holds no inverse inertia; the model does not turn\n"),
            std::string::npos);
}

// The small helicopter is told by its name without regard to case:
// "PICCOLO" reads its description and its binary mesh from its own folder.
TEST_F(LegacyLoaderTest, PiccoloIsToldWithoutCase) {
  std::filesystem::create_directories("aircraft/piccolo");
  for (const char* file : {"piccolo.dns", "piccolo.tgo"}) {
    std::filesystem::copy_file(kxltest::DataPath(std::string("aircraft/piccolo/") + file),
                               std::string("aircraft/piccolo/") + file);
  }
  std::filesystem::rename("aircraft/piccolo/piccolo.dns", "aircraft/piccolo/PICCOLO.dns");
  Load("PICCOLO");
  EXPECT_EQ(Runtime().piccoloModel, 1);
  EXPECT_EQ(state().hasType10, 1);
  ASSERT_NE(state().geometry, nullptr);
  EXPECT_NE(Part("Rotor")->mesh, nullptr);
}

}  // namespace
