// Mesh generator: primitives, wing panels lofted from airfoil coordinates,
// bodies of revolution, twisted blades and ground, built as plain vertex and
// triangle lists and turned into mesh elements. Used by make_mesh to author
// data and by the tests to build meshes in code.
//
// Axes: x forward, y left, z up (aircraft coordinates). Triangles wind
// counter-clockwise seen from outside.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct kxgeometry;

namespace meshgen {

struct vertex {
  float p[3];                    // m
  float n[3];                    // unit normal
  float t[2];                    // texture coordinates, t = 0 at the top row
  float c[4] = {1, 1, 1, 1};     // colour
};

struct mesh {
  std::vector<vertex> vertices;
  std::vector<uint32_t> triangles;  // 3 per triangle
};

mesh Box(float sizeX, float sizeY, float sizeZ);                       // centred
mesh Cylinder(float radius, float length, int segments);               // along z, capped, centred
mesh Sphere(float radius, int slices, int stacks);
mesh Torus(float ringRadius, float tubeRadius, int segments, int sides);  // around z
// Square of side size (m) centred at the origin, cells x cells quads; heights
// roll with amplitude (m) in gentle waves (0 = flat).
mesh Ground(float size, int cells, float amplitude);
// Symmetric NACA four-digit section (the last two digits are the thickness
// in percent of the chord), upper and lower surfaces from x = 0 to 1.
struct airfoil {
  std::vector<std::pair<float, float>> upper;  // (x, y), x rising from 0 to 1
  std::vector<std::pair<float, float>> lower;
};
airfoil Naca4(int code, int points);
// A wing panel between span fractions [spanFrom, spanTo] of a wing reaching
// from y = 0 to y = span (m), leading edge at x = 0 at the root, trailing
// edge towards -x. Only the chord part [chordFrom, chordTo] (fractions from
// the leading edge) is built, so a hinged control surface is the panel
// behind its hinge line and the fixed part the one before. Sweep, dihedral
// and twist (tip minus root, nose up positive) in degrees.
struct wingpanel {
  float span = 1.0f;
  float rootChord = 0.2f;
  float tipChord = 0.2f;
  float sweepDeg = 0.0f;
  float dihedralDeg = 0.0f;
  float twistDeg = 0.0f;
  int spanSteps = 4;
  int chordSteps = 12;
  float spanFrom = 0.0f;
  float spanTo = 1.0f;
  float chordFrom = 0.0f;
  float chordTo = 1.0f;
};
mesh WingPanel(const airfoil& section, const wingpanel& panel);
// The panel split at a hinge (chord share): the fixed part in front of it
// and the control surface behind it.
void HingedPanel(const airfoil& section, wingpanel panel, float hinge, mesh* fixed, mesh* surface);
// A wing half, full chord inboard of span share from, with an aileron
// behind the hinge outboard of it (wing holds the fixed parts).
void AileronWing(const airfoil& section, wingpanel panel, float from, float hinge, mesh* wing, mesh* aileron);
// Body of revolution around the x axis; profile = (x, radius) pairs, front first.
mesh BodyOfRevolution(const std::vector<std::pair<float, float>>& profile, int segments);
// Rotor blade along +y from hub radius to radius with linear chord and pitch
// (degrees, nose up) from root to tip, chord along x with the quarter chord on
// the y axis, flat-bottomed section; spins about z (a propeller: RotateY 90).
mesh Blade(float hubRadius, float radius, float rootChord, float tipChord, float rootPitchDeg, float tipPitchDeg,
           int steps);

// Scenery shapes. A terrain patch sizeX by sizeY (m) centred at the origin,
// cellsX by cellsY quads, heights from height(x, y); its texture repeats every
// tile metres (0: once over the patch).
mesh Terrain(float sizeX, float sizeY, int cellsX, int cellsY, float tile,
             const std::function<float(float, float)>& height);
// A house standing on z = 0, centred at the origin: box walls width (x) by
// depth (y) by wallHeight, and a gable roof rising roofHeight to a ridge along x.
void House(float width, float depth, float wallHeight, float roofHeight, mesh* walls, mesh* roof);
// A billboard tree: two crossed upright cards, each seen from both sides,
// standing on the origin (texture t = 0 at the top).
mesh TreeCards(float width, float height);
// Wind-wheel blades turning about the x axis: a hub and count closed blades
// of the given length and chord, centred on the origin.
mesh WindBlades(int count, float length, float chord);
// A wind-wheel base: a tower from z = 0 up to height and the nacelle on top,
// behind the hub (towards -x).
mesh WindTower(float height, float radius, float hubLength);
// One of the scenery shapes by name as a finished element list: "balloon"
// (unit sphere), "windblades", "windtower", "house", "tree" (a billboard);
// null for another name.
kxgeometry* SceneryShape(const char* name);

void Translate(mesh& m, float x, float y, float z);
// Rotation about the z axis by degrees (positions and normals).
void RotateZ(mesh& m, float degrees);
// Rotation about the y axis by degrees; positive lowers the -x side (nose
// up for a section whose trailing edge points to -x).
void RotateY(mesh& m, float degrees);
void Mirror(mesh& m);  // y := -y with windings reversed
void AddMirrorImage(mesh& m);  // a half made whole across y = 0
// Span along +z instead of +y: a wing panel turned into a fin.
void StandUp(mesh& m);
void Append(mesh& to, const mesh& from);
void Paint(mesh& m, float r, float g, float b, float a);

// A finished mesh element (strips, hull, rest copy); null on a bad format.
kxgeometry* ToElement(const mesh& m, const char* name, const char* group, uint32_t format);
// An element with normals in one material colour (rgb[3]; ambient 0.3 of it).
kxgeometry* ColouredElement(const mesh& m, const char* name, const char* group, const float* rgb);
// Links count elements into one list in order; when any is null (a part
// that failed) the others are freed too and the result is null, so a model
// is either whole or absent.
kxgeometry* Chain(kxgeometry* const* parts, size_t count);

// The simulator's meshes: the menu's scenery card (a frame, then the picture
// face that shows the scenery's preview), the race pylon (two coloured
// parts, 8 m high, standing on z = 0) and the horizon ball (sky, ground).
kxgeometry* SceneryCard();
kxgeometry* Pylon();
kxgeometry* HorizonBall();

// The demo aircraft: fuselage, wing with ailerons as child groups, tail
// with elevator and rudder, canopy, two-blade propeller.
kxgeometry* DemoAircraft();
// The sample glider: fuselage, wing halves with ailerons, tailplane with
// elevator, fin with rudder, main and tail wheel; groups name the objects of
// its geometry script.
kxgeometry* Glider();

// A powered sample airplane, described by the sizes its mesh and its
// component file share. Wings are lofted half by half; each half of a wing
// with ailerons carries its aileron on the outer half of its span.
struct samplewing {
  const char* name = "";     // "" for a monoplane, else "Upper"/"Lower"
  float halfSpan = 0.6f;     // m
  float rootChord = 0.22f;   // m
  float tipChord = 0.22f;    // m
  float leadingX = 0.06f;    // m, leading edge at the root
  float z = 0.0f;            // m, root height
  float dihedralDeg = 0.0f;
  float incidenceDeg = 0.0f;  // nose up, about the root leading edge
  float washoutDeg = 0.0f;    // the tip turned nose down against the root
  int naca = 2412;
  bool ailerons = true;
};
struct sampleairplane {
  std::vector<std::pair<float, float>> fuselage;  // (x, radius), nose first
  std::vector<samplewing> wings;
  float tailX = -0.6f;          // m, tailplane leading edge
  float tailZ = 0.0f;           // m
  float tailHalfSpan = 0.22f;   // m
  float tailChord = 0.12f;      // m
  float tailIncidenceDeg = -1.0f;
  float finSpan = 0.16f;        // m
  float finChord = 0.14f;       // m
  float propellerX = 0.0f;      // m, hub; no propeller when radius is 0
  float propellerRadius = 0.0f; // m
  float propellerPitch = 0.0f;  // m of advance per turn
  struct wheel {
    float x, y, z;  // m, hub
    float radius;   // m
  };
  std::vector<wheel> wheels;  // Wheel1, Wheel2, ... in this order
  // A landing-gear leg: a round strut from where it is mounted on the
  // airframe down to a wheel's hub.
  struct leg {
    float top[3];     // m, mounting point
    float bottom[3];  // m, at the hub
  };
  std::vector<leg> legs;    // Gear1, Gear2, ... in this order
  float legRadius = 0.005f; // m
  float body[3] = {0.8f, 0.8f, 0.8f};
  float trim[3] = {0.8f, 0.1f, 0.1f};
};
// The airplane's mesh elements; groups name the objects of its geometry
// script: Fuselage, Left<name>Wing/Left<name>Aileron, Right..., Stabilizer/
// Elevator, Fin/Rudder, Propeller/Blade1, Propeller/Blade2, Wheel1... and
// Gear1....
kxgeometry* SampleAirplane(const sampleairplane& plane);

}  // namespace meshgen
