// kxgeometricobject: a node of the geometry tree - a mesh placed by a frame
// in its parent's frame. Aircraft parts, scenery objects and geometry
// scripts are trees of them. The node edits its mesh in place (the rest
// shape is kept in each element's stored copy), measures it (area, centroid,
// inertia, extents, projected areas, plane cuts) and is picked by rays.
//
// Sections: the node and its members (geometric_object.cpp); mesh edits
// (geometric_object_edit.cpp); integrals (geometric_integrals.cpp); picking
// (pick.cpp).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/matrix.h"
#include "core/node.h"
#include "graphics/collision_contact.h"

struct kxgeometry;
struct kxtexture;

class kxgeometricobject : public kxnode {
 public:
  static kxtype Type;

  // Draw kinds in Flags.
  static constexpr int kFlagList = 1;
  static constexpr int kFlagDirect = 2;
  static constexpr int kFlagRotating = 4;

  kxmatrix Matrix;              // frame in the parent's frame; X at floats 0-3
  kxvector4r* X;                // axis and position pointers, by default into Matrix
  kxvector4r* Y;
  kxvector4r* Z;
  kxvector4r* R;
  kxmatrix MatrixObj;           // placement given by the script; identity by default
  kxmatrix MatrixDraw;          // world matrix composed for drawing; rotating parts' bodies follow it
  kxgeometry* mesh = nullptr;   // own element list, null without a mesh
  int32_t ownsMesh = 0;         // 1: freed with the node; clones share their source's mesh
  kxnode* Object = nullptr;     // owning component
  kxboxrecord box;              // collision shape from the mesh bounds, own frame
  int32_t Flags = 0;            // draw kind bits
  kxtexture* discTexture = nullptr;  // blur disc, owned by the views
  float discRadius = 0.0f;      // m
  float Shiny = 0.0f;           // 0..1 reflection value
  float boundsMin[3];           // m, subtree bounds in the own frame (children by their Matrix)
  float boundsMax[3];

  kxgeometricobject();
  ~kxgeometricobject() override;
  kxvalueptr GetMember(const char* member, const kxargs& args) override;
  void CopyTo(kxnode* other) override;
  int GetMemberName(const void* position, kxstring& out) override;

  // A pointer value or node value of this type (or a derived one), else null.
  static kxgeometricobject* FromValue(const kxvalue* value);
  // The owner goes into Object of this object and every descendant.
  void SetOwner(kxnode* owner);
  // Takes the list as the own mesh (freeing the old one when owned).
  void SetMesh(kxgeometry* list);

  // Folder that relative "Mesh" file names are read from; set by whoever
  // runs a geometry script ("" = the working folder).
  static void SetScriptFolder(const char* folder);
  // Distributes the list over the tree below root by each element's group
  // (its object path below root, "" = root), keeping file order; unknown
  // groups go to root. A null list redistributes what the tree holds.
  static void AttachMesh(kxgeometricobject* root, kxgeometry* list);
  // Writes the tree's elements (rest copies) as one mesh file with their
  // groups: binary ".tgo" or text. 1, or 0 when nothing could be written.
  static int WriteMesh(kxgeometricobject* root, const char* path, int binary);
  // The bytes WriteMesh would write into out; 0 when the tree holds no mesh.
  static int MeshBytes(kxgeometricobject* root, int binary, std::string* out);

  // --- mesh edits: every element of the own list; vertex index i runs over
  // the elements' vertices one after another.
  // This object and all descendants: Matrix := identity, rest shape back,
  // bounds recomputed. Computes no normals.
  void Rebuild();
  // Rest shape back for this object only; Matrix unchanged.
  void RestoreVertices();
  void RestoreMesh() { RestoreVertices(); }
  // The live shape becomes the rest shape.
  void StoreVertices();
  // Positions as points, normals as directions (not renormalised), hulls as points.
  void Transform(const kxmatrix& M);
  // Matrix := F, mesh by F's inverse, each child's Matrix := F^-1 * MatrixObj.
  // 1, or 0 (nothing changed) for a singular or non-finite F.
  int ApplyFrame(const kxmatrix& F);
  void Move(const kxvector4r& v);
  // out = M * (position i, 1); (0, 0, 0, 1) without a mesh or for a bad index.
  void TransformVertex(kxvector4r* out, int i, const kxmatrix& M) const;
  // Position i := xyz of M^-1 p; nothing without a mesh, for a bad index or a singular M.
  void VertexInFrame(int i, const kxvector4r& p, const kxmatrix& M);
  // Mesh bounds and box record, then the subtree bounds, recursively.
  void UpdateBounds();
  int VertexCount() const;

  // --- integrals over this object and its descendants, each placed by M
  // times the Matrix chain below this object.
  float SurfaceCentroid(kxvector4r* out, const kxmatrix& M) const;
  float SurfaceInertia(float out[16], const kxmatrix& M) const;
  float FarthestVertex(const kxvector4r& dir, kxvector4r* out, const kxmatrix& M) const;
  void ExtentAlong(const kxvector4r& dir, float* min, float* max, const kxmatrix& M) const;
  float ProjectedArea(const kxvector4r& dir, const kxmatrix& M) const;
  float ProjectedAreaBeyond(const kxvector4r& normal, const kxvector4r& point, const kxvector4r& dir,
                            const kxmatrix& M) const;
  // Appends two points per cut triangle; returns the number of cut triangles.
  int CutByPlane(const kxvector4r& point, const kxvector4r& normal, std::vector<kxvector4r>& out,
                 const kxmatrix& M) const;

  // --- picking: the segment start-end against every triangle (both sides)
  // of this object and its descendants, each placed by M times its Matrix
  // chain, this object's own Matrix included. 1 and *dist when the nearest
  // hit lies closer than 1000, else 0 with *dist untouched.
  int Pick(const kxvector4r& start, const kxvector4r& end, float* dist, const kxmatrix& M) const;

 private:
  void UpdateMeshBox();
};

namespace kxgraphics {

// Registers the node types of the graphics library. Call after kxscript::Init.
void RegisterTypes();

}  // namespace kxgraphics
