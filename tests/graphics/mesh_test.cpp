#include "graphics/mesh.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>
#include <tuple>
#include <vector>

#include "graphics/file_bytes.h"
#include "graphics/image.h"
#include "graphics/mesh_load.h"
#include "graphics/texture_table.h"
#include "test_support.h"
#include "tools/meshgen/meshgen.h"

namespace {

using Triangle = std::tuple<uint32_t, uint32_t, uint32_t>;

// Rotation that puts the smallest index first, keeping the winding.
Triangle Canonical(uint32_t a, uint32_t b, uint32_t c) {
  if (b < a && b < c) return {b, c, a};
  if (c < a && c < b) return {c, a, b};
  return {a, b, c};
}

std::multiset<Triangle> StripTriangles(const kxgeometry* el) {
  std::multiset<Triangle> out;
  for (int at = 0; el->strips[at]; at += el->strips[at] + 1) {
    const uint32_t* v = el->strips + at + 1;
    for (uint32_t i = 0; i + 2 < el->strips[at]; ++i) {
      if (i % 2 == 0) out.insert(Canonical(v[i], v[i + 1], v[i + 2]));
      else out.insert(Canonical(v[i + 1], v[i], v[i + 2]));
    }
  }
  return out;
}

std::multiset<Triangle> ListTriangles(const kxgeometry* el) {
  std::multiset<Triangle> out;
  for (int t = 0; t < el->triangleCount; ++t)
    out.insert(Canonical(el->triangles[t * 3], el->triangles[t * 3 + 1], el->triangles[t * 3 + 2]));
  return out;
}

// The two-element mesh of the file tests: a textured body and a glass part.
kxgeometry* TwoElementMesh() {
  meshgen::mesh body = meshgen::Box(2.0f, 1.0f, 0.5f);
  meshgen::mesh glass = meshgen::Sphere(0.3f, 8, 6);
  meshgen::Translate(glass, 0.5f, 0.0f, 0.4f);
  kxgeometry* first = meshgen::ToElement(body, "Fuselage", "Fuselage", GL_T2F_N3F_V3F);
  kxgeometry* second = meshgen::ToElement(glass, "T__glass", "Fuselage/Canopy", GL_V3F);
  std::snprintf(first->textureName, sizeof first->textureName, "fuselage.bmp");
  first->shininess = 12.5f;
  first->specular[0] = 0.25f;
  second->transparent = 1;
  second->diffuse[3] = 0.4f;
  first->next = second;
  return first;
}

}  // namespace

class Mesh : public kxtest::GraphicsTest {
 protected:
  void TearDown() override {
    kxgeometry::Free(&mesh_);
    kxgl::FreeAllTextures();
    GraphicsTest::TearDown();
  }
  std::vector<uint8_t> Bytes(const std::string& path) {
    std::vector<uint8_t> b;
    kxgl::ReadFileBytes(path.c_str(), &b);
    return b;
  }
  kxgeometry* mesh_ = nullptr;
};

TEST_F(Mesh, PositionIsTheLastThreeFloatsInEveryFormat) {
  const uint32_t formats[] = {GL_V3F, GL_C3F_V3F, GL_N3F_V3F, GL_C4F_N3F_V3F,
                              GL_T2F_V3F, GL_T2F_C3F_V3F, GL_T2F_N3F_V3F, GL_T2F_C4F_N3F_V3F};
  const int floats[] = {3, 6, 6, 10, 5, 8, 8, 12};
  for (int f = 0; f < 8; ++f) {
    kxgeometry* el = kxgeometry::Create(formats[f], 2, 0);
    ASSERT_NE(el, nullptr);
    EXPECT_EQ(kxgeometry::FloatsPerVertex(formats[f]), floats[f]);
    const float p[3] = {1, 2, 3};
    ASSERT_EQ(kxgeometry::SetVertexPosition(el, 1, p), 1);
    EXPECT_EQ(el->vertices[floats[f] * 2 - 1], 3.0f);
    kxvector4r n{0, 0, 1, 0}, back{9, 9, 9, 9};
    EXPECT_EQ(kxgeometry::SetVertexNormal(el, 0, n), kxgeometry::HasNormals(formats[f]));
    kxgeometry::GetVertexNormal(el, 0, &back);
    EXPECT_EQ(back.z, kxgeometry::HasNormals(formats[f]) ? 1.0f : 0.0f);
    EXPECT_EQ(back.w, 0.0f);
    kxgeometry::Free(&el);
    EXPECT_EQ(el, nullptr);
  }
}

