// The matrices a view is drawn with: the camera's view matrix, the
// billboard matrix that turns trees and markers towards the viewer, the
// side planes the trees are culled against, and the record of the last
// scene pass that later drawing of the same frame reads. Pure arithmetic;
// no OpenGL here.
#pragma once

namespace sim {

// The matrices the last scene pass left (16 floats each, column-major).
struct sceneview {
  float view[16];        // V: world to camera; the camera looks along X, Y left, Z up
  float projection[16];  // P: read back after the projection was set
  float billboard[16];   // B: cylindrical between passes, spherical once particles drew
  float cull[2][3];      // inward normals of the widened side planes
};

// The program's one record; B starts as the identity.
sceneview& SceneView();
// V, B and the culling vectors back to their start (tests).
void ResetSceneView();

// V from the eye and the camera axes (X forward, Y left, Z up): rows
// (-Y, Y.eye), (Z, -Z.eye), (-X, X.eye), (0, 0, 0, 1).
void ViewMatrix(const float eye[3], const float X[3], const float Y[3], const float Z[3], float out[16]);

// Turns B's local Y across the view, keeping local Z vertical. A camera
// looking straight up or down has no horizontal direction: B is left as it
// was and 0 returned.
int CylindricalBillboard(const float X[3], float B[16]);

// B's rotation := the transpose of V's, so local X and Y become the screen's
// right and up; the translation is kept.
void SphericalBillboard(const float V[16], float B[16]);

// Inward normals of the two side planes of a frustum 25 % wider than the
// view: k = 1.25 N aspect, e1 = normalise(k X + near Y), e2 = normalise(k X - near Y).
void CullingVectors(float halfHeight, float aspect, float nearZ, const float X[3], const float Y[3], float e1[3],
                    float e2[3]);

// Sort key of a world point: V's third row without its translation (larger
// for nearer points).
float ViewDepth(const float V[16], const float p[3]);

// out := the 3 x 3 rotation of V transposed (camera directions back to world
// ones), turned 90 degrees about x so the z-up world meets the y-up cube
// maps; a 4 x 4 texture matrix without translation.
void ReflectionTextureMatrix(const float V[16], float out[16]);

}  // namespace sim
