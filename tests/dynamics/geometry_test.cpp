// Aircraft with meshes: the analysis from the geometry, the geometry script,
// drawn clones, playback loads, mesh export and the extents.
#include <GL/gl.h>
#include <dlfcn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "dynamics/aircraft.h"
#include "dynamics/driver.h"
#include "dynamics/flight_state.h"
#include "core/output.h"
#include "dynamics/fuselage.h"
#include "dynamics/geometry_link.h"
#include "dynamics/interrupted_save.h"
#include "dynamics/load.h"
#include "dynamics/summary.h"
#include "dynamics/writers.h"
#include "dynamics_support.h"
#include "graphics/mesh.h"
#include "platform/files.h"
#include "platform/log.h"
#include "tools/meshgen/meshgen.h"
#include "tests/temp_dir.h"
#include "tests/write_faults.h"

// The steps of a write as they reach the system, each fsync and each
// rename: counted, and the process ends itself after the one a test names,
// as a kill or a power cut would end it there.
namespace filesteps {
int fsyncs = 0, steps = 0, killAfter = 0;
void Arm(int step) {
  fsyncs = steps = 0;
  killAfter = step;
}
void Step() {
  if (++steps == killAfter) ::_exit(1);
}
}  // namespace filesteps

extern "C" int fsync(int descriptor) {
  static const auto real = reinterpret_cast<int (*)(int)>(::dlsym(RTLD_NEXT, "fsync"));
  const int result = real(descriptor);
  ++filesteps::fsyncs;
  filesteps::Step();
  return result;
}

extern "C" int rename(const char* from, const char* to) noexcept {
  static const auto real = reinterpret_cast<int (*)(const char*, const char*)>(::dlsym(RTLD_NEXT, "rename"));
  const int result = real(from, to);
  filesteps::Step();
  return result;
}