TEST_F(Mesh, VertexAccessOutsideTheArrayIsRefused) {
  mesh_ = kxgeometry::Create(GL_V3F, 3, 0);
  float p[3] = {7, 7, 7};
  EXPECT_EQ(kxgeometry::GetVertexPosition(mesh_, 3, p), 0);
  EXPECT_EQ(kxgeometry::GetVertexPosition(mesh_, -1, p), 0);
  EXPECT_EQ(kxgeometry::SetVertexPosition(mesh_, 3, p), 0);
  EXPECT_EQ(p[0], 7.0f);
  EXPECT_EQ(kxgeometry::GetVertexPosition(nullptr, 0, p), 0);
  kxgeometry::Free(nullptr);
}

TEST_F(Mesh, StripsDrawExactlyTheTrianglesWithTheirWinding) {
  meshgen::mesh shapes[] = {meshgen::Box(1, 1, 1), meshgen::Sphere(1.0f, 12, 8), meshgen::Torus(1.0f, 0.3f, 10, 6),
                            meshgen::Ground(100.0f, 10, 0.0f)};
  for (meshgen::mesh& shape : shapes) {
    kxgeometry* el = meshgen::ToElement(shape, "x", "", GL_N3F_V3F);
    ASSERT_NE(el, nullptr);
    EXPECT_EQ(StripTriangles(el), ListTriangles(el));
    EXPECT_EQ(el->strips[el->stripWords - 1], 0u);
    kxgeometry::Free(&el);
  }
}

TEST_F(Mesh, HullsOfABoxASphereAndFlatGroundHoldTheirExtremes) {
  mesh_ = meshgen::ToElement(meshgen::Box(2, 4, 6), "box", "", GL_N3F_V3F);
  ASSERT_EQ(mesh_->hullCount, 8);
  for (int i = 0; i < 8; ++i) {
    EXPECT_DOUBLE_EQ(std::fabs(mesh_->hull[i * 3]), 1.0);
    EXPECT_DOUBLE_EQ(std::fabs(mesh_->hull[i * 3 + 2]), 3.0);
    EXPECT_EQ(mesh_->hull4[i * 4 + 3], 1.0f);
  }
  kxgeometry::Free(&mesh_);
  mesh_ = meshgen::ToElement(meshgen::Sphere(1.0f, 12, 8), "s", "", GL_V3F);
  // 12 distinct points on each of 7 rings plus the two poles.
  EXPECT_EQ(mesh_->hullCount, 12 * 7 + 2);
  for (int i = 0; i < mesh_->hullCount; ++i) {
    const double* p = mesh_->hull + i * 3;
    EXPECT_NEAR(std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]), 1.0, 1e-6);
  }
  kxgeometry::Free(&mesh_);
  mesh_ = meshgen::ToElement(meshgen::Ground(200.0f, 8, 0.0f), "g", "", GL_V3F);
  EXPECT_EQ(mesh_->hullCount, 4);  // flat: the four corners
}

TEST_F(Mesh, RestoreUndoesEditsFromTheRestCopy) {
  mesh_ = meshgen::ToElement(meshgen::Box(1, 1, 1), "box", "", GL_N3F_V3F);
  float before[3], moved[3] = {5, 5, 5}, after[3];
  kxgeometry::GetVertexPosition(mesh_, 2, before);
  double hull0 = mesh_->hull[0];
  kxgeometry::SetVertexPosition(mesh_, 2, moved);
  mesh_->hull[0] = 99.0;
  kxgeometry::UpdateBounds(mesh_);
  EXPECT_EQ(mesh_->boundsMax[0], 5.0f);
  kxgeometry::Restore(mesh_);
  kxgeometry::GetVertexPosition(mesh_, 2, after);
  EXPECT_EQ(std::memcmp(before, after, sizeof before), 0);
  EXPECT_EQ(mesh_->hull[0], hull0);
  EXPECT_EQ(mesh_->boundsMax[0], 0.5f);
}

