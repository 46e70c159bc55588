// Golden files of the component files. For every registered component type
// a new component and one with every key set ("<type>.kxd", after the shared
// link targets of "links.kxd" and "links.kxg") are loaded and written, and
// the member names the type answers are listed after the text; each sample
// aircraft is loaded and written whole. Run with SKYVANE_UPDATE_GOLDEN=1 to
// write the golden files anew from the present output.
#include <cstdlib>
#include <filesystem>
#include <set>

#include "core/output.h"
#include "dynamics/all/register_all.h"
#include "dynamics/links.h"
#include "dynamics/registry.h"
#include "dynamics/writers.h"
#include "tests/dynamics/dynamics_support.h"

namespace {

namespace fs = std::filesystem;

const fs::path kCases = fs::path(KX_TEST_DATA) / "component_text";
const fs::path kSamples = fs::path(KX_TEST_DATA).lexically_normal().parent_path().parent_path().parent_path().parent_path() /
                          "data" / "aircraft";

class componenttext : public kxdtest::loading {
 protected:
  static void SetUpTestSuite() {
    loading::SetUpTestSuite();
    kxdynamics::RegisterAll();
  }
  void SetUp() override {
    loading::SetUp();
    fs::copy(kSamples / "airfoil", "aircraft/airfoil");
  }
  // The component file of the aircraft folder as the loader leaves it.
  static std::string Written(const char* name) {
    if (!kxdaircraftinstance::AircraftLoad(name, 0)) return "load failed\n";
    kxout out;
    kxdwriters::AircraftText(kxdaircraftinstance::Loaded(0), out);
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
};

TEST_F(componenttext, EveryTypeWritesItsGoldenText) {
  for (kxtype* type : kxdynamics::ComponentTypes()) {
    if (!type->create) continue;
    SCOPED_TRACE(type->name);
    std::string keys = Get(kCases / (type->name + ".kxd"));
    ASSERT_FALSE(keys.empty());
    fs::create_directories("aircraft/keys");
    fs::copy_file(kCases / "links.kxg", "aircraft/keys/keys.kxg", fs::copy_options::overwrite_existing);
    std::string head = "Append " + type->name + " Default\n";
    PutAircraft("keys", (Get(kCases / "links.kxd") + head + "Append " + type->name + " Filled\ncd Filled/\n" + keys +
                         "cd ../\n")
                            .c_str());
    std::string text = Written("keys");
    ExpectGolden(kCases / (type->name + ".txt"), text.substr(std::min(text.find(head), text.size())) + MemberNames(type));
  }
}

TEST_F(componenttext, EverySampleAircraftWritesItsGoldenText) {
  for (const fs::directory_entry& folder : fs::directory_iterator(kSamples)) {
    std::string name = folder.path().filename().string();
    if (name == "airfoil") continue;
    SCOPED_TRACE(name);
    fs::copy(folder.path(), fs::path("aircraft") / name, fs::copy_options::recursive);
    ExpectGolden(kCases / ("sample_" + name + ".txt"), Written(name.c_str()));
  }
}

}  // namespace
