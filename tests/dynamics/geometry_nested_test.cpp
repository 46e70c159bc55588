// A body drawn with an object nested inside the fuselage's geometry: its
// Matrix is relative to the fuselage's object, its mesh is measured apart
// from the fuselage's, and both draw where the aircraft is.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "core/output.h"
#include "dynamics/aircraft.h"
#include "dynamics/driver.h"
#include "dynamics/geometry_link.h"
#include "dynamics/load.h"
#include "dynamics/writers.h"
#include "dynamics_support.h"
#include "graphics/mesh.h"
#include "tools/meshgen/meshgen.h"

namespace {

using kxdtest::loading;

// The pod comes first so that neither the owner marks nor the analysis nor
// the visual update depend on the fuselage going first.
const char* const kPodPlane =
    "// Skyvane aircraft\n//\n//\n//\n// version: 1.8.0\n//\n// type:    0\n"
    "Append kxdbody Pod\ncd Pod/\nGeometry( \"~Geometry/Body/Pod/\" )\nMass = 0.5\ncd ../\n"
    "Append kxdfuselage00 Fuselage\ncd Fuselage/\nGeometry( \"~Geometry/Body/\" )\nMass = 2\n"
    "cd ../\n";

const char* const kPodScript =
    "Append kxgeometricobject Body\ncd Body/\n"
    "Append kxgeometricobject Pod\ncd Pod/\n"
    "Append kxgeometricobject Fin\ncd Fin/\ncd ../\ncd ../\n"
    "cd ../\n";

// A box in aircraft coordinates: centre and size, m.
struct box {
  float cx, cy, cz, sx, sy, sz;
  float Area() const { return 2.0f * (sx * sy + sx * sz + sy * sz); }
};
const box kBody = {0.3f, 0.0f, 0.1f, 1.0f, 0.5f, 0.25f};
const box kPod = {0.3f, 0.0f, -0.3f, 0.2f, 0.1f, 0.1f};
const box kFin = {0.35f, 0.0f, -0.2f, 0.05f, 0.01f, 0.1f};

kxgeometricobject* Object(kxnode* root, const char* path) { return kxdgeometry::From(kxnode::Find(path, root)); }

// The object's placement from the root: its Matrix chain.
kxmatrix Chain(kxgeometricobject* o) {
  kxmatrix m = o->Matrix;
  for (kxgeometricobject* p = kxdgeometry::From(o->parent); p; p = kxdgeometry::From(p->parent)) {
    kxmatrix::Multiply4x4(&m, &p->Matrix, &m);
  }
  return m;
}

// Expects the object's own mesh, placed by M, to fill the box moved by
// shift and then placed by pose.
void ExpectPlacedBox(kxgeometricobject* o, const kxmatrix& M, const box& b, const kxvector4r& shift,
                     const kxmatrix& pose) {
  ASSERT_NE(o, nullptr);
  ASSERT_GT(o->VertexCount(), 0);
  float lo[3] = {INFINITY, INFINITY, INFINITY}, hi[3] = {-INFINITY, -INFINITY, -INFINITY};
  for (int i = 0; i < o->VertexCount(); ++i) {
    kxvector4r p;
    o->TransformVertex(&p, i, M);
    for (int k = 0; k < 3; ++k) {
      lo[k] = std::min(lo[k], (&p.x)[k]);
      hi[k] = std::max(hi[k], (&p.x)[k]);
    }
  }
  float elo[3] = {INFINITY, INFINITY, INFINITY}, ehi[3] = {-INFINITY, -INFINITY, -INFINITY};
  for (int c = 0; c < 8; ++c) {
    kxvector4r corner = {b.cx + shift.x + ((c & 1) ? 0.5f : -0.5f) * b.sx,
                         b.cy + shift.y + ((c & 2) ? 0.5f : -0.5f) * b.sy,
                         b.cz + shift.z + ((c & 4) ? 0.5f : -0.5f) * b.sz, 1.0f};
    kxvector4r p;
    kxmatrix::TransformVector4(&p, &pose, &corner);
    for (int k = 0; k < 3; ++k) {
      elo[k] = std::min(elo[k], (&p.x)[k]);
      ehi[k] = std::max(ehi[k], (&p.x)[k]);
    }
  }
  for (int k = 0; k < 3; ++k) {
    EXPECT_NEAR(lo[k], elo[k], 1e-4f) << o->name.Text() << " axis " << k;
    EXPECT_NEAR(hi[k], ehi[k], 1e-4f) << o->name.Text() << " axis " << k;
  }
}

void ExpectMatrixNear(const kxmatrix& a, const kxmatrix& b, const char* what) {
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(a[i], b[i], 1e-4f) << what << " element " << i;
}

class nestedgeometry : public loading {
 protected:
  void PutMesh(const char* name, const box& fuselageBox) {
    kxgeometricobject root;
    kxgeometricobject* parent = &root;
    const char* groups[] = {"Body", "Body/Pod", "Body/Pod/Fin"};
    const char* names[] = {"Body", "Pod", "Fin"};
    const box* boxes[] = {&fuselageBox, &kPod, &kFin};
    for (int i = 0; i < 3; ++i) {
      kxgeometricobject* o = kxdtest::AddObject(parent, names[i]);
      meshgen::mesh m = meshgen::Box(boxes[i]->sx, boxes[i]->sy, boxes[i]->sz);
      meshgen::Translate(m, boxes[i]->cx, boxes[i]->cy, boxes[i]->cz);
      o->SetMesh(meshgen::ToElement(m, "paint", groups[i], GL_N3F_V3F));
      parent = o;
    }
    std::string path = std::string("aircraft/") + name + "/" + name + ".tgo";
    ASSERT_EQ(kxgeometricobject::WriteMesh(&root, path.c_str(), 1), 1);
  }
  void SetUp() override {
    loading::SetUp();
    PutAircraft("pod", kPodPlane);
    Put("aircraft/pod/pod.kxg", kPodScript);
    PutMesh("pod", kBody);
    ASSERT_EQ(kxdaircraftinstance::AircraftLoad("pod", 0), 1) << kxtest::logcapture::Text();
    instance = kxdaircraftinstance::Loaded(0);
    fuselage = instance->MainBody;
    pod = kxdbody::As(instance->Template->FindChild("Pod"));
    ASSERT_NE(pod, nullptr);
    ASSERT_EQ(fuselage->name, "Fuselage");
  }
  // How far the meshes moved from where the file put them: the summary
  // places the fuselage's mass, never a mesh.
  kxvector4r Shift() const { return {0.0f, 0.0f, 0.0f, 0.0f}; }
  kxdaircraftinstance* instance = nullptr;
  kxdbody* fuselage = nullptr;
  kxdbody* pod = nullptr;
};

TEST_F(nestedgeometry, EachBodyIsMeasuredFromItsOwnParts) {
  // The fuselage alone, as a plane without the pod, for comparison.
  PutAircraft("plain",
              "//\n//\n//\n//\n// version: 1.8.0\n//\n// type:    0\n"
              "Append kxdfuselage00 Fuselage\ncd Fuselage/\nGeometry( \"~Geometry/Body/\" )\nMass = 2\ncd ../\n");
  Put("aircraft/plain/plain.kxg", "Append kxgeometricobject Body\ncd Body/\ncd ../\n");
  kxgeometricobject root;
  kxgeometricobject* body = kxdtest::AddObject(&root, "Body");
  meshgen::mesh m = meshgen::Box(kBody.sx, kBody.sy, kBody.sz);
  body->SetMesh(meshgen::ToElement(m, "paint", "Body", GL_N3F_V3F));
  ASSERT_EQ(kxgeometricobject::WriteMesh(&root, "aircraft/plain/plain.tgo", 1), 1);
  ASSERT_EQ(kxdaircraftinstance::AircraftLoad("plain", 1), 1);
  kxdbody* plain = kxdaircraftinstance::Loaded(1)->MainBody;

  ASSERT_EQ(kxdgeometry::AsNode(pod->Geometry), kxnode::Find("Body/Pod", instance->GeometryTemplate));
  EXPECT_EQ(pod->Geometry->Object, pod);
  EXPECT_EQ(Object(instance->GeometryTemplate, "Body/Pod/Fin")->Object, pod);
  EXPECT_EQ(fuselage->Geometry->Object, fuselage);
  // The pod's centroid takes in its fin, the fuselage's neither.
  kxvector4r shift = Shift();
  float a = kPod.Area(), f = kFin.Area();
  EXPECT_NEAR(pod->B.R.x - shift.x, (a * kPod.cx + f * kFin.cx) / (a + f), 1e-5f);
  EXPECT_NEAR(pod->B.R.z - shift.z, (a * kPod.cz + f * kFin.cz) / (a + f), 1e-5f);
  EXPECT_NEAR(fuselage->B.R.y, 0.0f, 1e-6f);
  // The pod stays; the fuselage's mass brings the centre to rest on CG.
  EXPECT_NEAR((fuselage->Mass * fuselage->B.R.x + pod->Mass * pod->B.R.x) / 2.5f, 0.0f, 1e-5f);
  EXPECT_NEAR((fuselage->Mass * fuselage->B.R.z + pod->Mass * pod->B.R.z) / 2.5f, 0.0f, 1e-5f);
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(fuselage->Inertia[i], plain->Inertia[i], 1e-5f) << i;
  EXPECT_FLOAT_EQ(pod->Inertia[15], 0.5f);
  EXPECT_GT(pod->Inertia[5], pod->Inertia[0]);
  EXPECT_NEAR(pod->ContactPoints[0].z, -0.5f * kPod.sz - ((a * kPod.cz + f * kFin.cz) / (a + f) - kPod.cz), 1e-5f);
  // Matrices relative to the parent object, placing each at its body.
  kxmatrix inverse, relative;
  kxmatrix::Invert(fuselage->B, inverse);
  kxmatrix::Multiply4x4(&relative, &inverse, &pod->B);
  ExpectMatrixNear(pod->Geometry->Matrix, relative, "pod Matrix");
  ExpectMatrixNear(Chain(pod->Geometry), pod->B, "pod chain");
  ExpectMatrixNear(Chain(fuselage->Geometry), fuselage->B, "fuselage chain");
  // A second analysis in the other order changes nothing.
  kxmatrix before = pod->B;
  fuselage->Analyse();
  pod->Analyse();
  ExpectMatrixNear(pod->B, before, "pod frame");
  ExpectMatrixNear(pod->Geometry->Matrix, relative, "pod Matrix again");
}

TEST_F(nestedgeometry, DrawnObjectsLandWhereTheAircraftIs) {
  kxmatrix pose;
  kxmatrix::SetIdentity(&pose);
  pose.X = {0.0f, 1.0f, 0.0f, 0.0f};
  pose.Y = {-1.0f, 0.0f, 0.0f, 0.0f};
  pose.R = {10.0f, 20.0f, 30.0f, 1.0f};
  // PlaceAt puts the main body's frame at the pose; the aircraft frame is
  // where its frame sat in the template.
  kxmatrix aircraft, inverse;
  kxmatrix::Invert(fuselage->B, inverse);
  kxmatrix::Multiply4x4(&aircraft, &pose, &inverse);
  kxdaircraftinstance::PlaceAt(instance, pose, {});
  kxdynamics::UpdateVisuals();
  kxnode* drawn = instance->Graphics;
  kxdbody* simPod = kxdbody::As(instance->Clone->FindChild("Pod"));
  ASSERT_NE(simPod, nullptr);
  ASSERT_EQ(kxdgeometry::AsNode(simPod->Geometry), kxnode::Find("Body/Pod", drawn));
  // The drawn objects know their simulated bodies, so each is placed
  // relative to its carrier's frame of this frame.
  EXPECT_EQ(Object(drawn, "Body/Pod")->Object, simPod);
  EXPECT_EQ(Object(drawn, "Body")->Object, instance->SimMainBody);
  ExpectMatrixNear(Object(drawn, "Body")->MatrixDraw, instance->SimMainBody->B, "fuselage draw");
  ExpectMatrixNear(Object(drawn, "Body/Pod")->MatrixDraw, simPod->B, "pod draw");
  kxvector4r shift = Shift();
  ExpectPlacedBox(Object(drawn, "Body"), Object(drawn, "Body")->MatrixDraw, kBody, shift, aircraft);
  ExpectPlacedBox(Object(drawn, "Body/Pod"), Object(drawn, "Body/Pod")->MatrixDraw, kPod, shift, aircraft);
  ExpectPlacedBox(Object(drawn, "Body/Pod/Fin"), Object(drawn, "Body/Pod/Fin")->MatrixDraw, kFin, shift, aircraft);
  // The Matrix chain agrees with what is drawn.
  ExpectMatrixNear(Chain(Object(drawn, "Body/Pod/Fin")), Object(drawn, "Body/Pod/Fin")->MatrixDraw, "fin chain");
  // Falling, the pod is updated before its carrier and still drawn at its
  // own frame.
  kxdynamics::Start(nullptr);
  kxdaircraftinstance::PlaceAt(instance, pose, {});
  simPod = kxdbody::As(instance->Clone->FindChild("Pod"));
  float placedZ = simPod->B.R.z;
  for (int i = 0; i < 10; ++i) kxdynamics::Step(1.0f / 60.0f, nullptr);
  drawn = instance->Graphics;
  ASSERT_LT(simPod->B.R.z, placedZ - 0.1f);
  ExpectMatrixNear(Object(drawn, "Body/Pod")->MatrixDraw, simPod->B, "falling pod draw");
  ExpectMatrixNear(Chain(Object(drawn, "Body/Pod")), simPod->B, "falling pod chain");
}

TEST_F(nestedgeometry, RebasedMeshesStayInTheirFramesWhenRebasedTwice) {
  kxvector4r shift = Shift();
  kxmatrix identity;
  kxmatrix::SetIdentity(&identity);
  for (int run = 0; run < 2; ++run) {
    kxdaircraftinstance::UpdateTemplateGraphics(instance);
    kxgeometricobject* g = instance->GeometryTemplate ? kxdgeometry::From(instance->GeometryTemplate) : nullptr;
    ASSERT_NE(g, nullptr);
    for (const char* path : {"Body", "Body/Pod", "Body/Pod/Fin"}) {
      kxgeometricobject* o = Object(g, path);
      ExpectPlacedBox(o, Chain(o), std::string(path) == "Body" ? kBody : std::string(path) == "Body/Pod" ? kPod : kFin,
                      shift, identity);
    }
    // The pod's mesh sits around its own origin.
    kxgeometricobject* p = Object(g, "Body/Pod");
    kxvector4r v;
    p->TransformVertex(&v, 0, identity);
    EXPECT_LT(std::fabs(v.z), kPod.sz);
  }
}

TEST_F(nestedgeometry, WrittenAircraftReloadsAndWritesTheSameBytes) {
  kxdaircraftinstance::SetName(instance, "podcopy");
  ASSERT_EQ(kxdwriters::WriteGeometryFile(instance), 1);
  ASSERT_EQ(kxdwriters::ExportMeshes(instance, "", ""), 1);
  ASSERT_EQ(kxdwriters::WriteAircraftFile(instance), 1);
  std::string components = Get("aircraft/podcopy/podcopy.kxd");
  std::string geometry = Get("aircraft/podcopy/podcopy.kxg");
  EXPECT_EQ(geometry, kPodScript);
  EXPECT_NE(components.find("Geometry( \"~Geometry/Body/Pod/\" )\n"), std::string::npos);
  kxmatrix podFrame = pod->B;
  ASSERT_EQ(kxdaircraftinstance::AircraftLoad("podcopy", 0), 1);
  instance = kxdaircraftinstance::Loaded(0);
  pod = kxdbody::As(instance->Template->FindChild("Pod"));
  ASSERT_NE(pod, nullptr);
  ExpectMatrixNear(pod->B, podFrame, "reloaded pod");
  ASSERT_EQ(kxdwriters::WriteGeometryFile(instance), 1);
  ASSERT_EQ(kxdwriters::WriteAircraftFile(instance), 1);
  EXPECT_EQ(Get("aircraft/podcopy/podcopy.kxd"), components);
  EXPECT_EQ(Get("aircraft/podcopy/podcopy.kxg"), geometry);
}

}  // namespace