namespace {

using kxdtest::loading;

const char* const kBoxPlane =
    "// Skyvane aircraft\n//\n//\n//\n// version: 1.8.0\n//\n// type:    4\n"
    "Append kxdfuselage00 Fuselage\ncd Fuselage/\nGeometry( \"~Geometry/Body/\" )\nMass = 2\n"
    "CG = kxvector4r( 0.3, 0, 0.1, 1 )\n"
    "cd ../\n";

const char* const kBoxScript =
    "Append kxgeometricobject Body\ncd Body/\nShiny = 0.5\n"
    "cd ../\n";

class geometry : public loading {
 protected:
  // Writes a 1 x 0.5 x 0.25 m box centred at (0.3, 0, 0.1) as the mesh of
  // group "Body" into aircraft/<name>/<name><extension>.
  void PutBoxMesh(const char* name, const char* extension, float length = 1.0f) {
    meshgen::mesh box = meshgen::Box(length, 0.5f, 0.25f);
    meshgen::Translate(box, 0.3f, 0.0f, 0.1f);
    kxgeometricobject root;
    kxgeometricobject* body = new kxgeometricobject;
    body->name = "Body";
    root.AppendChild(body);
    body->SetMesh(meshgen::ToElement(box, "paint", "Body", GL_N3F_V3F));
    std::string path = std::string("aircraft/") + name + "/" + name + extension;
    ASSERT_EQ(kxgeometricobject::WriteMesh(&root, path.c_str(), std::string(extension).starts_with(".tgo")), 1);
  }
  void PutBoxPlane(const char* name, const char* extension = ".tgo") {
    PutAircraft(name, kBoxPlane);
    Put(std::string("aircraft/") + name + "/" + name + ".kxg", kBoxScript);
    PutBoxMesh(name, extension);
  }
};

TEST_F(geometry, BodyTakesPlaceInertiaAndContactPointsFromItsMesh) {
  PutBoxPlane("box");
  ASSERT_EQ(kxdaircraftinstance::AircraftLoad("box", 0), 1) << kxtest::logcapture::Text();
  kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(0);
  kxdbody* main = instance->MainBody;
  ASSERT_NE(main->Geometry, nullptr);
  EXPECT_STREQ(kxdgeometry::AsNode(main->Geometry)->name.Text(), "Body");
  EXPECT_NEAR(main->B.R.x, 0.3f, 1e-5f);
  EXPECT_NEAR(main->B.R.z, 0.1f, 1e-5f);
  // Thin-shell box, 2 kg: Ixx = m (b^2 + c^2)... only the ordering is fixed
  // by the shape: the long x axis turns easiest.
  EXPECT_GT(main->Inertia[0], 0.0f);
  EXPECT_LT(main->Inertia[0], main->Inertia[5]);
  EXPECT_LT(main->Inertia[5], main->Inertia[10]);
  EXPECT_FLOAT_EQ(main->Inertia[15], 2.0f);
  EXPECT_EQ(main->ContactCount, kxdbody::kMaxContactPoints);
  EXPECT_NEAR(main->ContactPoints[0].z, -0.125f, 1e-5f);
  EXPECT_NEAR(instance->MainBodyLength, 1.0f, 1e-5f);
  EXPECT_NEAR(kxdaircraftinstance::ExtentB(instance), 1.0f, 1e-5f);
  EXPECT_NEAR(kxdaircraftinstance::ExtentA(instance), 0.5f, 1e-5f);
  auto* fuselage = kxdfuselage00::As(main);
  EXPECT_NEAR(fuselage->Ax, 0.5f * 0.25f, 1e-5f);
  EXPECT_NEAR(fuselage->Az, 1.0f * 0.5f, 1e-5f);
  // The simulated clone's geometry is the drawn clone's object.
  kxnode* drawn = kxdgeometry::AsNode(instance->SimMainBody->Geometry);
  ASSERT_NE(drawn, nullptr);
  EXPECT_TRUE(drawn->IsDescendantOf(instance->Graphics));
  EXPECT_EQ(instance->Graphics->parent, kxdynamics::Tree(kxdynamics::kxdtree::kInvisible));
  // Analysing again measures the same.
  kxmatrix before = main->B;
  float inertia = main->Inertia[5];
  main->Analyse();
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(main->B[i], before[i], 1e-6f);
  EXPECT_FLOAT_EQ(main->Inertia[5], inertia);
}

TEST_F(geometry, PlaybackLoadGivesTheDrawnRootOutsideTheStateTree) {
  PutBoxPlane("box");
  kxnode* root = kxdynamics::LoadPlayback("box", 1);
  ASSERT_NE(root, nullptr);
  EXPECT_TRUE(kxtype::IsDerivedFrom(root->type, &kxgeometricobject::Type));
  kxdaircraftinstance* playback = kxdaircraftinstance::Slot(3);
  EXPECT_EQ(playback->Graphics, root);
  EXPECT_EQ(playback->Clone->parent, nullptr);
  EXPECT_EQ(kxdynamics::Tree(kxdynamics::kxdtree::kState)->firstChild, nullptr);
  EXPECT_EQ(kxdaircraftinstance::Loaded(1), nullptr);
}

TEST_F(geometry, RebuiltGraphicsLeaveTheSimulatedCloneOutUntilStart) {
  PutBoxPlane("box");
  ASSERT_EQ(kxdaircraftinstance::AircraftLoad("box", 0), 1);
  kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(0);
  kxdtest::PlaceLevel(instance, {0.0f, 0.0f, 50.0f, 1.0f});
  kxdaircraftinstance::RebuildGraphics(instance);
  float z = instance->SimMainBody->B.R.z;
  kxdynamics::Step(0.1f, nullptr);
  EXPECT_EQ(instance->SimMainBody->B.R.z, z);
  kxdynamics::Start(nullptr);
  kxdtest::PlaceLevel(instance, {0.0f, 0.0f, 50.0f, 1.0f});
  kxdynamics::Step(0.1f, nullptr);
  EXPECT_LT(instance->SimMainBody->B.R.z, 50.0f);
}

TEST_F(geometry, StopRestoresTheTemplateMeshInItsBodyFrame) {
  PutBoxPlane("box");
  ASSERT_EQ(kxdaircraftinstance::AircraftLoad("box", 0), 1);
  kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(0);
  auto* body = static_cast<kxgeometricobject*>(kxdgeometry::AsNode(instance->MainBody->Geometry));
  kxmatrix scramble;
  kxmatrix::SetScalar(&scramble, 2.0f);
  body->Transform(scramble);
  kxdynamics::Stop();
  // Box centred on the body's R: the mesh runs from -0.5 to 0.5 along x.
  body->UpdateBounds();
  EXPECT_NEAR(body->boundsMin[0], -0.5f, 1e-5f);
  EXPECT_NEAR(body->boundsMax[0], 0.5f, 1e-5f);
}

TEST_F(geometry, ExportWritesBinaryUnlessThePreviousAircraftHadATextMesh) {
  PutBoxPlane("box");
  ASSERT_EQ(kxdaircraftinstance::AircraftLoad("box", 0), 1);
  kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(0);
  kxdaircraftinstance::SetName(instance, "myplane2");
  ASSERT_EQ(kxdwriters::ExportMeshes(instance, "box", "aircraft/box"), 1);
  EXPECT_GT(kxsystem::GetFileSize("aircraft/myplane2/myplane2.tgo"), 0);
  EXPECT_LT(kxsystem::GetFileSize("aircraft/myplane2/myplane2.obj"), 0);

  PutBoxPlane("textplane", ".obj");
  ASSERT_EQ(kxdaircraftinstance::AircraftLoad("textplane", 0), 1);
  instance = kxdaircraftinstance::Loaded(0);
  kxdaircraftinstance::SetName(instance, "myplane2");
  ASSERT_EQ(kxdwriters::ExportMeshes(instance, "textplane", "aircraft/textplane"), 1);
  EXPECT_GT(kxsystem::GetFileSize("aircraft/myplane2/myplane2.obj"), 0);
  // The binary twin of the old export would shadow the text edit.
  EXPECT_LT(kxsystem::GetFileSize("aircraft/myplane2/myplane2.tgo"), 0);
  // Before the first "save as" the text format stays too.
  ASSERT_EQ(kxdaircraftinstance::AircraftLoad("textplane", 0), 1);
  ASSERT_EQ(kxdwriters::ExportMeshes(kxdaircraftinstance::Loaded(0), "", ""), 1);
  EXPECT_GT(kxsystem::GetFileSize("aircraft/textplane/textplane.obj"), 0);
  EXPECT_LT(kxsystem::GetFileSize("aircraft/textplane/textplane.tgo"), 0);
}

// The geometry script, the mesh and the component file are replaced
// together or not at all: whichever of them cannot be written, the old
// three stay and no new file is left.
TEST_F(geometry, TheThreeFilesOfASaveAreReplacedTogetherOrNotAtAll) {
  PutBoxPlane("box");
  ASSERT_EQ(kxdaircraftinstance::AircraftLoad("box", 0), 1);
  kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(0);
  const char* files[] = {"aircraft/box/box.kxg", "aircraft/box/box.tgo", "aircraft/box/box.kxd"};
  std::string before[3];
  for (int i = 0; i < 3; ++i) before[i] = Get(files[i]);
  instance->MainBody->Mass = 3.0f;
  for (const char* blocked : files) {
    SCOPED_TRACE(blocked);
    // Each file is first written whole as "<file>.new".
    const std::string blocker = std::string(blocked) + ".new";
    kxtest::BlockReplacing(blocker);
    log.Text().clear();
    std::string problem;
    EXPECT_EQ(kxdwriters::WriteAircraftSet(instance, "", "", &problem), 0);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(Get(files[i]), before[i]) << files[i];
    for (const auto& entry : std::filesystem::directory_iterator("aircraft/box"))
      EXPECT_NE(entry.path().extension(), ".new") << entry.path();
    // The folder in the way is named, in the log and to the caller.
    const std::string why = blocker + ".tmp: " + kxsystem::kFolderInTheWay;
    EXPECT_EQ(problem, why);
    EXPECT_EQ(log.Text(), "kxdynamics:  saving aircraft aircraft/box/box=fail (" + why + ")\n");
    std::filesystem::remove_all(blocker + ".tmp");
  }
  EXPECT_EQ(kxdwriters::WriteAircraftSet(instance, "", ""), 1);
  EXPECT_NE(Get("aircraft/box/box.kxd").find("Mass = 3\n"), std::string::npos);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator("aircraft/box"), {}), 3);
}

