// Every property page of every editable component type laid out as the
// rows below place it: each label's text and place (as wide as its text
// plus 2, 20 high), each field's place (80 x 20), each check box's place
// and each airfoil selector's place and size, on a 400 x 50 panel. One row
// per page: a widget moved on purpose changes one row.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "designer/airfoil_list.h"
#include "designer/check_box.h"
#include "designer/component_objects.h"
#include "designer_support.h"
#include "dynamics/wings/sectioned_wing.h"
#include "graphics/file_bytes.h"
#include "graphics/font.h"
#include "sim/multilanguage.h"

namespace {

using designertest::designerfixture;

// A widget where its page puts it. A field's x of kAfter + n is n px past
// the x after the last label before it (its right edge + 8).
struct spot {
  char kind;         // 'L' label, 'T' text line of a fixed size, 'F' field, 'C' check box, 'A' airfoil selector
  const char* text;  // a label's text
  int x, y;          // px from the panel's lower left corner, y up
  int w, h;          // px; a label's from its text
};
constexpr int kAfter = 100000;
spot L(const char* text, int x, int y) { return {'L', text, x, y, 0, 0}; }
spot T(int x, int y) { return {'T', "", x, y, 200, 20}; }
spot F(int x, int y) { return {'F', "", x, y, 80, 20}; }
spot C(int x, int y) { return {'C', "", x, y, 80, 20}; }
spot A(int x, int y, int w, int h) { return {'A', "", x, y, w, h}; }

struct pagerow {
  const char* component;  // null: the whole aircraft's info page
  int page;
  std::vector<spot> widgets;
};

// Pages shared by several components.
std::vector<spot> Single(const char* label) { return {L(label, 8, 8), F(kAfter, 8)}; }
const std::vector<spot> kWeight = {L("Weight", 10, 8), F(110, 8)};
std::vector<spot> Airfoil(int w, int h) { return {L("Airfoil", 5, 20), A(200, 20, w, h)}; }
std::vector<spot> LiftAndDrag() { return {L("Drag", 8, 8), F(kAfter, 8), L("Lift", 308, 8), F(kAfter, 8)}; }

const struct {
  const char* sample;
  std::vector<pagerow> pages;
} kSamples[] = {
    {"trainer",
     {{nullptr, 0, {T(8, 8), T(8, 28), T(208, 28), T(208, 8), T(408, 28)}},
      // kxdwing00
      {"LeftWing", 0, Single("Semi-span")},
      {"LeftWing", 1, Single("Dihedral")},
      // Each label is cut to its selector's width (here in the test's wide font).
      {"LeftWing", 2,
       {L("Airfoil at wing ...", 10, 40), L("Airfoil at wing tip", 150, 40), A(5, 5, 128, 32), A(150, 5, 128, 32)}},
      {"LeftWing", 3, Single("Incidence")},
      {"LeftWing", 4, kWeight},
      {"LeftWing", 5, Single("Propeller Wash")},
      {"LeftWing", 6, Single("Deflection")},
      {"LeftWing", 7,
       {L("Flap deflection up [deg]", 8, 8), F(kAfter, 8), L("Flap deflection down [deg]", 408, 8), F(kAfter, 8)}},
      // kxdwing10
      {"Stabilizer", 0, Single("Semi-span")},
      {"Stabilizer", 1, Single("Dihedral")},
      {"Stabilizer", 2, Airfoil(128, 32)},
      {"Stabilizer", 3, Single("Incidence")},
      {"Stabilizer", 4, kWeight},
      {"Stabilizer", 5, Single("Propeller Wash")},
      {"Stabilizer", 6, Single("Deflection")},
      // kxdwing11
      {"Fin", 0, Single("Semi-span")},
      {"Fin", 1, Airfoil(100, 20)},
      {"Fin", 2, Single("Incidence")},
      {"Fin", 3, kWeight},
      {"Fin", 4, Single("Propeller Wash")},
      {"Fin", 5, Single("Deflection")},
      // kxdwing12, built beside the sample's components
      {"Canard", 0, Airfoil(100, 20)},
      {"Canard", 1, kWeight},
      {"Canard", 2, Single("Propeller Wash")},
      {"Canard", 3, Single("Deflection")},
      {"Motor", 0,
       {L("Ns [U/min/V]", 8, 32), F(108, 32), L("R [mOhm]", 8, 8), F(108, 8), L("I0 [A]", 248, 32), F(308, 32),
        L("Weight", 248, 8), F(308, 8), L("Constant RPM Mode", 460, 8), C(440, 8)}},
      {"Motor", 1,
       {L("Number of cells", 8, 32), F(158, 32), L("Voltage per cell [V]", 8, 8), F(158, 8),
        L("Mass per cell [g]", 308, 32), F(458, 32), L("Resistance [mOhm]", 308, 8), F(458, 8)}},
      {"Motor", 2, {L("Gear Ratio 1 :", 8, 32), F(158, 32), L("Gear mass [g]", 8, 8), F(158, 8)}},
      {"Propeller", 0, Single("Diameter")},
      {"Propeller", 1, Single("Pitch")},
      {"Propeller", 2, kWeight},
      {"Fuselage", 0, kWeight},
      {"Fuselage", 1, {L("Center of gravity", 8, 8), F(kAfter, 8), F(kAfter + 100, 8), F(kAfter + 200, 8)}},
      {"Fuselage", 2, Single("Drag")},
      {"Fuselage", 3, LiftAndDrag()},
      {"Fuselage", 4, LiftAndDrag()}}},
    {"christeneagle",
     {{"Engine", 0, {L("Maximum Power", 8, 8), F(kAfter, 8), L("Torque", 308, 8), F(kAfter, 8)}},
      {"Engine", 1, {L("Idle RPM", 8, 8), F(kAfter, 8), L("Maximum RPM", 308, 8), F(kAfter, 8)}},
      {"Engine", 2, kWeight},
      {"Engine", 3, Single("Right Thrust")},
      {"Engine", 4, Single("Down Thrust")},
      // a plain body with its mass range: the weight alone
      {"Battery", 0, kWeight}}},
    {"heli",
     {{nullptr, 0, {T(8, 8), T(8, 28)}},
      {"Rotor", 0, Single("Diameter")},
      {"Rotor", 1, Single("Gear Ratio 1 :")},
      {"Rotor", 2, Single("Blade Weight")},
      {"Rotor", 3,
       {L("Pitch min / max", 8, 8), F(kAfter, 8), F(kAfter + 100, 8), L("Cyclic Pitch", 408, 8), F(kAfter, 8)}},
      {"Tail", 0, Single("Diameter")},
      {"Tail", 1, Single("Gear Ratio 1 :")},
      {"Tail", 2, {L("Pitch min / max", 8, 8), F(kAfter, 8), F(kAfter + 100, 8)}},
      {"Tail", 3,
       {L("Gain", 8, 34), F(120, 34), L("Range", 218, 34), F(330, 34), L("Zero adjust", 8, 8), F(120, 8),
        L("Heading hold", 428, 34), C(540, 34), L("Piroutte speed", 428, 8), F(540, 8)}}}},
    {"jet", {{"Turbine", 0, Single("Maximum Thrust")}}},
};

std::string Describe(char kind, const char* text, int x, int y, int w, int h) {
  char line[160];
  std::snprintf(line, sizeof line, "%c '%s' at %d, %d size %d x %d", kind, text, x, y, w, h);
  return line;
}

// The widgets of a row, sorted.
std::vector<std::string> Expected(const std::vector<spot>& row) {
  std::vector<std::string> out;
  int after = 0;
  for (const spot& s : row) {
    int x = s.x >= kAfter / 2 ? after + (s.x - kAfter) : s.x;
    int w = s.w, h = s.h;
    if (s.kind == 'L') {
      w = kxgl::TextWidth(s.text) + 2;
      h = 20;
      after = s.x + w + 8;
    }
    out.push_back(Describe(s.kind, s.kind == 'L' ? s.text : "", x, s.y, w, h));
  }
  std::sort(out.begin(), out.end());
  return out;
}

// The widgets on the page's panel, sorted.
std::vector<std::string> Found(const svdesignpage* page) {
  std::vector<std::string> out;
  for (kxnode* c = page->panel->firstChild; c; c = c->nextSibling) {
    const kxgraphic* g = dynamic_cast<const kxgraphic*>(c);
    char kind = 'X';
    std::string text;
    if (dynamic_cast<const svdesignfield*>(c)) kind = 'F';
    else if (dynamic_cast<const svdesigncheck*>(c)) kind = 'C';
    else if (dynamic_cast<const svdesignairfoillist*>(c)) kind = 'A';
    else if (const kxtext* t = dynamic_cast<const kxtext*>(c)) {
      kind = t->W == 200 ? 'T' : 'L';
      if (kind == 'L') text = t->Text.Str();
    }
    out.push_back(g ? Describe(kind, text.c_str(), g->X, g->Y, g->W, g->H) : std::string("not a widget"));
  }
  std::sort(out.begin(), out.end());
  return out;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& l : lines) out += l + "\n";
  return out;
}

