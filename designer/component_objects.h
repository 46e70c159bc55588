// The design objects of the editable component types: each a design object
// with its page set in page-bar order, titled from the text table.
#pragma once

class kxdbody;
class svdesignobject;

namespace svdesign {

svdesignobject* Wing00Object(kxdbody* component);
svdesignobject* Wing10Object(kxdbody* component);
svdesignobject* Wing11Object(kxdbody* component);
svdesignobject* Wing12Object(kxdbody* component);
svdesignobject* PropellerObject(kxdbody* component);
svdesignobject* RotorObject(kxdbody* component);
svdesignobject* TailRotorObject(kxdbody* component);
svdesignobject* EngineObject(kxdbody* component);
svdesignobject* TurbineObject(kxdbody* component);
svdesignobject* MotorObject(kxdbody* component);
svdesignobject* FuselageObject(kxdbody* component);
// A body, gyro, joint or skid: the weight page alone.
svdesignobject* WeightObject(kxdbody* component);

}  // namespace svdesign