// A save stopped by a kill after each of its steps on disk (each new file
// made whole, each rename), then a start: the set is the old one or the
// new one whole, and nothing of the save is left. The real writer runs in
// a child process that ends itself at the step, as a power cut would end
// it; every file of the old set differs from the one the save writes, so a
// writer that changed its order would leave a mixed set here. The aircraft
// may be named in other capitals than its folder (the settings may name it
// so). The save makes each new file and each folder lasting once.
TEST_F(geometry, ASaveKilledAtAnyStepLeavesTheOldSetOrTheNewOneWhole) {
  // The scripts find their files in any capitals, as in the program.
  struct anycapitals {
    kxcore::PathResolver kept = kxcore::SetPathResolver([](const char* p) { return kxsystem::ResolveReadPath(p); });
    ~anycapitals() { kxcore::SetPathResolver(kept); }
  } resolver;
  const std::vector<std::string> set = {"box.kxg", "box.tgo", "box.kxd"};
  auto putOld = [this] {
    PutAircraft("box", kBoxPlane);  // the save writes Mass = 3
    Put("aircraft/box/box.kxg", std::string(kBoxScript).replace(std::string(kBoxScript).find("0.5"), 3, "0.25"));
    PutBoxMesh("box", ".tgo", 2.0f);
  };
  std::map<std::string, std::string> before, after;
  for (const char* named : {"BOX", "box"}) {  // "box" last: the strays below are spoiled from its set
    SCOPED_TRACE(named);
    PutBoxPlane("box");
    ASSERT_EQ(kxdaircraftinstance::AircraftLoad(named, 0), 1);
    kxdaircraftinstance::Loaded(0)->MainBody->Mass = 3.0f;
    putOld();
    for (const std::string& file : set) before[file] = Get("aircraft/box/" + file);
    filesteps::Arm(0);
    ASSERT_EQ(kxdwriters::WriteAircraftSet(kxdaircraftinstance::Loaded(0), "", ""), 1);
    EXPECT_EQ(filesteps::fsyncs, 5);  // three files, the folder after their names and after the renames
    for (const std::string& file : set) {
      after[file] = Get("aircraft/box/" + file);
      ASSERT_NE(after[file], before[file]) << file;
    }

    int kept = 0, finished = 0;
    bool ranToItsEnd = false;
    for (int step = 1; !ranToItsEnd && step < 40; ++step) {
      SCOPED_TRACE("killed after step " + std::to_string(step));
      putOld();
      const pid_t child = ::fork();
      if (child == 0) {
        filesteps::Arm(step);
        kxdwriters::WriteAircraftSet(kxdaircraftinstance::Loaded(0), "", "");
        ::_exit(0);
      }
      int status = 0;
      ASSERT_EQ(::waitpid(child, &status, 0), child);
      ASSERT_TRUE(WIFEXITED(status));
      ranToItsEnd = WEXITSTATUS(status) == 0;
      EXPECT_TRUE(kxdwriters::FinishInterruptedSaves().empty());
      const bool old = Get("aircraft/box/box.kxd") == before["box.kxd"];
      ++(old ? kept : finished);
      for (const std::string& file : set)
        EXPECT_EQ(Get("aircraft/box/" + file), old ? before[file] : after[file]) << file;
      for (const auto& entry : std::filesystem::directory_iterator("aircraft/box"))
        EXPECT_NE(std::find(set.begin(), set.end(), entry.path().filename().string()), set.end()) << entry.path();
    }
    EXPECT_TRUE(ranToItsEnd);
    EXPECT_GT(kept, 0);
    EXPECT_GT(finished, 1);
  }

  // New files that are not the whole set their component file records (an
  // empty or cut file a power cut left, another aircraft's, a link or a
  // folder at a new file's name, a component file alone beside older
  // files) are no save: the old set stays byte for byte and they are set
  // aside under free ".bad" names, a name taken in any capitals passed by.
  const std::string whole = after["box.kxd"];
  const struct {
    const char* what;
    std::function<void()> spoil;  // done to the complete new set
    const char* reason = "";      // in the log line, when given
  } strays[] = {
      {"an empty component file", [] { Put("aircraft/box/box.kxd.new", ""); }},
      {"a cut component file", [&] { Put("aircraft/box/box.kxd.new", whole.substr(0, whole.size() - 25)); }},
      {"another aircraft's file",
       [&] { Put("aircraft/box/box.kxd.new", std::string(whole).replace(whole.find("box"), 3, "kite")); }},
      {"a component file naming no aircraft",
       [&] { Put("aircraft/box/box.kxd.new", std::string(whole).replace(whole.find("box"), 3, "")); },
       "names no aircraft"},
      {"random bytes", [] { Put("aircraft/box/box.kxd.new", std::string("\x01\xff\x7fjunk", 7)); }},
      {"a link at the component file's name",
       [&] {
         Put("aircraft/box/other.kxd", whole);
         std::filesystem::remove("aircraft/box/box.kxd.new");
         std::filesystem::create_symlink("other.kxd", "aircraft/box/box.kxd.new");
       }},
      {"a mesh that does not read", [] { Put("aircraft/box/box.tgo.new", "not a mesh"); }},
      {"an empty geometry script", [] { Put("aircraft/box/box.kxg.new", ""); }},
      {"a mesh cut short", [&] { Put("aircraft/box/box.tgo.new", after["box.tgo"].substr(0, 200)); }},
      {"another aircraft's mesh", [this] { PutBoxMesh("box", ".tgo.new", 3.0f); }},
      {"a mesh the save did not write", [this] { PutBoxMesh("box", ".obj.new"); }},
      {"a folder at the geometry script's name",
       [] {
         std::filesystem::remove("aircraft/box/box.kxg.new");
         std::filesystem::create_directory("aircraft/box/box.kxg.new");
       }},
      {"a component file alone beside the older files",
       [] {
         std::filesystem::remove("aircraft/box/box.kxg.new");
         std::filesystem::remove("aircraft/box/box.tgo.new");
       }},
      // Its size rules it out before a byte is read.
      {"a huge mesh", [] { std::filesystem::resize_file("aircraft/box/box.tgo.new", 1ull << 36); },
       "(68719476736 bytes, not "},
      {"the folder of an older format's model", [] { Put("aircraft/box/box.dns", "older"); }, "older format"},
  };
  for (const auto& stray : strays) {
    SCOPED_TRACE(stray.what);
    putOld();
    std::filesystem::remove("aircraft/box/other.kxd");
    std::filesystem::remove("aircraft/box/box.dns");
    for (const std::string& file : set) Put("aircraft/box/" + file + ".new", after[file]);
    Put("aircraft/box/box.kxd.new.bad", "an earlier stray");
    Put("aircraft/box/box.KXD.NEW.BAD1", "another");
    stray.spoil();
    log.Text().clear();
    const std::vector<kxdwriters::setaside> aside = kxdwriters::FinishInterruptedSaves();
    EXPECT_EQ(aside.size(), 1u);
    if (aside.size() != 1u) continue;
    EXPECT_EQ(aside[0].aircraft, "box");
    EXPECT_TRUE(aside[0].moved);
    EXPECT_NE(std::find(aside[0].files.begin(), aside[0].files.end(), "box.kxd.new.bad2"), aside[0].files.end());
    for (const std::string& file : set) EXPECT_EQ(Get("aircraft/box/" + file), before[file]) << file;
    EXPECT_EQ(Get("aircraft/box/box.kxd.new.bad"), "an earlier stray");
    EXPECT_EQ(Get("aircraft/box/box.KXD.NEW.BAD1"), "another");
    std::filesystem::remove("aircraft/box/box.kxd.new.bad");
    std::filesystem::remove("aircraft/box/box.KXD.NEW.BAD1");
    for (const std::string& file : aside[0].files) {
      EXPECT_TRUE(std::filesystem::exists(std::filesystem::symlink_status("aircraft/box/" + file))) << file;
      std::filesystem::remove_all("aircraft/box/" + file);
    }
    EXPECT_NE(log.Text().find("kxdynamics:  aircraft/box/box: the files of a save cut short are not whole ("),
              std::string::npos)
        << log.Text();
    EXPECT_NE(log.Text().find(stray.reason), std::string::npos) << log.Text();
    EXPECT_EQ(kxdaircraftinstance::AircraftLoad("box", 0), 1);
  }
  std::filesystem::remove("aircraft/box/box.dns");

  // A stray with every free name taken stays, and a save refuses to write
  // over it, naming it.
  for (int n = 0; n < 1000; ++n) Put("aircraft/box/box.kxd.new.bad" + (n ? std::to_string(n) : ""), "");
  Put("aircraft/box/box.kxd.new", "my notes");
  std::string problem;
  EXPECT_EQ(kxdwriters::WriteAircraftSet(kxdaircraftinstance::Loaded(0), "", "", &problem), 0);
  EXPECT_EQ(problem, std::string("aircraft/box/box.kxd.new: ") + kxdwriters::kStrayInTheWay);
  EXPECT_EQ(Get("aircraft/box/box.kxd.new"), "my notes");
  for (const std::string& file : set) EXPECT_EQ(Get("aircraft/box/" + file), before[file]) << file;
  std::filesystem::remove_all("aircraft/box");

  // A lone file's temporary goes too, and a save starts with it.
  PutBoxPlane("box");
  Put("aircraft/box/box.kxd.tmp", "half");
  kxsystem::ClearLogHistory();
  kxdwriters::FinishInterruptedSaves();
  EXPECT_NE(std::string(kxsystem::GetLogLine(1)).find("box.kxd.tmp: left by a write that never finished; removed"),
            std::string::npos);
  Put("aircraft/box/box.kxg.new", "stale");
  ASSERT_EQ(kxdaircraftinstance::AircraftLoad("box", 0), 1);
  EXPECT_EQ(kxdwriters::WriteAircraftSet(kxdaircraftinstance::Loaded(0), "", ""), 1);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator("aircraft/box"), {}), 3);
  // A folder at a new file's name is none of the save's to remove: it is
  // moved out of the save's way, whole.
  Put("aircraft/box/box.tgo.new/kept", "the user's");
  EXPECT_EQ(kxdwriters::WriteAircraftSet(kxdaircraftinstance::Loaded(0), "", ""), 1);
  EXPECT_EQ(Get("aircraft/box/box.tgo.new.bad/kept"), "the user's");
}