TEST_F(designerfixture, EveryPageLaysOutItsLabelsFieldsAndBoxesInTheirPlaces) {
  std::set<std::string> covered, shown;  // component type and page
  for (const auto& sample : kSamples) {
    Enter(sample.sample);
    // A kxdwing12 (no sample has one) with a flap drive and a flap mesh.
    kxdbody* fin = Object("Fin") ? Object("Fin")->component : nullptr;
    std::unique_ptr<kxdwing10> canard;
    std::unique_ptr<svdesignobject> canardObject;
    if (fin) {
      canard.reset(static_cast<kxdwing10*>(kxdbody::As(kxtype::Find("kxdwing12")->Create())));
      canard->FlapLink = static_cast<kxdwing10*>(fin)->FlapLink;
      canard->Flap = fin->Geometry;
      canardObject.reset(svdesign::Wing12Object(canard.get()));
    }
    for (const pagerow& row : sample.pages) {
      SCOPED_TRACE(std::string(sample.sample) + " " + (row.component ? row.component : "aircraft") + " page " +
                   std::to_string(row.page));
      const svdesignobject* object = !row.component                    ? State().aircraftObject
                                     : std::string(row.component) == "Canard" ? canardObject.get()
                                                                              : Object(row.component);
      ASSERT_NE(object, nullptr);
      const svdesignpage* page = object->pages[row.page];
      ASSERT_NE(page->panel, nullptr);
      EXPECT_EQ(Describe('P', "", page->panel->X, page->panel->Y, page->panel->W, page->panel->H),
                Describe('P', "", 0, 0, 400, 50));
      EXPECT_EQ(Joined(Found(page)), Joined(Expected(row.widgets)));
      if (row.component) covered.insert(object->component->type->name + " page " + std::to_string(row.page));
    }
    for (const svdesignobject* o : State().objects) {
      for (int i = 0; i < o->pageCount; ++i) shown.insert(o->component->type->name + " page " + std::to_string(i));
    }
    canardObject.reset();
    svdesign::GoBack();
  }
  // Every page of every component type the samples show has its row.
  for (const std::string& page : shown) EXPECT_EQ(covered.count(page), 1u) << page;
}