TEST_F(Mesh, BinaryFileRoundTripsBitExactFromTheRestCopy) {
  mesh_ = TwoElementMesh();
  std::string a = Path("x.tgo"), b = Path("y.tgo");
  ASSERT_EQ(kxgeometry::WriteBinary(a.c_str(), mesh_), 1);
  kxgeometry* back = kxgl::ReadMeshFile(a.c_str());
  ASSERT_NE(back, nullptr);
  ASSERT_EQ(kxgeometry::WriteBinary(b.c_str(), back), 1);
  EXPECT_EQ(Bytes(a), Bytes(b));
  EXPECT_STREQ(back->name, "Fuselage");
  EXPECT_STREQ(back->next->group, "Fuselage/Canopy");
  EXPECT_EQ(back->next->transparent, 1);
  EXPECT_STREQ(back->textureName, "fuselage.bmp");
  kxgeometry::Free(&back);
  // The writer emits the rest copy, not moved vertices.
  float p[3] = {40, 40, 40};
  kxgeometry::SetVertexPosition(mesh_, 0, p);
  ASSERT_EQ(kxgeometry::WriteBinary(b.c_str(), mesh_), 1);
  EXPECT_EQ(Bytes(a), Bytes(b));
}

TEST_F(Mesh, TextFileRoundTripsWithinAMillionth) {
  mesh_ = TwoElementMesh();
  std::string path = Path("x.obj");
  ASSERT_EQ(kxgeometry::WriteText(path.c_str(), mesh_), 1);
  kxgeometry* back = kxgl::ReadMeshFile(path.c_str());
  ASSERT_NE(back, nullptr);
  const kxgeometry* a = mesh_;
  const kxgeometry* b = back;
  for (; a && b; a = a->next, b = b->next) {
    EXPECT_STREQ(a->name, b->name);
    EXPECT_STREQ(a->group, b->group);
    EXPECT_STREQ(a->textureName, b->textureName);
    EXPECT_EQ(a->format, b->format);
    EXPECT_EQ(a->transparent, b->transparent);
    EXPECT_EQ(std::memcmp(a->diffuse, b->diffuse, sizeof a->diffuse), 0);
    EXPECT_EQ(a->shininess, b->shininess);
    ASSERT_EQ(a->vertexCount, b->vertexCount);
    ASSERT_EQ(a->triangleCount, b->triangleCount);
    EXPECT_EQ(std::memcmp(a->triangles, b->triangles, sizeof(uint32_t) * 3 * a->triangleCount), 0);
    int floats = kxgeometry::FloatsPerVertex(a->format);
    for (int i = 0; i < a->vertexCount * floats; ++i) EXPECT_NEAR(a->vertices[i], b->vertices[i], 1e-6);
  }
  EXPECT_EQ(a, nullptr);
  EXPECT_EQ(b, nullptr);
  kxgeometry::Free(&back);
}

TEST_F(Mesh, ObjReaderBuildsFormatsFromFacesAndFlipsT) {
  const char* text =
      "# quad\n"
      "o Wing/Aileron\n"
      "g skin\n"
      "Kd 1 0 0 1\n"
      "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n"
      "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
      "f 1/1 2/2 3/3 4/4\n"
      "g plain\n"
      "v 0 0 1 0.5 0.5 0.5\n"
      "f 1 2 -1\n";
  kxgeometry* list = kxgl::ReadTextMesh(text, std::strlen(text));
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->format, static_cast<uint32_t>(GL_T2F_V3F));
  EXPECT_EQ(list->triangleCount, 2);
  EXPECT_STREQ(list->group, "Wing/Aileron");
  EXPECT_EQ(list->diffuse[0], 1.0f);
  EXPECT_EQ(list->vertices[1], 1.0f);  // vt t = 0 is the picture's bottom: stored t = 1
  ASSERT_NE(list->next, nullptr);
  EXPECT_EQ(list->next->format, static_cast<uint32_t>(GL_C3F_V3F));
  kxgeometry::Free(&list);
}

