// The sample models as the tools wrote them: each reads into its part list
// with its mass data, links, sounds and mesh elements consistent.
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "graphics/file_bytes.h"
#include "graphics/image.h"
#include "graphics/mesh.h"
#include "legacy/dns_reader.h"
#include "legacy/schema.h"
#include "tests/legacy/legacy_support.h"

namespace {

using namespace dnsmodel;
using kxltest::DataPath;
using kxltest::FixturePath;

class LegacySamplesTest : public kxltest::legacytest {
 protected:
  void TearDown() override {
    FreeParts(list_);
    EXPECT_EQ(CurrentPool()->used, 0);
    legacytest::TearDown();
  }
  object* Read(const std::string& path) {
    FreeParts(list_);
    list_ = ReadDnsFile(path.c_str());
    return list_;
  }
  object* Find(const char* name) const {
    for (object* p = list_; p; p = p->next)
      if (std::strcmp(p->Name, name) == 0) return p;
    return nullptr;
  }
  object* list_ = nullptr;
};

struct samplefile {
  std::string dns;
  std::string mesh;       // "" for none
  std::string thumbnail;  // "" for none
  const char* parts;      // names in list order
  int kindCode;           // 34 with a Type 10 part, else 4 without a Type 2 or 5 part, else 0
  int unnamedElements;
};

std::vector<samplefile> Samples() {
  const char* heliParts = "Mass Body Eng Gyro Rotor TailRotor SkidFL SkidFR SkidBL SkidBR TipTail";
  return {
      {FixturePath("fall.dns"), "", "", "Mass", 4, 0},
      {DataPath("airlark/aircraft/glider.dns"), DataPath("airlark/aircraft/glider.obj"),
       DataPath("airlark/aircraft/glider_thumb.bmp"),
       "Mass Body WingL WingR Stab Fin Nose MainL MainR TipNose TipL TipR TipTail", 4, 0},
      {DataPath("airlark/aircraft/trainer.dns"), DataPath("airlark/aircraft/trainer.obj"),
       DataPath("airlark/aircraft/trainer_thumb.bmp"),
       "Mass Body WingL WingR Stab Fin Eng Prop Nose MainL MainR TipL TipR TipTail", 0, 1},
      {DataPath("airlark/aircraft/vectorjet.dns"), DataPath("airlark/aircraft/vectorjet.obj"),
       DataPath("airlark/aircraft/vectorjet_thumb.bmp"),
       "Mass Body WingL WingR Stab Fin AileronL AileronR Elevator Rudder Spoiler Nose MainL MainR TipNose TipL TipR "
       "TipTail Lift Vario Canopy Exhausts",
       0, 0},
      {DataPath("airlark/aircraft/heli.dns"), DataPath("airlark/aircraft/heli.obj"),
       DataPath("airlark/aircraft/heli_thumb.bmp"), heliParts, 34, 0},
      {DataPath("aircraft/piccolo/piccolo.dns"), DataPath("aircraft/piccolo/piccolo.tgo"),
       DataPath("aircraft/piccolo/thumb.bmp"), heliParts, 34, 0},
  };
}

TEST_F(LegacySamplesTest, SamplesReadIntoTheirPartsWithConsistentData) {
  for (const samplefile& s : Samples()) {
    SCOPED_TRACE(s.dns);
    ASSERT_NE(Read(s.dns), nullptr);
    std::string names;
    int types[11] = {};
    for (object* p = list_; p; p = p->next) {
      names += std::string(names.empty() ? "" : " ") + p->Name;
      if (p->Type >= 0 && p->Type <= 10) ++types[p->Type];
    }
    EXPECT_EQ(names, s.parts);
    int kind = types[10] ? 34 : (types[2] || types[5]) ? 0 : 4;
    EXPECT_EQ(kind, s.kindCode);

    // The mass part: inertia times its inverse is the identity.
    dummy* mass = As<dummy>(Find("Mass"));
    ASSERT_NE(mass, nullptr);
    EXPECT_EQ(mass->base.Type, 6);
    EXPECT_GT(mass->base.M, 0.0f);
    EXPECT_NE(mass->Expo, 0.0f);
    const float* rows[3] = {mass->base.X, mass->base.Y, mass->base.Z};
    const float* inverse[3] = {mass->XT, mass->YT, mass->ZT};
    for (int i = 0; i < 3; ++i) {
      for (int j = 0; j < 3; ++j) {
        float sum = 0.0f;
        for (int k = 0; k < 3; ++k) sum += rows[i][k] * inverse[k][j];
        EXPECT_NEAR(sum, i == j ? 1.0f : 0.0f, 1e-4f) << i << j;
      }
    }

    // Links name parts of the expected class; sounds name wave files that exist.
    for (object* p = list_; p; p = p->next) {
      const char* engineName = nullptr;
      const sound* record = nullptr;
      if (propeller* pr = As<propeller>(p)) engineName = pr->Engine, record = &pr->soundRecord;
      if (rotor* r = As<rotor>(p)) engineName = r->Engine, record = &r->soundRecord;
      if (engine* e = As<engine>(p)) record = &e->soundRecord;
      if (harrier* h = As<harrier>(p)) record = &h->soundRecord;
      if (engineName) {
        EXPECT_NE(As<engine>(Find(engineName)), nullptr) << p->Name;
      }
      if (record && record->SoundFile[0]) {
        std::string folder = s.dns.find("piccolo") != std::string::npos ? "sound/" : "airlark/sound/";
        EXPECT_TRUE(std::filesystem::exists(DataPath(folder + record->SoundFile + ".wav"))) << record->SoundFile;
      }
    }

    if (s.mesh.empty()) continue;
    std::vector<uint8_t> bytes;
    ASSERT_EQ(kxgl::ReadFileBytes(s.mesh.c_str(), &bytes), 1);
    kxgeometry* mesh = s.mesh.ends_with(".tgo")
                           ? kxgl::ReadBinaryMesh(bytes.data(), bytes.size())
                           : kxgl::ReadTextMesh(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    ASSERT_NE(mesh, nullptr);
    int unnamed = 0;
    for (kxgeometry* el = mesh; el; el = el->next) {
      if (!el->name[0]) ++unnamed;
      else EXPECT_NE(Find(el->name), nullptr) << "element " << el->name << " names a part";
    }
    EXPECT_EQ(unnamed, s.unnamedElements);
    kxgeometry::Free(&mesh);
    kximage thumbnail;
    ASSERT_EQ(kxgl::ReadImageFile(s.thumbnail.c_str(), &thumbnail), 1);
    EXPECT_EQ(thumbnail.width, 64);
    EXPECT_EQ(thumbnail.height, 64);
  }
  EXPECT_EQ(Log(), "");
}

// The scrambled copy of the trainer reads into the same parts, member for
// member, as the plain file.
TEST_F(LegacySamplesTest, ScrambledTrainerReadsAsThePlainOne) {
  object* plain = ReadDnsFile(DataPath("airlark/aircraft/trainer.dns").c_str());
  object* scrambled = Read(FixturePath("trainer_scrambled.dns"));
  ASSERT_NE(plain, nullptr);
  ASSERT_NE(scrambled, nullptr);
  object* a = plain;
  object* b = scrambled;
  for (; a && b; a = a->next, b = b->next) {
    ASSERT_EQ(a->cls, b->cls);
    const typeinfo* type = FindType(a->GetTypeName());
    for (int i = 0; i < type->Count(); ++i) {
      const memberinfo* m = type->At(i);
      EXPECT_EQ(std::memcmp(reinterpret_cast<char*>(a) + m->offset, reinterpret_cast<char*>(b) + m->offset,
                            static_cast<size_t>(m->bytes)),
                0)
          << a->Name << "." << m->name;
    }
  }
  EXPECT_EQ(a, nullptr);
  EXPECT_EQ(b, nullptr);
  FreeParts(plain);
}

}  // namespace
