// kxdintegrable: base of everything the flight dynamics simulates. It fixes
// the order of the simulation's virtual operations after kxnode's eight and
// gives the defaults that pass an operation on to every simulated child.
#pragma once

#include "core/matrix.h"
#include "core/node.h"

class kxout;

class kxdintegrable : public kxnode {
 public:
  static kxtype Type;

  kxdintegrable() { type = &Type; }

  // Slots after kxnode's, in this order for every component class.
  // 9: empty hook before the force pass. A class that overrides it sets
  // preChangeHook in its constructor: the driver calls it only then.
  virtual void PreChange(kxdintegrable* change);
  // 10: force pass; derivatives go into the twin of the Change tree.
  virtual void ComputeChange(kxdintegrable* change, int flag);
  // 11: one explicit step of dt seconds with the twin's derivatives.
  virtual void Integrate(kxdintegrable* change, int flag, float dt);
  // 12: re-derives dependent values from members and geometry; children.
  virtual void Analyse();
  // 13: readies a simulation clone (inverse inertia, relative frames); children.
  virtual void Prepare();
  // 14: places the drawn geometry once per frame; children.
  virtual void UpdateVisual();
  // 15: hook after UpdateVisual; children.
  virtual void PostVisual();
  // 16: returns the dynamic state to its start; children.
  virtual void ResetState();
  // 17: moves the component by M (frames placed in M's frame); children.
  virtual void ApplyMatrix(const kxmatrix& M);
  // 18: the component's own lines of the aircraft file.
  virtual void Write(kxout& out);

  // The node when it is simulated, else null.
  static kxdintegrable* As(kxnode* node);

  bool preChangeHook = false;  // the class overrides PreChange
};