// A folder linked into "aircraft/" from elsewhere is not the program's:
// a start passes it over with one log line and leaves every file there.
TEST_F(geometry, AStartPassesOverAFolderLinkedFromOutsideTheDataFolder) {
  kxtest::tempdir outside;
  for (const char* file : {"thumb.bmp.tmp", "ext.kxg.tmp", "ext.kxd.new", "ext.kxg.new"}) outside.Write(file, file);
  std::filesystem::create_symlink(outside.path(), "aircraft/ext");
  kxsystem::SetDataFolder(".");
  kxsystem::ClearLogHistory();
  EXPECT_TRUE(kxdwriters::FinishInterruptedSaves().empty());
  kxsystem::SetDataFolder(nullptr);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(outside.path()), {}), 4);
  EXPECT_EQ(std::string(kxsystem::GetLogLine(1)).find("kxsystem:  aircraft/ext: leads outside the data folder (to "),
            0u);
  EXPECT_EQ(kxsystem::GetLogLine(2), kxsystem::GetLogLine(1)) << "one line only";
}

TEST_F(geometry, SavedAircraftReloadsToTheSameState) {
  PutBoxPlane("box");
  ASSERT_EQ(kxdaircraftinstance::AircraftLoad("box", 0), 1);
  kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(0);
  kxmatrix placed = instance->MainBody->B;
  kxdaircraftinstance::SetName(instance, "copy");
  ASSERT_EQ(kxdwriters::WriteGeometryFile(instance), 1);
  ASSERT_EQ(kxdwriters::ExportMeshes(instance, "", ""), 1);
  ASSERT_EQ(kxdwriters::WriteAircraftFile(instance), 1);
  std::string first = Get("aircraft/copy/copy.kxd");
  ASSERT_EQ(kxdaircraftinstance::AircraftLoad("copy", 0), 1);
  instance = kxdaircraftinstance::Loaded(0);
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(instance->MainBody->B[i], placed[i], 1e-4f);
  ASSERT_EQ(kxdwriters::WriteAircraftFile(instance), 1);
  EXPECT_EQ(Get("aircraft/copy/copy.kxd"), first);
  EXPECT_NE(first.find("Geometry( \"~Geometry/Body/\" )\nMass = 2\n"), std::string::npos);
  EXPECT_EQ(Get("aircraft/copy/copy.kxg"), kBoxScript);  // in child order
}

