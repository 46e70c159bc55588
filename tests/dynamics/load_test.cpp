// Loading aircraft files into instances, writing them back, placing and
// unloading them.
#include <GL/gl.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>

#include "core/interpreter.h"
#include "core/output.h"
#include "dynamics/aircraft.h"
#include "dynamics/driver.h"
#include "dynamics/flight_state.h"
#include "dynamics/fuselage.h"
#include "dynamics/header.h"
#include "dynamics/joint.h"
#include "dynamics/load.h"
#include "dynamics/registry.h"
#include "dynamics/tow.h"
#include "dynamics/writers.h"
#include "dynamics_support.h"
#include "platform/files.h"
#include "tools/meshgen/meshgen.h"

namespace {

using kxdtest::loading;

const char* const kSample =
    "// Skyvane aircraft\n// name: sample\n// written by hand\n//\n// version: 1.8.0\n//\n// type:    2\n"
    "Append kxdjoint00 Hinge\ncd Hinge/\nBody1 = ../Pod/\nAxis = kxvector4r( 0, 1, 0, 0 )\nAngle = 30\n"
    "R    = kxvector4r( 0.2, 0, -0.1, 1 )\ncd ../\n"
    "Append kxdfuselage00 Fuselage\ncd Fuselage/\nMass = 1\nCG = kxvector4r( 0.1, 0, 0, 1 )\nCdx = 0.25\n"
    "cd ../\n"
    "Append kxdbody Pod\ncd Pod/\nR    = kxvector4r( 0.4, 0, -0.2, 1 )\nMass = 0.5\n"
    "Append kxdhook00 Hook\ncd Hook/\nMass = 0\ncd ../\n"
    "cd ../\n";

TEST_F(loading, MissingAircraftNamesLeavingTheFolderAndBadPlayersAreRefused) {
  EXPECT_EQ(kxdaircraftinstance::AircraftLoad("nosuch", 0), 0);
  EXPECT_TRUE(log.Contains("kxdynamics:  loading aircraft nosuch=fail\n")) << kxtest::logcapture::Text();
  EXPECT_EQ(kxdynamics::LoadPlayback("nosuch", 1), nullptr);
  PutAircraft("sample", kSample);
  EXPECT_EQ(kxdaircraftinstance::AircraftLoad("../sample", 0), 0);
  EXPECT_EQ(kxdaircraftinstance::AircraftLoad(".hidden", 0), 0);
  EXPECT_EQ(kxdaircraftinstance::AircraftLoad("a\\b", 0), 0);
  EXPECT_EQ(kxdaircraftinstance::AircraftLoad("sample", 2), 0);
  EXPECT_EQ(kxdaircraftinstance::AircraftLoad("sample", -1), 0);
  EXPECT_EQ(kxdaircraftinstance::Loaded(0), nullptr);
}

TEST_F(loading, SampleLoadsWithMainBodyHeaderAndBalancedFuselage) {
  PutAircraft("sample", kSample);
  ASSERT_EQ(kxdaircraftinstance::AircraftLoad("sample", 1), 1);
  EXPECT_TRUE(log.Contains("kxdynamics:  loading aircraft sample=ok\n"));
  // Forward links resolve; the summary's trace prints nothing. The sample
  // has no mesh, which is said.
  EXPECT_TRUE(log.Contains("kxdynamics:  aircraft/sample/sample.tgo or .obj: not found; the aircraft has no mesh\n"));
  EXPECT_EQ(log.Lines(), 2) << kxtest::logcapture::Text();
  kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(1);
  ASSERT_NE(instance, nullptr);
  EXPECT_EQ(instance->TypeWord, 2);
  EXPECT_STREQ(instance->Directory.Text(), "aircraft/sample");
  ASSERT_NE(instance->MainBody, nullptr);
  EXPECT_STREQ(instance->MainBody->name.Text(), "Fuselage");
  EXPECT_EQ(instance->Template->Instance, instance);
  // Top level: fuselage 1 kg and pod 0.5 kg at x 0.4: centre 0.1333; the
  // fuselage moves by (0.1 - 0.1333) * 1.5 = -0.05.
  EXPECT_NEAR(instance->MainBody->B.R.x, -0.05f, 1e-5f);
  EXPECT_FLOAT_EQ(kxdaircraftinstance::TotalMass(instance), 1.5f);
  // The clones are in State and Change, and the flight state is published.
  EXPECT_EQ(instance->Clone->parent, kxdynamics::Tree(kxdynamics::kxdtree::kState));
  EXPECT_EQ(instance->Twin->parent, kxdynamics::Tree(kxdynamics::kxdtree::kChange));
  EXPECT_STREQ(instance->Clone->name.Text(), "Aircraft1");
  EXPECT_EQ(kxdaircraftinstance::FlightStateOf(1)->flags, 2);
  EXPECT_EQ(instance->SimMainBody->parent, instance->Clone);
  auto* pod = kxdbody::As(kxnode::Find("Pod", instance->Clone));
  auto* hinge = kxdjoint00::As(kxnode::Find("Hinge", instance->Clone));
  ASSERT_NE(pod, nullptr);
  ASSERT_NE(hinge, nullptr);
  EXPECT_EQ(hinge->Body1, pod);
  EXPECT_EQ(pod->ParentBody, instance->SimMainBody);
  EXPECT_EQ(pod->Joint, hinge);
}

// A component file that makes no component is no aircraft: the load fails
// with a line saying why, whatever the file holds.
TEST_F(loading, AComponentFileWithoutComponentsIsNoAircraft) {
  struct bad {
    const char* what;
    std::string bytes;
    const char* said;
  } files[] = {
      {"empty", "", "kxscript:  aircraft/sample/sample.kxd: empty file\n"},
      {"UTF-16", std::string("\xFF\xFE" "A\0p\0p\0", 8),
       "kxscript:  aircraft/sample/sample.kxd: UTF-16 text, not read\n"},
      {"binary", std::string("\x7F" "ELF\x02\x01\0\0\xFF\xFE", 10),
       "kxdynamics:  aircraft/sample/sample.kxd: no component in it\n"},
      {"a folder", "", "kxscript:  aircraft/sample/sample.kxd: a folder, not read\n"},
  };
  for (const bad& f : files) {
    SCOPED_TRACE(f.what);
    std::filesystem::remove_all("aircraft/sample");
    if (std::string(f.what) == "a folder") std::filesystem::create_directories("aircraft/sample/sample.kxd");
    else Put("aircraft/sample/sample.kxd", f.bytes);
    log.Clear();
    EXPECT_EQ(kxdaircraftinstance::AircraftLoad("sample", 0), 0);
    EXPECT_TRUE(log.Contains(f.said)) << log.Text();
    EXPECT_TRUE(log.Contains("kxdynamics:  loading aircraft sample=fail\n"));
    EXPECT_EQ(kxdaircraftinstance::Loaded(0), nullptr);
  }
}

// A component is found by its name: one named with nothing, with a path
// separator or as its sibling is renamed, so that what is saved reads back
// as it was written.
TEST_F(loading, ComponentsThatCannotBeFoundByTheirNameAreRenamed) {
  PutAircraft("sample",
              "Append kxdbody Pod\ncd Pod/\nMass = 1\ncd ../\n"
              "Append kxdbody Pod\ncd Pod/\nMass = 2\ncd ../\n"
              "Append kxdbody A/B\n"
              "Append kxdbody; Mass = 3\n"
              "Append kxdbody \"Fin 2\"\nAppend kxdbody ..\n");
  ASSERT_EQ(kxdaircraftinstance::AircraftLoad("sample", 0), 1);
  std::string names;
  for (kxnode* c = kxdaircraftinstance::Loaded(0)->Template->firstChild; c; c = c->nextSibling)
    names += c->name.Str() + " ";
  EXPECT_EQ(names, "Pod Pod_2 A_B Component Fin_2 _. ");
  EXPECT_TRUE(log.Contains("kxdynamics:  aircraft/sample/sample.kxd: component \"Pod\" under Aircraft0 cannot be found "
                           "by its name; named Pod_2\n"))
      << log.Text();
  ASSERT_EQ(kxdwriters::WriteAircraftFile(kxdaircraftinstance::Loaded(0)), 1);
  const std::string first = Get("aircraft/sample/sample.kxd");
  ASSERT_EQ(kxdaircraftinstance::AircraftLoad("sample", 0), 1);
  ASSERT_EQ(kxdwriters::WriteAircraftFile(kxdaircraftinstance::Loaded(0)), 1);
  EXPECT_EQ(Get("aircraft/sample/sample.kxd"), first);
}

// A joint's body beside it is written as its sibling, any other body of
// the aircraft by its path, so the file reads back to the same bodies.
TEST_F(loading, AJointLinksBackToTheSameBodiesAfterASave) {
  PutAircraft("sample",
              "Append kxdbody Pod\ncd Pod/\nMass = 1\nAppend kxdjoint00 Hinge\ncd Hinge/\nBody0 = ../\ncd ../\n"
              "cd ../\nAppend kxdbody Tail\nAppend kxdjoint00 Joint\ncd Joint/\nBody0 = ../Tail/\n"
              "Body1 = ../Pod/Hinge/\ncd ../\n");
  for (int pass = 0; pass < 2; ++pass) {
    ASSERT_EQ(kxdaircraftinstance::AircraftLoad("sample", 0), 1);
    kxdaircraft* root = kxdaircraftinstance::Loaded(0)->Template;
    kxnode* pod = root->FindChild("Pod");
    auto* hinge = static_cast<kxdjoint00*>(kxdbody::As(pod->FindChild("Hinge")));
    auto* joint = static_cast<kxdjoint00*>(kxdbody::As(root->FindChild("Joint")));
    EXPECT_EQ(hinge->Body0, pod) << pass;
    EXPECT_EQ(joint->Body0, root->FindChild("Tail")) << pass;
    EXPECT_EQ(joint->Body1, hinge) << pass;
    ASSERT_EQ(kxdwriters::WriteAircraftFile(kxdaircraftinstance::Loaded(0)), 1);
  }
  const std::string written = Get("aircraft/sample/sample.kxd");
  EXPECT_NE(written.find("Body0 = ~Aircraft/Pod/\n"), std::string::npos) << written;
  EXPECT_NE(written.find("Body0 = ../Tail/\n"), std::string::npos);
  EXPECT_NE(written.find("Body1 = ~Aircraft/Pod/Hinge/\n"), std::string::npos);
}

// An aircraft's files never place parts outside its own trees: a cd above
// the root stays there and nothing is appended elsewhere, so nothing is
// left behind when it is unloaded.
TEST_F(loading, ACdAboveTheAircraftsRootStaysAtTheRoot) {
  PutAircraft("sample",
              "Append kxdfuselage00 Fuselage\ncd ../\nAppend kxdbody Pod\ncd ../../\n/Append kxdbody Stray\n");
  Put("aircraft/sample/sample.kxg", "Append kxgeometricobject Body\ncd ../\nAppend kxgeometricobject Wing\n");
  ASSERT_EQ(kxdaircraftinstance::AircraftLoad("sample", 0), 1);
  kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(0);
  EXPECT_EQ(instance->Template->ChildCount(), 2);
  EXPECT_EQ(instance->GeometryTemplate->ChildCount(), 2);
  EXPECT_TRUE(log.Contains("sample.kxd:2: cd ../ would leave Aircraft0; stays there\n")) << log.Text();
  kxdaircraftinstance::Unload(instance);
  EXPECT_EQ(kxdynamics::Tree(kxdynamics::kxdtree::kInitial)->firstChild, nullptr);
  EXPECT_EQ(kxdynamics::Tree(kxdynamics::kxdtree::kTemplates)->firstChild, nullptr);
  EXPECT_EQ(kxscript::Root()->FindChild("Stray"), nullptr);
}

// An aircraft whose mesh is missing, empty or not a mesh flies unseen: it
// loads, with one line saying so and the reason kept for the notice.
TEST_F(loading, AnAircraftWithoutAUsableMeshLoadsAndSaysSo) {
  PutAircraft("sample", kSample);
  struct mesh {
    const char* file;  // null: none
    std::string bytes;
    const char* said;
  } meshes[] = {
      {nullptr, "", "kxdynamics:  aircraft/sample/sample.tgo or .obj: not found; the aircraft has no mesh\n"},
      {"sample.obj", "", "kxdynamics:  aircraft/sample/sample.tgo or .obj: empty file; the aircraft has no mesh\n"},
      {"sample.tgo", "KXTGO1\0\0garbage", "gl:  loading geometry aircraft/sample/sample.tgo=fail\n"},
  };
  for (const mesh& m : meshes) {
    SCOPED_TRACE(m.said);
    std::filesystem::remove("aircraft/sample/sample.obj");
    std::filesystem::remove("aircraft/sample/sample.tgo");
    if (m.file) Put(std::string("aircraft/sample/") + m.file, m.bytes);
    log.Clear();
    ASSERT_EQ(kxdaircraftinstance::AircraftLoad("sample", 0), 1);
    EXPECT_TRUE(log.Contains(m.said)) << log.Text();
    ASSERT_EQ(kxdload::LoadProblems().size(), 1u);
    EXPECT_NE(kxdload::LoadProblems()[0].find("mesh"), std::string::npos);
  }
}

// Values that are no numbers a real holds keep the components' defaults:
// each said with its line and the right reason, and kept for the notice.
TEST_F(loading, ValuesThatAreNoFiniteNumbersKeepTheDefaultsAndSaySo) {
  std::string text = kSample;
  for (const char* value : {"Mass = 1\n", "Cdx = 0.25\n", "R    = kxvector4r( 0.4, 0, -0.2, 1 )\n"}) {
    const size_t at = text.find(value);
    ASSERT_NE(at, std::string::npos) << value;
    const std::string key(value, std::strcspn(value, "="));
    text.replace(at, std::strlen(value), key + (key[0] == 'R' ? "= kxvector4r( nan, 0, 0, 1 )\n" : "= NaN\n"));
  }
  PutAircraft("sample", text.c_str());
  ASSERT_EQ(kxdaircraftinstance::AircraftLoad("sample", 0), 1);
  EXPECT_TRUE(log.Contains("kxscript:  aircraft/sample/sample.kxd(17): number not finite or out of range \"Mass = NaN\"\n"))
      << log.Text();
  EXPECT_TRUE(log.Contains("(19): number not finite or out of range \"Cdx = NaN\"\n"));
  EXPECT_TRUE(log.Contains("(23): number not finite or out of range \"R    = kxvector4r( nan, 0, 0, 1 )\"\n"));
  EXPECT_FALSE(log.Contains("name nothing known"));
  ASSERT_EQ(kxdload::LoadProblems().size(), 2u);  // the mesh, the values
  EXPECT_EQ(kxdload::LoadProblems()[1], "3 values in aircraft/sample/sample.kxd not finite or out of range, defaults kept");
}

// A damaged component file (a syntax error, a cd into nothing, a type not
// there) loads what it can, and the notice says that statements did not
// run: the log alone would leave the user with half an aircraft unexplained.
TEST_F(loading, StatementsOfADamagedComponentFileThatDoNotRunAreKeptForTheNotice) {
  std::string text = kSample;
  text += "Mass = = 2\ncd Nowhere/\nMass = 1\ncd ../\nAppend kxnosuchtype X\n";
  PutAircraft("sample", text.c_str());
  ASSERT_EQ(kxdaircraftinstance::AircraftLoad("sample", 0), 1);
  EXPECT_TRUE(log.Contains("syntax error \"Mass = = 2\"")) << log.Text();
  ASSERT_EQ(kxdload::LoadProblems().size(), 2u);  // the mesh, the statements
  EXPECT_EQ(kxdload::LoadProblems()[1], "4 statements in aircraft/sample/sample.kxd could not be run (a damaged file?)");
}

// A mesh named by the geometry script is read from inside the data folder
// only.
TEST_F(loading, AGeometryScriptMeshOutsideTheDataFolderIsRefused) {
  PutAircraft("sample", kSample);
  Put("outside.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
  Put("aircraft/sample/sample.kxg", "Append kxgeometricobject Body\ncd Body/\nMesh( \"../../outside.obj\" )\ncd ../\n");
  ASSERT_EQ(kxdaircraftinstance::AircraftLoad("sample", 0), 1);
  EXPECT_TRUE(log.Contains("gl:  mesh ../../outside.obj leaves the data folder; ignored\n")) << log.Text();
  EXPECT_FALSE(log.Contains("loading geometry"));
}

TEST_F(loading, WriteLoadWriteGivesTheSameFile) {
  PutAircraft("sample", kSample);
  ASSERT_EQ(kxdaircraftinstance::AircraftLoad("sample", 0), 1);
  kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(0);
  ASSERT_EQ(kxdwriters::WriteAircraftFile(instance), 1);
  std::string first = Get("aircraft/sample/sample.kxd");
  ASSERT_EQ(kxdaircraftinstance::AircraftLoad("sample", 0), 1);
  ASSERT_EQ(kxdwriters::WriteAircraftFile(kxdaircraftinstance::Loaded(0)), 1);
  std::string second = Get("aircraft/sample/sample.kxd");
  EXPECT_EQ(first, second);
  EXPECT_NE(first.find("// version: 1.8.0\n//\n// type:    2\nAppend kxdjoint00 Hinge\ncd Hinge/\nBody1 = ../Pod/\n"),
            std::string::npos) << first;
  EXPECT_NE(first.find("cd Pod/\nX    = "), std::string::npos);
  EXPECT_NE(first.find("Append kxdhook00 Hook\ncd Hook/\n"), std::string::npos);
  EXPECT_TRUE(log.Contains("kxdynamics:  writing aircraft/sample/sample.kxd=ok\n"));
  kxdheader header;
  header.Parse(first.data(), first.size());
  EXPECT_EQ(header.Version(), 108);
  EXPECT_EQ(header.type, 2);
}

TEST_F(loading, LockedAircraftWritesItsLockLine) {
  std::string text = kSample;
  text.insert(text.find("Append"), "Lock = 1\n");
  PutAircraft("locked", text.c_str());
  ASSERT_EQ(kxdaircraftinstance::AircraftLoad("locked", 0), 1);
  EXPECT_EQ(kxdaircraftinstance::Loaded(0)->Locked, 1);
  kxout out;
  kxdwriters::AircraftText(kxdaircraftinstance::Loaded(0), out);
  EXPECT_NE(out.Text().find("// type:    2\nLock = 1\nAppend"), std::string::npos);
}

TEST_F(loading, SetNameMovesTheWriteToTheNewFolderAndAFailedWriteKeepsTheOldFile) {
  PutAircraft("sample", kSample);
  ASSERT_EQ(kxdaircraftinstance::AircraftLoad("sample", 0), 1);
  kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(0);
  kxdaircraftinstance::SetName(instance, "myplane2");
  EXPECT_STREQ(instance->Directory.Text(), "aircraft/myplane2");
  ASSERT_EQ(kxdwriters::WriteAircraftFile(instance), 1);
  ASSERT_EQ(kxdwriters::WriteGeometryFile(instance), 1);
  EXPECT_GT(kxsystem::GetFileSize("aircraft/myplane2/myplane2.kxd"), 0);
  EXPECT_GE(kxsystem::GetFileSize("aircraft/myplane2/myplane2.kxg"), 0);
  // A plain file where the folder should be: the write fails, the file stays.
  Put("aircraft/blocked", "keep me");
  kxdaircraftinstance::SetName(instance, "blocked");
  EXPECT_EQ(kxdwriters::WriteAircraftFile(instance), 0);
  EXPECT_TRUE(log.Contains("kxdynamics:  writing aircraft/blocked/blocked.kxd=fail\n"));
  EXPECT_EQ(Get("aircraft/blocked"), "keep me");
}

TEST_F(loading, PlaceAtPublishesThePoseAtOnce) {
  PutAircraft("sample", kSample);
  ASSERT_EQ(kxdaircraftinstance::AircraftLoad("sample", 0), 1);
  kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(0);
  instance->Crash = 1;
  kxdtest::PlaceLevel(instance, {10.0f, 20.0f, 3.0f, 1.0f}, {1.0f, 2.0f, 0.5f, 0.0f});
  kxdflightstate* s = kxdaircraftinstance::FlightStateOf(0);
  EXPECT_FLOAT_EQ(s->position()[0], 10.0f);
  EXPECT_FLOAT_EQ(s->position()[1], 20.0f);
  EXPECT_FLOAT_EQ(s->position()[2], 3.0f);
  EXPECT_NEAR(s->velocity[0], 1.0f, 1e-5f);
  EXPECT_NEAR(s->velocity[1], 2.0f, 1e-5f);
  EXPECT_NEAR(s->velocity[2], 0.5f, 1e-5f);
  EXPECT_EQ(s->crash, 0);
  // The pod keeps its place relative to the fuselage.
  auto* pod = kxdbody::As(kxnode::Find("Pod", instance->Clone));
  EXPECT_NEAR(pod->B.R.x - instance->SimMainBody->B.R.x, 0.45f, 1e-5f);
  EXPECT_NEAR(pod->D.R.x, 1.0f, 1e-5f);
}

TEST_F(loading, AircraftDroppedOnGroundComesToRestKeepingItsShape) {
  // Without its link the hinge holds the pod still in its place.
  PutAircraft("sample", kSample);
  ASSERT_EQ(kxdaircraftinstance::AircraftLoad("sample", 0), 1);
  kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(0);
  kxdflatground ground(0.0f);
  kxdynamics::Start(&ground);
  kxdtest::PlaceLevel(instance, {0.0f, 0.0f, 2.0f, 1.0f});
  auto* pod = kxdbody::As(kxnode::Find("Pod", instance->Clone));
  kxmatrix relative = pod->Relative;
  for (int frame = 0; frame < 300; ++frame) kxdynamics::Step(1.0f / 60.0f, &ground);
  kxdbody* main = instance->SimMainBody;
  EXPECT_LT(kxvector4r::Length(main->D.R), 0.01f);
  EXPECT_LT(kxvector4r::Length(pod->D.R), 0.01f);
  float lowest = std::min(main->B.R.z, pod->B.R.z);
  EXPECT_NEAR(lowest, 0.0f, 0.01f);
  for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(pod->Relative[i], relative[i]);
  kxmatrix back;
  kxmatrix inverse;
  kxmatrix::Invert(main->B, inverse);
  kxmatrix::Multiply4x4(&back, &inverse, &pod->B);
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(back[i], relative[i], 1e-4f);
}

TEST_F(loading, UnloadTakesTheTowRopeOffFirst) {
  PutAircraft("sample", kSample);
  ASSERT_EQ(kxdaircraftinstance::AircraftLoad("sample", 0), 1);
  EXPECT_EQ(kxdynamics::FindHookPair(), 0);
  ASSERT_EQ(kxdaircraftinstance::AircraftLoad("sample", 1), 1);
  EXPECT_EQ(kxdynamics::FindHookPair(), 1);
  kxdaircraftinstance* a = kxdaircraftinstance::Loaded(0);
  kxdaircraftinstance* b = kxdaircraftinstance::Loaded(1);
  // The second aircraft's links are written below its own roots.
  kxout out;
  kxdwriters::AircraftText(b, out);
  EXPECT_NE(out.Text().find("Body1 = ../Pod/\n"), std::string::npos);
  EXPECT_FALSE(log.Contains("points outside"));
  kxdrope00* rope = kxdynamics::CreateTowRope(a->SimMainBody, b->SimMainBody, 20.0f, 0.5f);
  ASSERT_NE(rope, nullptr);
  EXPECT_EQ(kxnode::Find("/Simulation/Dynamics/State/Rope"), rope);
  EXPECT_NE(kxnode::Find("/Simulation/Dynamics/Change/Rope"), nullptr);
  kxdhook00* hook = kxdhook00::As(kxnode::Find("Pod/Hook", b->Clone));
  ASSERT_NE(hook, nullptr);
  EXPECT_EQ(hook->Rope, rope);
  kxdaircraftinstance::Unload(a);
  EXPECT_EQ(kxnode::Find("/Simulation/Dynamics/State/Rope"), nullptr);
  EXPECT_EQ(kxnode::Find("/Simulation/Dynamics/Change/Rope"), nullptr);
  EXPECT_EQ(hook->Rope, nullptr);
  EXPECT_EQ(kxdynamics::FindHookPair(), 0);
}

TEST_F(loading, ScriptCommandLoadsIntoThePlayersSlot) {
  PutAircraft("sample", kSample);
  kxscript::Execute("AircraftLoad( \"sample\", 1 )");
  ASSERT_NE(kxdaircraftinstance::Loaded(1), nullptr);
  EXPECT_STREQ(kxdaircraftinstance::Loaded(1)->Name.Text(), "sample");
  EXPECT_EQ(kxdaircraftinstance::Loaded(0), nullptr);
}

TEST_F(loading, StartRebuildsTheCloneFromTheTemplateAndClearsTheEngineRecords) {
  PutAircraft("sample", kSample);
  ASSERT_EQ(kxdaircraftinstance::AircraftLoad("sample", 0), 1);
  kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(0);
  instance->SimMainBody->B.R.z = 77.0f;
  instance->EngineCounter = 3;
  kxdynamics::Start(nullptr);
  EXPECT_EQ(instance->EngineCounter, 0);
  EXPECT_FLOAT_EQ(instance->SimMainBody->B.R.z, instance->MainBody->B.R.z);
  EXPECT_EQ(instance->SimMainBody->parent, instance->Clone);
  EXPECT_EQ(kxdynamics::Tree(kxdynamics::kxdtree::kState)->ChildCount(), 1);
  EXPECT_EQ(kxdynamics::Tree(kxdynamics::kxdtree::kChange)->ChildCount(), 1);
}

TEST_F(loading, HeaderOutOfShapeReadsAsVersionZeroTypeZero) {
  kxdheader h;
  const char shortLines[] = "//\n//\n//\n//\n// version: 1\n//\n// type:";
  h.Parse(shortLines, sizeof shortLines - 1);
  EXPECT_EQ(h.Version(), 0);
  EXPECT_EQ(h.type, 0);
  const char letters[] = "//\n//\n//\n//\n// version: x.8.0\n//\n// type:    two\n";
  h.Parse(letters, sizeof letters - 1);
  EXPECT_EQ(h.Version(), 0);
  EXPECT_EQ(h.type, 0);
  const char crlf[] = "//\r\n//\r\n//\r\n//\r\n// version: 1.0.0\r\n//\r\n// type:    34\r\n";
  h.Parse(crlf, sizeof crlf - 1);
  EXPECT_EQ(h.Version(), 100);
  EXPECT_EQ(h.type, 34);
  // Line ends of CR alone end lines as in every text the program reads.
  const char cr[] = "//\r//\r//\r//\r// version: 1.8.0\r//\r// type:    2\rAppend kxdbody Body\r";
  h.Parse(cr, sizeof cr - 1);
  EXPECT_EQ(h.Version(), 108);
  EXPECT_EQ(h.type, 2);
}

// The views and the menu draw through the flight state's roots: every
// rebuild of the drawn clone and every unload names the tree that exists,
// never one that was freed.
TEST_F(loading, TheFlightStateNamesTheDrawnTreeAfterEveryRebuildAndNoneAfterUnload) {
  PutAircraft("boxed",
              "//\n//\n//\n//\n// version: 1.8.0\n//\n// type:    0\n"
              "Append kxdfuselage00 Fuselage\ncd Fuselage/\nGeometry( \"~Geometry/Body/\" )\nMass = 1\ncd ../\n");
  Put("aircraft/boxed/boxed.kxg", "Append kxgeometricobject Body\n");
  kxgeometricobject root;
  kxgeometricobject* body = kxdtest::AddObject(&root, "Body");
  body->SetMesh(meshgen::ToElement(meshgen::Box(1, 0.2f, 0.2f), "paint", "Body", GL_N3F_V3F));
  ASSERT_EQ(kxgeometricobject::WriteMesh(&root, "aircraft/boxed/boxed.tgo", 1), 1);
  ASSERT_EQ(kxdaircraftinstance::AircraftLoad("boxed", 0), 1);
  kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(0);
  kxdflightstate* s = kxdaircraftinstance::FlightStateOf(0);
  ASSERT_NE(instance->Graphics, nullptr);
  EXPECT_EQ(s->graphics_root, instance->Graphics);
  kxdaircraftinstance::RebuildGraphics(instance);  // the designer's teardown
  EXPECT_EQ(s->graphics_root, instance->Graphics);
  kxdaircraftinstance::RebuildClones(instance);
  EXPECT_EQ(s->graphics_root, instance->Graphics);
  EXPECT_EQ(s->component_root, instance->Clone);
  kxdaircraftinstance::Unload(instance);
  EXPECT_EQ(s->graphics_root, nullptr);
  EXPECT_EQ(s->component_root, nullptr);
}

}  // namespace
