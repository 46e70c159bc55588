// The key tables of every registered component type, seen from outside.
// Golden files hold the file text and member names of a new component and
// of one with every key set ("<type>.kxd", after the link targets of
// "links.kxd" and "links.kxg"), and each sample aircraft with a component
// file as written after its load. Run with SKYVANE_UPDATE_GOLDEN=1 to write the golden files
// anew from the present output (after a deliberate change of a format, or
// of the samples).
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <tuple>

#include "core/arguments.h"
#include "core/node_copy.h"
#include "core/output.h"
#include "dynamics/aircraft.h"
#include "dynamics/all/register_all.h"
#include "dynamics/components/receiver.h"
#include "dynamics/components/wheel.h"
#include "dynamics/links.h"
#include "dynamics/registry.h"
#include "dynamics/wings/wing.h"
#include "dynamics/write_links.h"
#include "dynamics/writers.h"
#include "tests/dynamics/dynamics_support.h"

namespace {

namespace fs = std::filesystem;

const fs::path kCases = fs::path(KX_TEST_DATA) / "key_table";
const fs::path kSamples =
    fs::path(KX_TEST_DATA).lexically_normal().parent_path().parent_path().parent_path().parent_path() / "data" /
    "aircraft";

// Keys a clone does not get, by the copy lists of the classes: every entry
// of the key, or with "@Count" the entries at or above the count key's
// value.
const std::map<std::string, std::string> kNotCopied = {
    {"kxdreceiver00", "Out"},
    {"kxdservo00", "MechLink"},
    {"kxdservo01", "MechLink"},
    {"kxdengine00", "PowerMaxRevs"},
    {"kxdengine10", "MotorR CellR"},
    {"kxdpropeller00", "RangeRadiusMax RangeRadiusMin"},
    {"kxdturbine00", "RotationMax PowerMax PowerMaxRevs TorqueFactor"},
    {"kxdturbine10", "RotationMax PowerMax PowerMaxRevs TorqueFactor"},
    // Without meshes the rotors have no blades, so no hinge is in use.
    {"kxdrotor00", "RangeRadiusMax RangeRadiusMin RangeBladeMassMax RangeBladeMassMin BladeHinge"},
    {"kxdrotor01", "RangeRadiusMax RangeRadiusMin RangeBladeMassMax RangeBladeMassMin BladeHinge"},
    {"kxdtailrotor00", "RangeRadiusMax RangeRadiusMin"},
    {"kxdgear00", "Retractable RetractZ RetractAngle RetractAngleZ"},
    {"kxdwing00", "RangeSpanMax RangeSpanMin SectionR@Sections SectionArea@Sections SectionChord@Sections"},
    {"kxdwing20", "RangeSpanMax RangeSpanMin SectionR@Sections SectionArea@Sections SectionChord@Sections"},
    {"kxdwing10", "RangeSpanMax RangeSpanMin SectionR@Sections SectionArea@Sections SectionChord@Sections"},
    {"kxdwing11", "RangeSpanMax RangeSpanMin SectionR@Sections SectionArea@Sections SectionChord@Sections"},
    {"kxdwing12", "RangeSpanMax RangeSpanMin SectionR@Sections SectionArea@Sections SectionChord@Sections"},
};

kxargs Index(int i) {
  kxargs args;
  if (i >= 0) args.Add(kxvalueptr(new kxintvalue(i)));
  return args;
}

// Every key of a table with its entries (-1 for a plain key); counts
// apart, as they decide the entries in use.
void Keys(const kxdkeytable& table, std::vector<std::pair<std::string, int>>& out) {
  for (size_t k = 0; k < table.size; ++k) {
    const kxdkey& r = table.rows[k];
    const char* text = r.text[table.column];
    if (r.kind == kxdkind::kInclude) Keys(*r.table, out);
    if (!text || !*text || r.kind == kxdkind::kNote || r.kind == kxdkind::kCount) continue;
    for (int i = 0; i < (r.count > 0 ? r.count : 1); ++i) out.push_back({kxdkeys::KeyOf(text), r.count > 0 ? i : -1});
  }
}

// The rows without a key that a clone copies as they are (analysed values,
// state), spliced tables in place. A field row that names no copy is
// listed too: a field nothing writes exists only for clones.
void Fields(const kxdkeytable& table, std::vector<const kxdkey*>& out) {
  for (size_t k = 0; k < table.size; ++k) {
    const kxdkey& r = table.rows[k];
    if (r.kind == kxdkind::kInclude) Fields(*r.table, out);
    if (r.kind == kxdkind::kField && r.text[table.column] && r.copy != kxdcopy::kRemap && r.copy != kxdcopy::kAsIs) {
      out.push_back(&r);
    }
  }
}

// Entries of a row a clone gets: all of a plain row, those in use of an
// indexed one.
int EntriesCopied(const kxdkey& r, const kxnode* node) {
  if (r.count <= 0) return 1;
  if ((r.flags & kxdkey::kEveryEntry) || !r.used) return r.count;
  return std::clamp(r.used(node), 0, r.count);
}

class keytable : public kxdtest::loading {
 protected:
  static void SetUpTestSuite() {
    loading::SetUpTestSuite();
    kxdynamics::RegisterAll();
  }
  void SetUp() override {
    loading::SetUp();
    fs::copy(kSamples / "airfoil", "aircraft/airfoil");
  }
  static std::vector<kxtype*> Types() {
    std::vector<kxtype*> types;
    for (kxtype* t : kxdynamics::ComponentTypes()) {
      if (t->create) types.push_back(t);
    }
    return types;
  }
  // The component file of the aircraft folder as the loader leaves it.
  static std::string Written(const char* name) {
    if (!kxdaircraftinstance::AircraftLoad(name, 0)) return "load failed\n";
    kxout out;
    kxdwriters::AircraftText(Instance(), out);
    return out.Text();
  }
  // A component "Default" of the type and one "Filled" with every key set.
  std::string WrittenKeys(const kxtype* type) {
    fs::create_directories("aircraft/keys");
    fs::copy_file(kCases / "links.kxg", "aircraft/keys/keys.kxg", fs::copy_options::overwrite_existing);
    std::string keys = Get(kCases / (type->name + ".kxd"));
    PutAircraft("keys", (Get(kCases / "links.kxd") + "Append " + type->name + " Default\nAppend " + type->name +
                         " Filled\ncd Filled/\n" + keys + "cd ../\n")
                            .c_str());
    return keys.empty() ? "no keys\n" : Written("keys");
  }
  static kxdaircraftinstance* Instance() { return kxdaircraftinstance::Loaded(0); }
  static kxdbody* Filled() { return kxdbody::As(Instance()->Template->FindChild("Filled")); }
  // The node's own lines, links below the loaded aircraft's roots.
  static std::string Lines(kxdbody* node) {
    kxout out;
    kxdwrite::SetRoots(Instance()->Template, Instance()->GeometryTemplate);
    node->Write(out);
    kxdwrite::SetRoots(nullptr, nullptr);
    return out.Text();
  }
  static void ExpectGolden(const fs::path& golden, const std::string& text) {
    if (std::getenv("SKYVANE_UPDATE_GOLDEN")) {
      Put(golden, text);
      return;
    }
    EXPECT_EQ(text, Get(golden)) << golden;
  }
  // The names the type gives its members' addresses, and the lists it
  // offers a link chooser for the value types links point at.
  static std::string MemberNames(kxtype* type) {
    kxnode* node = type->Create();
    std::set<std::string> names;
    for (size_t offset = 0; offset + sizeof(float) <= type->size; offset += sizeof(float)) {
      kxstring name;
      if (node->GetMemberName(reinterpret_cast<char*>(node) + offset, name)) names.insert(name.Str());
    }
    std::string text = "// names:";
    for (const std::string& n : names) text += " " + n;
    for (kxtype* valueType : {&kxdlinktypes::Signal, &kxdlinktypes::MechLink, &kxvaluetypes::Real}) {
      std::vector<kxstring> list;
      node->GetMemberNames(valueType, list);
      text += "\n// " + valueType->name + ":";
      for (const kxstring& s : list) text += " [" + s.Str() + "]";
    }
    delete node;
    return text + "\n";
  }
  // A member's value as printed, paths below the roots given as "~/path".
  static std::string Value(kxnode* node, const std::string& key, int i, std::initializer_list<const kxnode*> roots) {
    kxvalueptr v = node->GetMember(key.c_str(), Index(i));
    if (!v) return "none";
    kxout out;
    v->Print(out);
    std::string text = out.Text();
    for (const kxnode* root : roots) {
      std::string path = root->Path().Str();
      if (text.rfind(path, 0) == 0) text = "~/" + text.substr(path.size());
    }
    return text;
  }
};

TEST_F(keytable, EveryTypeWritesItsGoldenText) {
  for (kxtype* type : Types()) {
    SCOPED_TRACE(type->name);
    std::string text = WrittenKeys(type);
    std::string head = "Append " + type->name + " Default\n";
    ExpectGolden(kCases / (type->name + ".txt"), text.substr(std::min(text.find(head), text.size())) + MemberNames(type));
  }
}

TEST_F(keytable, EverySampleAircraftWritesItsGoldenText) {
  for (const fs::directory_entry& folder : fs::directory_iterator(kSamples)) {
    std::string name = folder.path().filename().string();
    if (!fs::exists(folder.path() / (name + ".kxd"))) continue;  // airfoils, legacy models
    SCOPED_TRACE(name);
    fs::copy(folder.path(), fs::path("aircraft") / name, fs::copy_options::recursive);
    ExpectGolden(kCases / ("sample_" + name + ".txt"), Written(name.c_str()));
  }
}

TEST_F(keytable, EveryTypeReadsBackWhatItWrites) {
  for (kxtype* type : Types()) {
    SCOPED_TRACE(type->name);
    WrittenKeys(type);
    std::string text = Lines(Filled());
    kxdbody* again = kxdbody::As(type->Create());
    again->name = "Again";
    Instance()->Template->AppendChild(again);
    kxscript::SetAlias("Aircraft", Instance()->Template);
    kxscript::SetAlias("Geometry", Instance()->GeometryTemplate);
    kxscript::Execute(text.c_str(), again);
    kxscript::ClearAlias("Aircraft");
    kxscript::ClearAlias("Geometry");
    EXPECT_EQ(Lines(again), text);
  }
  EXPECT_EQ(log.Text().find("outside"), std::string::npos) << log.Text();
}

// Every number key and every field without a key of a component set to a
// value of its own, the aircraft cloned: a key the class copies reads the
// same in the clone (a link points to the same place in the clone's trees),
// any other keeps the default; a field reaches the clone byte for byte.
TEST_F(keytable, EveryCloneGetsWhatItsClassCopies) {
  for (kxtype* type : Types()) {
    SCOPED_TRACE(type->name);
    WrittenKeys(type);
    kxdbody* source = Filled();
    std::vector<std::pair<std::string, int>> keys;
    Keys(source->KeyTable(), keys);
    float number = 100.0f;
    for (const auto& [key, i] : keys) {
      kxvalueptr v = source->GetMember(key.c_str(), Index(i));
      double d;
      float now[4], vector[4] = {number, number + 1, number + 2, 1.0f};
      if (v && v->GetNumber(d)) v->Assign(kxrealvalue(number));
      if (v && v->GetVector(now)) v->Assign(kxvectorvalue(vector, v->GetType()));
      number += 3.0f;
    }
    std::vector<const kxdkey*> fields;
    Fields(source->KeyTable(), fields);
    for (const kxdkey* f : fields) {
      for (int i = 0; i < (f->count > 0 ? f->count : 1); ++i) {
        auto* bytes = static_cast<unsigned char*>(f->field(source, i));
        int seed = static_cast<int>(number) + i;
        for (size_t b = 0; bytes && b < f->size; ++b) bytes[b] = static_cast<unsigned char>(1 + (seed + b) % 250);
      }
      number += 3.0f;
    }
    kxnode* copies = kxdtest::Append<kxnode>(kxdynamics::Tree(kxdynamics::kxdtree::kInvisible), "Copies");
    kxnode *geometry, *aircraft;
    {
      kxclonemap map;
      geometry = Instance()->GeometryTemplate->Clone(kxdtest::Append<kxnode>(copies, "Geometry"));
      aircraft = Instance()->Template->Clone(copies);
    }
    kxnode* clone = aircraft->FindChild("Filled");
    kxnode* fresh = type->Create();
    std::map<std::string, std::string> rules;  // key -> its count key, "" for every entry
    std::istringstream list(kNotCopied.count(type->name) ? kNotCopied.at(type->name) : "");
    for (std::string rule; list >> rule;) {
      size_t at = rule.find('@');
      rules[rule.substr(0, at)] = at == std::string::npos ? "" : rule.substr(at + 1);
    }
    for (const auto& [key, i] : keys) {
      auto rule = rules.find(key);
      bool copied = rule == rules.end() ||
                    (!rule->second.empty() && i < std::atoi(Value(source, rule->second, -1, {}).c_str()));
      std::string got = Value(clone, key, i, {aircraft, geometry});
      std::string want = copied ? Value(source, key, i, {Instance()->Template, Instance()->GeometryTemplate})
                                : Value(fresh, key, i, {});
      EXPECT_EQ(got, want) << key << "(" << i << ")" << (copied ? " copied" : " not copied");
    }
    for (size_t k = 0; k < fields.size(); ++k) {
      for (int i = 0; i < EntriesCopied(*fields[k], source); ++i) {
        const void* want = fields[k]->field(source, i);
        const void* got = fields[k]->field(clone, i);
        if (!want || !got) continue;
        EXPECT_EQ(std::memcmp(got, want, fields[k]->size), 0) << "field row " << k << " entry " << i;
      }
    }
    delete fresh;
    delete copies;
  }
}

// Fields without a key: a carried body's carrier is remapped, a wing's tip
// point stays 0, the receiver keeps its channel source as it is, a wheel
// carries its state.
TEST_F(keytable, ClonesCarryTheFieldsTheirClassesCopy) {
  kxnode* root = kxdynamics::Tree(kxdynamics::kxdtree::kInvisible);
  auto* main = kxdtest::Append<kxdbody>(root, "Main");
  kxdtest::Append<kxdbody>(main, "Part")->ParentBody = main;
  kxnode* mainClone = main->Clone(root);
  EXPECT_EQ(kxdbody::As(mainClone->firstChild)->ParentBody, mainClone);
  float channels[kxdreceiver00::kOutputs] = {};
  auto* receiver = kxdtest::Append<kxdreceiver00>(root, "Receiver");
  receiver->SlotAnalog = channels;
  auto* wheel = kxdtest::Append<kxdwheel00>(root, "Wheel");
  wheel->Areas[2] = wheel->Angle = wheel->Spin = 0.5f;
  std::vector<kxdwing*> wings;
  for (const char* name : {"kxdwing00", "kxdwing20", "kxdwing10"}) {
    wings.push_back(kxdwing::As(kxtype::Find(name)->Create()));
    root->AppendChild(wings.back());
    wings.back()->TipPoint = wings.back()->SpanDirection = {0.0f, 1.0f, 0.0f, 0.0f};
  }
  auto* receiverClone = static_cast<kxdreceiver00*>(receiver->Clone(root));
  auto* wheelClone = static_cast<kxdwheel00*>(wheel->Clone(root));
  EXPECT_EQ(receiverClone->SlotAnalog, channels);
  EXPECT_EQ(wheelClone->Areas[2] + wheelClone->Angle + wheelClone->Spin, 1.5f);
  for (kxdwing* w : wings) {
    auto* c = kxdwing::As(w->Clone(root));
    EXPECT_EQ(c->TipPoint.y, 0.0f) << w->type->name;
    EXPECT_EQ(c->SpanDirection.y, w->type->name == "kxdwing10" ? 0.0f : 1.0f) << w->type->name;
  }
  root->DeleteChildren();
}

// An index beyond a table gives no member and one log line; a count beyond
// the arrays it counts is kept at their size.
TEST_F(keytable, IndexesAndCountsStayWithinTheTables) {
  struct bound {
    const char* type;
    const char* key;
    int bad;
  };
  for (const bound& b : {bound{"kxdreceiver00", "Out", 32}, bound{"kxdservo01", "ValueIn", 32},
                         bound{"kxdservo01", "ValueOut", -1}, bound{"kxdrotor00", "BladeHinge", 4},
                         bound{"kxdrotor01", "BladeHinge", 8}, bound{"kxdwing00", "SectionR", 8},
                         bound{"kxdwing10", "SectionAirfoil", -1}}) {
    kxnode* node = kxtype::Find(b.type)->Create();
    node->name = "Part";
    EXPECT_NE(node->GetMember(b.key, Index(b.bad - (b.bad > 0 ? 1 : -1))), nullptr) << b.type << " " << b.key;
    EXPECT_EQ(node->GetMember(b.key, Index(b.bad)), nullptr) << b.type << " " << b.key;
    EXPECT_EQ(node->GetMember(b.key, Index(-1)), nullptr) << b.type << " " << b.key;
    std::string line = std::string(b.type) + ":  " + b.key + "(" + std::to_string(b.bad) + ") is no entry of Part";
    EXPECT_TRUE(log.Contains(line.c_str())) << line;
    delete node;
  }
  for (auto [type, line, written] : {std::tuple{"kxdservo01", "ValueNumber = 40", "\nValueNumber = 32\n"},
                                     std::tuple{"kxdwing00", "Sections = 9", "Sections = 8\n"}}) {
    kxnode* node = kxtype::Find(type)->Create();
    kxscript::Execute(line, node);
    kxout out;
    kxdintegrable::As(node)->Write(out);
    EXPECT_NE(out.Text().find(written), std::string::npos) << type;
    delete node;
  }
  EXPECT_TRUE(log.Contains("ValueNumber 40 outside 0..32, 32 used")) << log.Text();
}

}  // namespace