TEST_F(geometry, FuselageBodyDropsOntoTheGroundAndSettles) {
  PutBoxPlane("box");
  ASSERT_EQ(kxdaircraftinstance::AircraftLoad("box", 0), 1);
  kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(0);
  kxdflatground ground;
  kxdynamics::Start(&ground);
  kxdtest::PlaceLevel(instance, {0.0f, 0.0f, 2.0f, 1.0f});
  float lowestSeen = 10.0f;
  for (int frame = 0; frame < 300; ++frame) {
    kxdynamics::Step(1.0f / 60.0f, &ground);
    lowestSeen = std::min(lowestSeen, instance->SimMainBody->B.R.z - 0.125f);
  }
  kxdbody* main = instance->SimMainBody;
  EXPECT_LT(kxvector4r::Length(main->D.R), 0.01f);
  EXPECT_LT(kxvector4r::Length(main->Omega), 0.01f);
  EXPECT_NEAR(main->B.R.z - 0.125f, 0.0f, 0.01f);
  EXPECT_LT(lowestSeen, 0.0f);  // it did touch and compress
  EXPECT_NEAR(main->B.Z.z, 1.0f, 1e-3f);
}

class airborne : public geometry {
 protected:
  // Loads the box plane, places it at 100 m and flies n frames of 1/60 s.
  kxdaircraftinstance* Fly(const kxdenvironment& environment, int frames) {
    kxdynamics::Environment() = environment;
    kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(0);
    kxdynamics::Start(&ground);
    kxdtest::PlaceLevel(instance, {100.0f, 100.0f, 100.0f, 1.0f});
    for (int i = 0; i < frames; ++i) kxdynamics::Step(1.0f / 60.0f, &ground);
    return instance;
  }
  void SetUp() override {
    geometry::SetUp();
    PutBoxPlane("box");
    ASSERT_EQ(kxdaircraftinstance::AircraftLoad("box", 0), 1);
  }
  kxdflatground ground;
};