// In the program's own font and every shipped language, no label on a page
// of the samples runs into another label, a field or a selector.
TEST_F(designerfixture, NoLabelRunsIntoAnotherWidgetInAnyLanguage) {
  const std::filesystem::path data = (std::filesystem::path(KX_TEST_DATA) / "../../../data").lexically_normal();
  std::vector<uint8_t> bytes;
  kxglfont program{};
  ASSERT_TRUE(kxgl::ReadFileBytes((data / "texture/arial10.kxf").c_str(), &bytes));
  ASSERT_TRUE(kxgl::ReadFont(bytes.data(), bytes.size(), &program));
  kxgl::SetFont(&program);
  constexpr int kCheckIcon = 20;  // px, a check box's icon with the room to its label
  constexpr int kLanguages = 5;  // "svgelanguage/language1.kxd" .. 5; 0 is the built-in English
  for (const char* sample : {"trainer", "christeneagle", "heli"}) {
    for (int n = 0; n <= kLanguages; ++n) {
      SCOPED_TRACE(std::string(sample) + " language " + std::to_string(n));
      sim::Language().Reset();
      const std::string file = "svgelanguage/language" + std::to_string(n) + ".kxd";
      if (n > 0) {
        ASSERT_NE(kxscript::ReadFile((data / file).c_str(), &sim::Language()), 0);
      }
      Enter(n == 0 ? sample : nullptr);
      for (const svdesignobject* o : State().objects) {
        for (int i = 0; i < o->pageCount; ++i) {
          std::vector<const kxgraphic*> widgets;
          for (kxnode* c = o->pages[i]->panel->firstChild; c; c = c->nextSibling)
            if (const kxgraphic* g = dynamic_cast<const kxgraphic*>(c)) widgets.push_back(g);
          for (const kxgraphic* a : widgets) {
            const kxtext* label = dynamic_cast<const kxtext*>(a);
            if (!label) continue;
            const int right = a->X + a->W;  // a label is as wide as its text
            for (const kxgraphic* b : widgets) {
              // A check box's own text is empty: its label stands beside its icon.
              const int w = dynamic_cast<const svdesigncheck*>(b) ? kCheckIcon : b->W;
              const bool apart = b == a || right <= b->X || b->X + w <= a->X || a->Y + a->H <= b->Y ||
                                 b->Y + b->H <= a->Y;
              EXPECT_TRUE(apart) << o->name.Str() << " page " << i << ": '" << label->Text.Str() << "' runs into "
                                 << b->X << ", " << b->Y;
            }
          }
        }
      }
      svdesign::GoBack();
    }
  }
  kxgl::SetFont(&font);
  kxgl::FreeFont(&program);
}

}  // namespace
