// Which design object each component of the edited aircraft gets, and the
// building of them all on entry. Eleven component types have objects of
// their own and an entry in the Objects menu; the first of them (in table
// order) that a component's type derives from decides. A body, gyro, joint
// or skid whose mass range leaves room (as the designer gives a new one)
// gets the weight page and an entry. Any other component gets a plain
// object without pages or menu entry: it can still be picked.
#pragma once

class kxdbody;
class svdesignobject;

namespace svdesign {

using objectbuilder = svdesignobject* (*)(kxdbody* component);

constexpr int kObjectKinds = 11;
// The type name of kind i in test order; "" outside 0..10.
const char* ObjectKindType(int i);
// Sets the builder of a listed type (null: the designer's own builder
// again). 0 when the type is not one of the eleven.
int RegisterObjectBuilder(const char* typeName, objectbuilder build);

// The entry's building step: the edited aircraft is slot 0; one object per
// top-level component with its menu entries, the whole-aircraft object
// current, the object select mode, the reference length and the top view.
void ActivateAll();

}  // namespace svdesign
