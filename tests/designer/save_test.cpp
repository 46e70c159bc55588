// New components and saving: free names in the template, Save As into a new
// folder with the textures and previews, the refusals, and the aircraft
// reloaded from what was written. Runs on copies of the samples in a
// temporary folder.
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "core/interpreter.h"
#include "core/value.h"
#include "designer/new_components.h"
#include "designer/save_dialog.h"
#include "copied_data.h"
#include "dynamics/components/main_rotor.h"
#include "dynamics/wings/wing.h"
#include "gui/list_item.h"
#include "gui/window.h"
#include "sim/session.h"
#include "sim/units.h"
#include "tests/dynamics/all/samples_support.h"
#include "tests/temp_dir.h"
#include "tests/write_faults.h"

namespace {

namespace fs = std::filesystem;

class SaveTest : public designertest::copieddatafixture {
 protected:
  static std::string Children() {
    std::string names;
    for (kxnode* c = State().aircraft->Template->firstChild; c; c = c->nextSibling) names += c->name.Str() + " ";
    return names;
  }
  // Types a name into the Save As dialog and confirms it.
  static void SaveAs(const char* typed) {
    Run("copysystemdialog");
    std::snprintf(State().saveAsName->text, sizeof State().saveAsName->text, "%s", typed);
    Run("copysystemcheck");
  }
};

TEST_F(SaveTest, NewComponentsTakeTheFirstFreeNameOfTheirStem) {
  EXPECT_EQ(svdesign::NewComponent("kxdwing00", "Wing", 0), nullptr);  // nothing edited
  Enter();
  kxdaircraft* components = State().aircraft->Template;
  for (const char* name : {"Wing00", "Wing02", "wing01", "Skid00"}) {
    kxdbody* body = static_cast<kxdbody*>(kxtype::Find("kxdbody")->Create());
    body->name = name;
    components->AppendChild(body);
  }
  for (const char* command : {"DesignNewWing00", "DesignNewWing00", "DesignNewSkid00", "DesignNewJoint00",
                              "DesignNewJoint00", "DesignNewBody", "DesignNewGyro00", "DesignNewRotor00",
                              "DesignNewTailrotor00"}) {
    Run(command);
  }
  std::string names = Children();
  EXPECT_EQ(names.substr(0, 16), "Joint01 Joint00 ");
  EXPECT_NE(names.find("Wing00 Wing02 wing01 Skid00 Wing01 Wing03 Skid01 Body00 Gyro00 Rotor00 TailRotor00 "),
            std::string::npos)
      << names;
  EXPECT_EQ(components->lastChild->type, kxtype::Find("kxdtailrotor00"));
  EXPECT_EQ(static_cast<kxdbody*>(components->lastChild)->Instance, State().aircraft);
  char free[16];
  svdesign::FreeName(components, "Wing", free, sizeof free);
  EXPECT_STREQ(free, "Wing04");
}

// Each component the Edit menu makes is listed in the Objects menu at the
// next entry, takes a value within the ranges it was given, and is saved
// and loaded with it (and listed again).
TEST_F(SaveTest, NewComponentsAreListedSetWithinTheirRangesSavedAndLoaded) {
  const struct {
    const char* command;
    const char* name;
    int page;
    const char* typed;
    const char* key;
    float value;  // SI
  } made[] = {
      {"DesignNewBody", "Body00", 0, "250", "Mass", 0.25f},
      {"DesignNewGyro00", "Gyro00", 0, "40", "Mass", 0.04f},
      {"DesignNewJoint00", "Joint00", 0, "20", "Mass", 0.02f},
      {"DesignNewRotor00", "Rotor00", 0, "120", "Radius", 0.6f},  // cm across
      {"DesignNewSkid00", "Skid00", 0, "300", "Mass", 0.3f},
      {"DesignNewTailrotor00", "TailRotor00", 0, "30", "Radius", 0.15f},
      {"DesignNewWing00", "Wing00", 4, "300", "Mass", 0.3f},  // below the old floor of half the default
  };
  auto listed = [](const char* name) {
    const std::string command = std::string("\"") + name + "\"";
    for (kxnode* c = State().menuObjects->firstChild; c; c = c->nextSibling) {
      if (static_cast<kxpopupitem*>(c)->OnPress.Str().find(command) != std::string::npos) return true;
    }
    return false;
  };
  auto value = [](const char* name, const char* key) {
    kxnode* n = kxdaircraftinstance::Slot(0)->Template->FindChild(name);
    kxvalueptr v = n ? kxscript::Evaluate(key, n) : nullptr;
    double number = NAN;
    if (!v || !v->GetNumber(number)) return NAN;
    return static_cast<float>(number);
  };
  Enter();
  for (const auto& m : made) Run(m.command);
  svdesign::GoBack();
  Enter(nullptr);
  for (const auto& m : made) {
    SCOPED_TRACE(m.name);
    EXPECT_TRUE(listed(m.name));
    ASSERT_NE(Object(m.name), nullptr);
    ASSERT_GT(Object(m.name)->pageCount, m.page);
    Commit(m.name, m.page, {m.typed});
    EXPECT_NEAR(value(m.name, m.key), m.value, 1e-6f);
  }
  // A new wing has a shape of its own, a flat panel of 50 cm semi-span, for
  // its semi-span, dihedral and incidence to reshape within their ranges;
  // Save keeps them in its mesh.
  auto* wing = static_cast<kxdwing*>(Object("Wing00")->component);
  std::vector<svdesignfield*> span = Open("Wing00", 0);
  ASSERT_EQ(span.size(), 1u);
  EXPECT_STREQ(span[0]->text, "50.0 cm");
  EXPECT_STREQ(Open("Wing00", 1)[0]->text, "0.0 deg");
  EXPECT_STREQ(Open("Wing00", 3)[0]->text, "0.0 deg");
  // The incidence tilts the normal across which the semi-span is measured:
  // the semi-span is typed last.
  Commit("Wing00", 1, {"10"});
  Commit("Wing00", 3, {"3"});
  constexpr float kDeg = units::kDegToRad;
  EXPECT_NEAR(wing->Dihedral, 10.0f * kDeg, 0.01f * kDeg);
  EXPECT_NEAR(wing->Incidence, 3.0f * kDeg, 0.01f * kDeg);
  span = Open("Wing00", 0);
  Commit("Wing00", 0, {"1"});
  EXPECT_NEAR(wing->WingSpan, 0.05f, 1e-5f);
  EXPECT_STREQ(span[0]->text, "5.0 cm");
  Commit("Wing00", 0, {"50"});
  EXPECT_NEAR(wing->WingSpan, 0.5f, 1e-5f);
  EXPECT_STREQ(span[0]->text, "50.0 cm");
  EXPECT_NEAR(wing->Dihedral, 10.0f * kDeg, 0.01f * kDeg);
  EXPECT_NEAR(wing->Incidence, 3.0f * kDeg, 0.01f * kDeg);
  Run("savesystem");
  svdesign::GoBack();

  kxdaircraftinstance::Unload(kxdaircraftinstance::Slot(0));
  ASSERT_EQ(kxdaircraftinstance::AircraftLoad("trainer", 0), 1);
  Enter(nullptr);
  for (const auto& m : made) {
    SCOPED_TRACE(m.name);
    EXPECT_TRUE(listed(m.name));
    EXPECT_NEAR(value(m.name, m.key), m.value, 1e-6f);
  }
  // The wing reads as it was saved, and its sections lie along its span.
  wing = static_cast<kxdwing*>(Object("Wing00")->component);
  EXPECT_STREQ(Open("Wing00", 0)[0]->text, "50.0 cm");
  EXPECT_STREQ(Open("Wing00", 1)[0]->text, "10.0 deg");
  EXPECT_STREQ(Open("Wing00", 3)[0]->text, "3.0 deg");
  EXPECT_NEAR(wing->WingSpan, 0.5f, 1e-5f);
  EXPECT_NEAR(wing->Dihedral, 10.0f * kDeg, 0.01f * kDeg);
  EXPECT_NEAR(wing->Incidence, 3.0f * kDeg, 0.01f * kDeg);
  ASSERT_EQ(wing->SectionCount(), 2);
  for (int i = 0; i < 2; ++i) {
    kxvector4r at;
    kxmatrix::TransformVector4(&at, &wing->B, &wing->SectionR[i]);
    // Each section's point lies at the middle of its half of the span,
    // raised by the dihedral.
    const float along = (0.25f + 0.5f * static_cast<float>(i)) * 0.5f;
    EXPECT_NEAR(at.y, along * std::cos(10.0f * kDeg), 0.005f) << i;
    EXPECT_NEAR(at.z, along * std::sin(10.0f * kDeg), 0.005f) << i;
    EXPECT_NEAR(wing->SectionArea[i], 0.05f, 0.001f) << i;
  }
}

TEST_F(SaveTest, NamesAreCleanedAndBadOrTakenNamesRefused) {
  struct probe {
    const char* typed;
    const char* cleaned;
  } probes[] = {{"My Plane 2!", "myplane2"}, {"my-plane", "my-plane"}, {" .,;!", ""}, {"\"Ä\"x", "x"}};
  for (const probe& p : probes) EXPECT_EQ(svdesign::CleanName(p.typed), p.cleaned) << p.typed;

  Enter();
  std::ofstream("aircraft/taken.txt") << "x";
  fs::create_directory("aircraft/Capitals");  // the file functions find it for "capitals"
  for (const char* typed : {" !! ", "TRAINER", "taken", "capitals"}) {
    SaveAs(typed);
    EXPECT_EQ(State().saveAsDialog->parent, State().screen) << typed;
  }
  EXPECT_STREQ(State().saveAsMessage->Text.Text(), sim::Language().Text("AircraftExists"));
  SaveAs("...");
  EXPECT_STREQ(State().saveAsMessage->Text.Text(), sim::Language().Text("InvalidName"));
  EXPECT_STREQ(State().aircraft->Name.Text(), "trainer");
}

TEST_F(SaveTest, SaveAsCopiesTheFolderRenamesUnlocksAndReloadsWithTheEdits) {
  std::ofstream("aircraft/trainer/skin.kxt") << "texture";
  std::ofstream("aircraft/trainer/Preview-old.kxt") << "old preview";
  std::ofstream("aircraft/trainer/.hidden.kxt") << "hidden";
  Enter();
  State().aircraft->Locked = 1;
  kxdwing* wing = static_cast<kxdwing*>(Object("LeftWing")->component);
  wing->PropWashFactor = 0.25f;
  SaveAs("My Copy");
  EXPECT_EQ(State().saveAsDialog->parent, State().invisible);
  EXPECT_STREQ(State().aircraft->Name.Text(), "mycopy");
  EXPECT_STREQ(State().aircraft->Directory.Text(), "aircraft/mycopy");
  EXPECT_EQ(State().aircraft->Locked, 0);
  EXPECT_STREQ(sim::session.settings.aircraft0, "mycopy");
  for (const char* file : {"mycopy.kxd", "mycopy.kxg", "mycopy.obj", "skin.kxt", "preview-mycopy.bmp",
                           "preview-mycopy.txt"}) {
    EXPECT_TRUE(fs::exists(fs::path("aircraft/mycopy") / file)) << file;
  }
  for (const char* file : {"Preview-old.kxt", ".hidden.kxt", "preview-trainer.bmp"}) {
    EXPECT_FALSE(fs::exists(fs::path("aircraft/mycopy") / file)) << file;
  }
  wing->PropWashFactor = 0.5f;
  Run("savesystem");
  svdesign::GoBack();
  kxdaircraftinstance::Unload(kxdaircraftinstance::Slot(0));
  ASSERT_EQ(kxdaircraftinstance::AircraftLoad("mycopy", 0), 1);
  kxdaircraftinstance* reloaded = kxdaircraftinstance::Slot(0);
  EXPECT_EQ(reloaded->Locked, 0);
  kxnode* left = reloaded->Template->FindChild("LeftWing");
  ASSERT_NE(left, nullptr);
  EXPECT_FLOAT_EQ(static_cast<kxdwing*>(kxdbody::As(left))->PropWashFactor, 0.5f);
}

// The helicopter keeps its meshes in a binary file: the copy gets one of its
// own name, with the rotor blades as stretched before the save.
TEST_F(SaveTest, SaveAsOfTheHelicopterWritesItsBinaryMeshWithTheStretchedRotor) {
  kxdtest::CopyFromData("aircraft/heli");
  Enter("heli");
  auto* rotor = static_cast<kxdmainrotor*>(Object("Rotor")->component);
  Commit("Rotor", 0, {"160"});  // cm across: a radius of 0.8 m
  ASSERT_NEAR(rotor->Radius, 0.8f, 0.005f);
  SaveAs("Heli Two");
  EXPECT_STREQ(State().aircraft->Name.Text(), "helitwo");
  for (const char* file : {"helitwo.kxd", "helitwo.kxg", "helitwo.tgo", "preview-helitwo.bmp", "preview-helitwo.txt"}) {
    EXPECT_TRUE(fs::exists(fs::path("aircraft/helitwo") / file)) << file;
  }
  EXPECT_FALSE(fs::exists("aircraft/helitwo/helitwo.obj"));
  EXPECT_GT(fs::file_size("aircraft/helitwo/helitwo.tgo"), 0u);
  svdesign::GoBack();
  kxdaircraftinstance::Unload(kxdaircraftinstance::Slot(0));
  ASSERT_EQ(kxdaircraftinstance::AircraftLoad("helitwo", 0), 1);
  kxnode* reloaded = kxdaircraftinstance::Slot(0)->Template->FindChild("Rotor");
  ASSERT_NE(reloaded, nullptr);
  kxdmainrotor* again = static_cast<kxdmainrotor*>(kxdbody::As(reloaded));
  EXPECT_NEAR(again->Radius, 0.8f, 0.005f);
  // The blade's tip, as the mesh file has it.
  kxgeometricobject* blade = static_cast<kxgeometricobject*>(again->Geometry->firstChild);
  blade->Rebuild();
  float tip = 0;
  for (int i = 0; i < blade->VertexCount(); ++i) {
    kxvector4r p;
    blade->TransformVertex(&p, i, kxmatrix::Identity());
    tip = std::fmax(tip, std::hypot(p.x - again->B.R.x, p.y - again->B.R.y));
  }
  EXPECT_NEAR(tip, 0.8f, 0.005f);
}

// The three files are one aircraft: when the last of them cannot be
// written, none is replaced, nothing new is left, and the failure shows in
// the dialog with the edits kept.
TEST_F(SaveTest, ASaveThatFailsReplacesNoneOfTheThreeFilesAndSaysSo) {
  const char* files[] = {"trainer.kxd", "trainer.kxg", "trainer.obj"};
  std::string before[3];
  for (int i = 0; i < 3; ++i) before[i] = folder->Read(std::string("aircraft/trainer/") + files[i]);
  Enter();
  kxdwing* wing = static_cast<kxdwing*>(Object("LeftWing")->component);
  wing->PropWashFactor = 0.25f;
  // The component file is written last, as "<file>.new" first.
  kxtest::BlockReplacing(folder->Path("aircraft/trainer/trainer.kxd.new"));
  Run("savesystem");
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(folder->Read(std::string("aircraft/trainer/") + files[i]), before[i]) << files[i];
  for (const auto& entry : fs::directory_iterator("aircraft/trainer"))
    EXPECT_FALSE(entry.path().extension() == ".new") << entry.path();
  EXPECT_EQ(State().saveAsDialog->parent, State().screen);
  // What stands in the way is named; the disk is not blamed.
  EXPECT_STREQ(State().saveAsMessage->Text.Text(),
               "Not saved: aircraft/trainer/trainer.kxd.new.tmp: a folder stands at its name; move it away and save "
               "again.");
  EXPECT_FLOAT_EQ(wing->PropWashFactor, 0.25f);
  EXPECT_TRUE(inputtest::Logged("svdesign:  save trainer=fail"));
  fs::remove_all("aircraft/trainer/trainer.kxd.new.tmp");
  Run("copysystemcancel");
  Run("savesystem");
  EXPECT_NE(folder->Read("aircraft/trainer/trainer.kxd"), before[0]);
}

// Save As on a full disk changes nothing: not the name, not player 1's
// aircraft, and no half-made folder is left.
TEST_F(SaveTest, SaveAsOnAFullDiskKeepsTheOldNameAndLeavesNoFolder) {
  Enter();
  std::snprintf(sim::session.settings.aircraft0, sizeof sim::session.settings.aircraft0, "trainer");
  {
    kxtest::fulldisk full;
    SaveAs("Copy");
  }
  EXPECT_EQ(State().saveAsDialog->parent, State().screen);
  EXPECT_EQ(std::string(State().saveAsMessage->Text.Text()).find("Not saved: aircraft/copy cannot be written"), 0u);
  EXPECT_STREQ(State().aircraft->Name.Text(), "trainer");
  EXPECT_STREQ(State().aircraft->Directory.Text(), "aircraft/trainer");
  EXPECT_STREQ(sim::session.settings.aircraft0, "trainer");
  EXPECT_FALSE(fs::exists("aircraft/copy"));
  SaveAs("Copy");
  EXPECT_EQ(State().saveAsDialog->parent, State().invisible);
  EXPECT_TRUE(fs::exists("aircraft/copy/copy.kxd"));
}

}  // namespace