TEST_F(airborne, FuselageDriftsWithTheWind) {
  const kxdenvironment e{.wind_speed = 5.0f, .wind_thermic = 0.0f, .wind_direction = 0.0f};
  kxdaircraftinstance* instance = Fly(e, 120);
  kxdflightstate* s = kxdaircraftinstance::FlightStateOf(0);
  EXPECT_GT(instance->SimMainBody->D.R.x, 0.5f);
  EXPECT_GT(s->velocity[0], 0.5f);
  EXPECT_NEAR(s->air_velocity[0], 5.0f * 1.3f, 0.2f);
}

TEST_F(airborne, ThermalLiftsTheAirAndSlowsTheSink) {
  const kxdenvironment still{.wind_thermic = 0.0f};
  Fly(still, 60);
  float stillDrop = 100.0f - kxdaircraftinstance::FlightStateOf(0)->position()[2];

  const kxdenvironment thermic{.wind_thermic = 5.0f};
  kxdynamics::Environment() = thermic;
  kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(0);
  kxdynamics::Start(&ground);
  kxdthermal* t = kxdynamics::Thermals();
  for (int i = 0; i < kxdynamics::kThermals; ++i) t[i] = {5000.0f, 5000.0f, 30.0f, 0.0f, 1000.0f, 0.0f};
  t[0] = {100.0f, 100.0f, 60.0f, 5.0f, 1000.0f, 0.0f};
  kxdtest::PlaceLevel(instance, {100.0f, 100.0f, 100.0f, 1.0f});
  for (int i = 0; i < 60; ++i) kxdynamics::Step(1.0f / 60.0f, &ground);
  kxdflightstate* s = kxdaircraftinstance::FlightStateOf(0);
  EXPECT_GT(s->air_velocity[2], 4.0f);
  float thermalDrop = 100.0f - s->position()[2];
  EXPECT_LT(thermalDrop, stillDrop - 0.1f);
}

