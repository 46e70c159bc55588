// Sections: one part; the passes in the caller's frame; the passes in the
// model's frame; the discs.
#include "legacy/drawing.h"

#include <GL/gl.h>

#include <algorithm>

#include "graphics/gl_frame.h"
#include "graphics/mesh.h"
#include "graphics/texture_table.h"
#include "legacy/model_state.h"
#include "legacy/parts.h"

namespace dnsmodel {
namespace {

constexpr int32_t kTypePropeller = 2, kTypeRotor = 10;
constexpr float kPropellerGrey = 0.3f;
constexpr float kPropellerAlpha = 0.7f;   // of the propeller's blur
constexpr float kRotorFrontGrey = 0.1f;
constexpr float kRotorBackGrey = 0.2f;
constexpr float kMaxShininess = 128.0f;   // OpenGL refuses a larger specular exponent

const dnsstate* Drawable() {
  const dnsstate& record = Runtime().state;
  return record.model && kxgl::HasContext() ? &record : nullptr;
}

bool Rotating(const object* p) { return p->Type == kTypePropeller || p->Type == kTypeRotor; }

// The part's frame: the 16 floats from X to ww, in the order OpenGL takes.
const float* Frame(const object* p) { return p->X; }

// Binds the texture, uploading it first when the menu's upload pass ran
// before it was made (a model chosen in the menu). False when it has no GL
// copy.
bool Bind(kxtexture* t) {
  if (!t->glName || !t->uploaded) kxgl::UploadTexture(t);
  if (!t->glName) return false;
  glBindTexture(GL_TEXTURE_2D, t->glName);
  return true;
}

void Material(const kxgeometry* el) {
  glMaterialfv(GL_FRONT, GL_AMBIENT, el->ambient);
  glMaterialfv(GL_FRONT, GL_DIFFUSE, el->diffuse);
  glMaterialfv(GL_FRONT, GL_SPECULAR, el->specular);
  glMaterialf(GL_FRONT, GL_SHININESS, std::clamp(el->shininess, 0.0f, kMaxShininess));
}

// ---- one part ------------------------------------------------------------------

void DrawMesh(const object* p) {
  const kxgeometry* el = p->mesh;
  if (el->vertices && el->vertexCount > 0) glInterleavedArrays(el->format, 0, el->vertices);
  glPushMatrix();
  glMultMatrixf(Frame(p));
  if (el->vertices && el->vertexCount > 0 && el->strips) {
    for (const uint32_t* run = el->strips; *run; run += *run + 1)
      glDrawElements(GL_TRIANGLE_STRIP, static_cast<GLsizei>(*run), GL_UNSIGNED_INT, run + 1);
  }
  glPopMatrix();
}

// ---- the passes in the caller's frame -----------------------------------------

void Solid(const dnsstate& record) {
  const kxtexture* remembered = nullptr;
  for (const object* p = record.parts; p; p = p->next) {
    if (Rotating(p) || !p->mesh || p->mesh->transparent) continue;
    kxtexture* t = p->mesh->texture;
    if (!t) {
      glDisable(GL_TEXTURE_2D);
      remembered = nullptr;
    } else if (t != remembered) {
      if (Bind(t)) glEnable(GL_TEXTURE_2D);
      else glDisable(GL_TEXTURE_2D);
      remembered = t;
    }
    Material(p->mesh);
    DrawMesh(p);
  }
}

void Flagged(const dnsstate& record) {
  glDisable(GL_TEXTURE_2D);
  for (const object* p = record.parts; p; p = p->next) {
    if (Rotating(p) || !p->mesh || !p->mesh->transparent) continue;
    Material(p->mesh);
    DrawMesh(p);
  }
}

void Rotors(const dnsstate& record) {
  for (const object* p = record.parts; p; p = p->next) {
    if (!Rotating(p) || !p->mesh) continue;
    if (p->mesh->texture && Bind(p->mesh->texture)) glEnable(GL_TEXTURE_2D);
    else glDisable(GL_TEXTURE_2D);
    Material(p->mesh);
    DrawMesh(p);
  }
}

void Plain(const dnsstate& record) {
  for (const object* p = record.parts; p; p = p->next) {
    if (p->mesh) DrawMesh(p);
  }
}

// The pass under the model's frame.
void InModelFrame(const dnsstate& record, void (*pass)(const dnsstate&)) {
  glPushMatrix();
  glMultMatrixf(record.transform);
  pass(record);
  glPopMatrix();
}

// ---- the discs -----------------------------------------------------------------

// The disc in the part's x-y plane, facing +z, then its back.
void Disc(float r, float frontGrey, float backGrey, float alpha) {
  glBegin(GL_QUADS);
  glNormal3f(0, 0, 1);
  glColor4f(frontGrey, frontGrey, frontGrey, alpha);
  glTexCoord2i(0, 0), glVertex2f(-r, -r);
  glTexCoord2i(1, 0), glVertex2f(r, -r);
  glTexCoord2i(1, 1), glVertex2f(r, r);
  glTexCoord2i(0, 1), glVertex2f(-r, r);
  glNormal3f(0, 0, -1);
  glColor4f(backGrey, backGrey, backGrey, alpha);
  glTexCoord2i(0, 0), glVertex2f(-r, -r);
  glTexCoord2i(1, 0), glVertex2f(-r, r);
  glTexCoord2i(1, 1), glVertex2f(r, r);
  glTexCoord2i(0, 1), glVertex2f(r, -r);
  glEnd();
}

/*
 * A disc needs the part's radius and blur, which only propellers and rotors
 * hold: a part of Type 2 or 10 of another class is passed over rather than
 * read beyond its own fields.
 */
void Discs(const dnsstate& record) {
  for (object* p = record.parts; p; p = p->next) {
    const propeller* prop = p->Type == kTypePropeller ? As<propeller>(p) : nullptr;
    const rotor* rot = p->Type == kTypeRotor ? As<rotor>(p) : nullptr;
    if (!prop && !rot) continue;
    glPushMatrix();
    glMultMatrixf(Frame(p));
    if (prop) Disc(prop->Radius, kPropellerGrey, kPropellerGrey, kPropellerAlpha * prop->blur);
    else Disc(rot->Radius, kRotorFrontGrey, kRotorBackGrey, rot->blur);
    glPopMatrix();
  }
}

}  // namespace

void DrawSolidParts() {
  if (const dnsstate* record = Drawable()) Solid(*record);
}

void DrawFlaggedParts() {
  if (const dnsstate* record = Drawable()) Flagged(*record);
}

void DrawRotorParts() {
  if (const dnsstate* record = Drawable()) Rotors(*record);
}

void DrawPartsGeometry() {
  if (const dnsstate* record = Drawable()) Plain(*record);
}

// ---- the passes in the model's frame -------------------------------------------

void DrawSolidPartsView() {
  if (const dnsstate* record = Drawable()) InModelFrame(*record, Solid);
}

void DrawFlaggedPartsView() {
  const dnsstate* record = Drawable();
  if (!record) return;
  glEnable(GL_LIGHTING);
  InModelFrame(*record, Flagged);
  glDisable(GL_LIGHTING);
}

void DrawRotorPartsView() {
  if (const dnsstate* record = Drawable()) InModelFrame(*record, Rotors);
}

void DrawPartsPlain() {
  if (const dnsstate* record = Drawable()) InModelFrame(*record, Plain);
}

void DrawRotorDiscs() {
  const dnsstate* record = Drawable();
  // Without the texture (the table was full) no disc is drawn.
  if (!record || !record->blurTexture) return;
  glPushMatrix();
  glMultMatrixf(record->transform);
  glDepthMask(GL_FALSE);
  glEnable(GL_TEXTURE_2D);
  Bind(record->blurTexture);
  Discs(*record);
  glDepthMask(GL_TRUE);
  glPopMatrix();
}

}  // namespace dnsmodel