TEST_F(Mesh, ObjReaderRejectsBadIndicesAndNumbers) {
  const char* bad[] = {"v 0 0 0\nf 1 2 3\n", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 0\n", "v 0 nan 0\n",
                       "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1/4 2 3\n", "v 1 2\n"};
  for (const char* text : bad) {
    EXPECT_EQ(kxgl::ReadTextMesh(text, std::strlen(text)), nullptr) << text;
  }
}

class MeshFiles : public Mesh {
 protected:
  // A 2 x 2 grey picture in the test's folder.
  void PutPicture(const char* name) {
    kximage picture;
    picture.width = picture.height = 2;
    picture.channels = 3;
    picture.pixels.assign(12, 200);
    kxgl::WriteBmp(Path(name).c_str(), picture);
  }
  std::vector<uint8_t> ValidFile() {
    mesh_ = meshgen::ToElement(meshgen::Box(1, 1, 1), "box", "", GL_V3F);
    kxgeometry::WriteBinary(Path("ok.tgo").c_str(), mesh_);
    return Bytes(Path("ok.tgo"));
  }
  int LoadBytes(const std::vector<uint8_t>& bytes) {
    std::string path = Path("bad.tgo");
    kxgl::WriteFileBytes(path.c_str(), bytes.data(), bytes.size());
    kxgeometry* slot = nullptr;
    int ok = kxgl::LoadGeometry(path.c_str(), &slot, 0, 0);
    if (ok) {
      EXPECT_NE(slot, nullptr);
    } else {
      EXPECT_EQ(slot, nullptr);
      EXPECT_NE(Log().find("gl:  loading geometry " + path + "=fail\n"), std::string::npos);
    }
    kxgeometry::Free(&slot);
    return ok;
  }
};

// A triangle index equal to the vertex count, one byte short, a huge count
// or a NaN coordinate each refuse the file.
TEST_F(MeshFiles, DamagedFilesAreRejected) {
  const std::vector<uint8_t> bytes = ValidFile();
  EXPECT_EQ(LoadBytes(bytes), 1);
  // Header 12, name 2+3, group 2, format 4, count 4, vertices of 3 floats, triangle count 4.
  const size_t firstFloat = 12 + 5 + 2 + 4 + 4;
  const size_t firstIndex = firstFloat + mesh_->vertexCount * 12 + 4;
  ASSERT_LT(mesh_->vertexCount, 256);
  std::vector<uint8_t> index = bytes, shorter = bytes, count = bytes, nan = bytes;
  index[firstIndex] = static_cast<uint8_t>(mesh_->vertexCount);
  shorter.pop_back();
  count[8] = count[9] = count[10] = count[11] = 0xFF;
  nan[firstFloat] = 0x00, nan[firstFloat + 1] = 0x00, nan[firstFloat + 2] = 0xC0, nan[firstFloat + 3] = 0x7F;
  for (const auto* damaged : {&index, &shorter, &count, &nan}) EXPECT_EQ(LoadBytes(*damaged), 0);
}

// A file that gives no mesh says why before the result line: missing,
// empty, a folder, or bytes that are neither text nor the binary format.
TEST_F(MeshFiles, AFileThatGivesNoMeshSaysWhy) {
  std::filesystem::create_directories(Path("folder.obj"));
  kxgl::WriteFileBytes(Path("empty.obj").c_str(), "", 0);
  const uint8_t binary[] = {0x4D, 0x5A, 0x90, 0x00, 0x03, 0x00, 0x00, 0x00, 0x04, 0x00, 0xFF, 0xFF, 0xB8, 0x00};
  kxgl::WriteFileBytes(Path("binary.obj").c_str(), binary, sizeof binary);
  const struct {
    const char* file;
    const char* said;
  } files[] = {
      {"missing.obj", ": not found\n"},
      {"empty.obj", ": empty file\n"},
      {"folder.obj", ": a folder\n"},
      {"binary.obj", ": binary bytes without the header of a binary mesh\n"},
  };
  for (const auto& f : files) {
    SCOPED_TRACE(f.file);
    capture_.Clear();
    const std::string path = Path(f.file);
    kxgeometry* slot = nullptr;
    EXPECT_EQ(kxgl::LoadGeometry(path.c_str(), &slot, 0, 0), 0);
    EXPECT_EQ(Log(), "gl:  " + path + f.said + "gl:  loading geometry " + path + "=fail\n");
  }
}

