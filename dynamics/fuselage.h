// kxdfuselage00: the aircraft's main body with a simple drag and side-lift
// model on its projected areas, and the centre-of-gravity setting the
// whole-aircraft summary balances the aircraft on: it places the
// fuselage's mass (its frame) where the aircraft's centre of gravity comes
// to lie on the setting, and leaves the meshes of every part where they
// are drawn. The rotors accept only this type as their "Body".
#pragma once

#include "dynamics/body.h"

class kxdfuselage00 : public kxdbody {
 public:
  static kxtype Type;

  kxdfuselage00();

  void ComputeChange(kxdintegrable* change, int flag) override;
  void Analyse() override;
  // The frame is written where the mesh is drawn, without the balance: the
  // summary places the mass anew from CG at every load.
  void Write(kxout& out) override;
  // Places the mass balance (m, aircraft axes) off the mesh's centre: the
  // frame moves there and the mesh is drawn where it was. Without a mesh
  // the frame moves by the change of the balance.
  void PlaceMass(const kxvector4r& balance);

  const kxdkeytable& KeyTable() const override { return Keys; }
  static const kxdkeytable Keys;

  static kxdfuselage00* As(kxnode* node);

  kxvector4r CG;   // m, aircraft frame, w 1: where the summary puts the centre of gravity
  float Cdx;       // drag coefficient along the body's x
  float Cly;       // side-lift coefficient on the y area
  float Cdy;       // drag coefficient along y
  float Clz;       // lift coefficient on the z area
  float Cdz;       // drag coefficient along z
  float Ax, Ay, Az;  // m^2, projected areas along X, Y, Z; from the geometry
  kxvector4r Balance;  // m, aircraft axes, w 0: the mass's place off the mesh's centre; set by the summary

 private:
  // The drag (world) of the body's flow u through the air (world); zero
  // while the body is still in the air.
  kxvector4r Drag(const kxvector4r& u) const;
};