class propeller : public kxdbody {
 public:
  static inline kxtype Type{"kxdpropeller00", 0, kxcreate<propeller>};
  propeller() { type = &Type; }
};

TEST_F(loading, DrawnCloneOfAPropellerKeepsItsBladeMeshes) {
  kxdynamics::RegisterComponentType(&propeller::Type);
  PutAircraft("prop",
              "//\n//\n//\n//\n// version: 1.8.0\n//\n// type:    0\n"
              "Append kxdfuselage00 Fuselage\ncd Fuselage/\ncd ../\n"
              "Append kxdpropeller00 Prop\ncd Prop/\nGeometry( \"~Geometry/Hub/\" )\nMass = 0.1\ncd ../\n");
  Put("aircraft/prop/prop.kxg",
      "Append kxgeometricobject Hub\ncd Hub/\nAppend kxgeometricobject Blade\ncd ../\n");
  kxgeometricobject root;
  kxgeometricobject* hub = kxdtest::AddObject(&root, "Hub");
  kxgeometricobject* blade = kxdtest::AddObject(hub, "Blade");
  hub->SetMesh(meshgen::ToElement(meshgen::Box(0.05f, 0.05f, 0.05f), "hub", "Hub", GL_N3F_V3F));
  blade->SetMesh(meshgen::ToElement(meshgen::Box(0.02f, 0.3f, 0.01f), "blade", "Hub/Blade", GL_N3F_V3F));
  ASSERT_EQ(kxgeometricobject::WriteMesh(&root, "aircraft/prop/prop.tgo", 1), 1);
  ASSERT_EQ(kxdaircraftinstance::AircraftLoad("prop", 0), 1);
  kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(0);
  auto* drawnHub = kxdgeometry::From(kxnode::Find("Hub", instance->Graphics));
  auto* drawnBlade = kxdgeometry::From(kxnode::Find("Hub/Blade", instance->Graphics));
  auto* templateBlade = kxdgeometry::From(kxnode::Find("Hub/Blade", instance->GeometryTemplate));
  ASSERT_NE(drawnBlade, nullptr);
  EXPECT_NE(drawnHub->mesh, nullptr);
  ASSERT_NE(templateBlade->mesh, nullptr);
  EXPECT_EQ(drawnBlade->mesh, templateBlade->mesh);  // shared, drawn as the turntable draws it
  kxdaircraftinstance::RebuildGraphics(instance);
  drawnBlade = kxdgeometry::From(kxnode::Find("Hub/Blade", instance->Graphics));
  EXPECT_EQ(drawnBlade->mesh, templateBlade->mesh);
}

}  // namespace