TEST_F(MeshFiles, PreferBinaryTakesTheTwinUnlessItIsOlder) {
  mesh_ = TwoElementMesh();
  std::string obj = Path("x.obj"), tgo = Path("x.tgo");
  kxgeometry::WriteText(obj.c_str(), mesh_);
  kxgeometry* single = meshgen::ToElement(meshgen::Box(1, 1, 1), "twin", "", GL_V3F);
  kxgeometry::WriteBinary(tgo.c_str(), single);
  kxgeometry::Free(&single);
  kxgeometry* slot = nullptr;
  ASSERT_EQ(kxgl::LoadGeometry(obj.c_str(), &slot, 1, 0), 1);
  EXPECT_STREQ(slot->name, "twin");
  ASSERT_EQ(kxgl::LoadGeometry(obj.c_str(), &slot, 0, 0), 1);
  EXPECT_STREQ(slot->name, "Fuselage");
  // The text saved after the binary: the twin is stale.
  std::filesystem::last_write_time(tgo, std::filesystem::last_write_time(obj) - std::chrono::seconds(5));
  ASSERT_EQ(kxgl::LoadGeometry(obj.c_str(), &slot, 1, 0), 1);
  EXPECT_STREQ(slot->name, "Fuselage");
  kxgeometry::Free(&slot);
}

TEST_F(MeshFiles, LoadGeometryLoadsElementTexturesBesideTheMesh) {
  mesh_ = TwoElementMesh();
  PutPicture("fuselage.bmp");
  kxgeometry::WriteBinary(Path("m.tgo").c_str(), mesh_);
  kxgeometry* slot = nullptr;
  ASSERT_EQ(kxgl::LoadGeometry(Path("m.tgo").c_str(), &slot, 1, 0), 1);
  ASSERT_NE(slot->texture, nullptr);
  EXPECT_EQ(slot->texture->type, kxgl::kTypeRGB);
  ASSERT_NE(slot->info, nullptr);
  EXPECT_EQ(slot->info->textureCount, 1);
  EXPECT_EQ(kxgl::TexturesInUse(), 1);
  kxgeometry::Free(&slot);
  EXPECT_EQ(kxgl::TexturesInUse(), 0);
}

// A texture the mesh names is found beside it or in "texture/"; a name that
// would lead out of the data folder is not even looked for, and one that is
// found nowhere is said too. The mesh loads either way.
TEST_F(MeshFiles, TexturesOutsideTheDataFolderOrMissingAreLeftOffWithALogLine) {
  PutPicture("evil.bmp");
  std::filesystem::create_directories(Path("aircraft"));
  const char* names[] = {"../evil.bmp", "missing.bmp", "/etc/evil.bmp"};
  for (const char* name : names) {
    SCOPED_TRACE(name);
    mesh_ = TwoElementMesh();
    std::snprintf(mesh_->textureName, sizeof mesh_->textureName, "%s", name);
    const std::string path = Path("aircraft/m.tgo");
    kxgeometry::WriteBinary(path.c_str(), mesh_);
    kxgeometry::Free(&mesh_);
    kxgeometry* slot = nullptr;
    ASSERT_EQ(kxgl::LoadGeometry(path.c_str(), &slot, 1, 0), 1);
    EXPECT_EQ(slot->texture, nullptr);
    EXPECT_EQ(kxgl::TexturesInUse(), 0);
    const std::string said = std::string(name) == "missing.bmp" ? " not found\n" : " leaves the data folder; ignored\n";
    EXPECT_NE(Log().find("gl:  " + path + ": texture " + name + said), std::string::npos) << Log();
    kxgeometry::Free(&slot);
  }
}
