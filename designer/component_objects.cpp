#include "designer/component_objects.h"

#include <algorithm>

#include "designer/design_object.h"
#include "designer/engine_pages.h"
#include "designer/fuselage_pages.h"
#include "designer/page.h"
#include "designer/rotor_pages.h"
#include "designer/weight_page.h"
#include "designer/wing_pages.h"
#include "dynamics/components/engine00.h"
#include "dynamics/components/engine10.h"
#include "dynamics/components/main_rotor.h"
#include "dynamics/components/propeller.h"
#include "dynamics/components/tail_rotor.h"
#include "dynamics/components/turbines.h"
#include "dynamics/fuselage.h"
#include "dynamics/wings/multi_section_wing.h"
#include "dynamics/wings/sectioned_wing.h"
#include "gui/paint.h"
#include "gui/text.h"
#include "sim/units.h"

namespace svdesign {

namespace {

constexpr int kRowX = 8, kRowY = 8;  // px, the one row of most pages
constexpr int kSecondLabelX = 308;   // px, a second label on the row
constexpr int kThirdLabelX = 408;    // px
constexpr int kTipAirfoilX = 150;    // px, the tip's airfoil column
constexpr int kAirfoilColumn = 136;  // px, an airfoil label's room: its selector's width
constexpr float kDeg = units::kDegToRad;
constexpr float kTwoPi = units::kTwoPi;

const units::displayunit& Unit(units::displayunit units::displayunits::*which) { return units::Current().*which; }

// ---- wings

constexpr float kWing00Dihedral[2] = {-5.0f * kDeg, 25.0f * kDeg};  // rad
constexpr float kWing10Dihedral[2] = {-10.0f * kDeg, 45.0f * kDeg};

struct wingicons {
  pageicon span, dihedral, incidence, wash;  // kNone: no such page
  int listWidth, listHeight;            // px, the airfoil selector
};

svdesignpage* AirfoilPage(kxdwing* wing, const wingicons& icons) {
  svdesignpage* page = new svdesignpage(pageicon::kAirfoil, wing);
  page->AddLabel("Airfoil", 5, 20);
  page->AddAirfoilList(200, 20, icons.listWidth, icons.listHeight, &wing->SectionAirfoil[0]);
  return page;
}

svdesignpage* WashPage(kxdwing* wing, pageicon icon) {
  svdesignpage* page = new svdesignpage(icon, wing);
  page->AddRow("PropellerWash", kRowX, kRowY, {Plain(&wing->PropWashFactor, "%.0f", "%", 100.0f)});
  page->AddLimit(&wing->PropWashFactor, Fixed(1.0f), Fixed(0.0f));
  return page;
}

// The kxdwing10 family; the deflection page when the flap condition holds.
svdesignobject* SectionedWing(kxdbody* component, const wingicons& icons, bool withDeflection) {
  kxdwing10* wing = static_cast<kxdwing10*>(component);
  svdesignobject* object = new svdesignobject(component);
  if (icons.span != pageicon::kNone) object->AddPage(new svdesignwingspanpage(icons.span, wing), "SemiSpan");
  if (icons.dihedral != pageicon::kNone) {
    object->AddPage(new svdesignwingdihedralpage(icons.dihedral, wing, kWing10Dihedral[0], kWing10Dihedral[1]),
                    "Dihedral");
  }
  object->AddPage(AirfoilPage(wing, icons), "Airfoil");
  if (icons.incidence != pageicon::kNone)
    object->AddPage(new svdesignwingincidencepage(icons.incidence, wing), "Incidence");
  object->AddPage(new svdesignweightpage(component), "Mass");
  object->AddPage(WashPage(wing, icons.wash), "PropellerWash");
  if (withDeflection) {
    object->AddPage(new svdesignwingdeflectionpage(wing, DriveServo(wing, wing->FlapLink),
                                                   svdesignwingdeflectionpage::sense::servo),
                    "Deflection");
  }
  return object;
}

// ---- value pages

// A page of one or two labelled rows on the panel's first line.
svdesignpage* RowPage(pageicon icon, kxdbody* component, const char* key,
                      std::initializer_list<designfieldspec> fields) {
  svdesignpage* page = new svdesignpage(icon, component);
  page->AddRow(key, kRowX, kRowY, fields);
  return page;
}

svdesignpage* GearRatioPage(kxdbody* component, float* ratio) {
  svdesignpage* page = RowPage(pageicon::kGearRatio, component, "GearRatio", {Plain(ratio, "%.2f", "", 1.0f)});
  page->AddLimit(ratio, Fixed(50.0f), Fixed(1.0f));
  return page;
}

// A label and its field at fixed places; a label longer than its place
// (as some translations are) pushes its field along rather than run into it.
void LabelledField(svdesignpage* page, const char* key, int labelX, int labelY, int fieldX, int fieldY,
                   const designfieldspec& f) {
  const kxtext* label = page->AddLabel(key, labelX, labelY);
  page->AddField(std::max(fieldX, svdesignpage::AfterLabel(label)), fieldY, f.value, f.format, f.unit, f.factor);
}

/*
 * A label over one of two airfoil selectors side by side, shortened to its
 * column when the text is longer (as some translations are), so that the
 * root's label never runs into the tip's. Moving the tip's column along
 * was considered, but at 640 px the page bar leaves no room for it.
 */
void ColumnLabel(svdesignpage* page, const char* key, int x, int y) {
  kxtext* label = page->AddLabel(key, x, y);
  if (!label || label->W <= kAirfoilColumn) return;
  label->Text = kxgui::Shortened(label->Text.Text(), kAirfoilColumn - kxtext::kMargin).c_str();
  label->W = kxgui::TextWidth(label->Text.Text()) + kxtext::kMargin;
}

// The radius of a diameter page in the display length unit.
svdesignpage* RotorDiameterPage(pageicon icon, kxdbody* component, const designradius& r) {
  const units::displayunit& length = Unit(&units::displayunits::length);
  return new svdesigndiameterpage(icon, component, r, length.name.Text(), length.factor);
}

}  // namespace

svdesignobject* Wing00Object(kxdbody* component) {
  kxdwing00* wing = static_cast<kxdwing00*>(component);
  svdesignobject* object = new svdesignobject(component);
  object->AddPage(new svdesignwingspanpage(pageicon::kMainWingSpan, wing), "SemiSpan");
  object->AddPage(
      new svdesignwingdihedralpage(pageicon::kMainWingDihedral, wing, kWing00Dihedral[0], kWing00Dihedral[1]),
      "Dihedral");
  svdesignpage* airfoils = new svdesignpage(pageicon::kAirfoil, wing);
  ColumnLabel(airfoils, "AirfoilAtWingRoot", 10, 40);
  ColumnLabel(airfoils, "AirfoilAtWingTip", kTipAirfoilX, 40);
  airfoils->AddAirfoilList(5, 5, 128, 32, &wing->SectionAirfoil[0]);
  airfoils->AddAirfoilList(kTipAirfoilX, 5, 128, 32, &wing->SectionAirfoil[1]);
  object->AddPage(airfoils, "Airfoil");
  object->AddPage(new svdesignwingincidencepage(pageicon::kMainWingIncidence, wing), "Incidence");
  object->AddPage(new svdesignweightpage(component), "Mass");
  object->AddPage(WashPage(wing, pageicon::kMainWingWash), "PropellerWash");
  // A wing on the +y side deflects positively; on the other side (and on
  // the centre line) the travel is negative and shown negated.
  auto side = wing->B.R.y > 0.0f ? svdesignwingdeflectionpage::sense::plus : svdesignwingdeflectionpage::sense::minus;
  object->AddPage(new svdesignwingdeflectionpage(wing, DriveServo(wing, wing->AileronLink), side),
                  "AileronDeflection");
  object->AddPage(new svdesignwingflappage(wing, DriveServo(wing, wing->FlapLink)), "FlapDeflection");
  return object;
}

svdesignobject* Wing10Object(kxdbody* component) {
  kxdwing10* wing = static_cast<kxdwing10*>(component);
  return SectionedWing(
      component, {pageicon::kWingSpan, pageicon::kWingDihedral, pageicon::kWingIncidence, pageicon::kWingWash, 128, 32},
      wing->FlapLink != nullptr);
}

svdesignobject* Wing11Object(kxdbody* component) {
  kxdwing10* wing = static_cast<kxdwing10*>(component);
  return SectionedWing(component,
                       {pageicon::kFinSpan, pageicon::kNone, pageicon::kFinIncidence, pageicon::kFinWash, 100, 20},
                       wing->FlapLink != nullptr);
}

// No handles: neither span, dihedral nor incidence can be changed.
svdesignobject* Wing12Object(kxdbody* component) {
  kxdwing10* wing = static_cast<kxdwing10*>(component);
  return SectionedWing(component, {pageicon::kNone, pageicon::kNone, pageicon::kNone, pageicon::kFinWash, 100, 20},
                       wing->Flap && wing->FlapLink);
}

svdesignobject* PropellerObject(kxdbody* component) {
  kxdpropeller00* p = static_cast<kxdpropeller00*>(component);
  svdesignobject* object = new svdesignobject(component);
  // The diameter in inches in both unit systems, as propellers are sold.
  object->AddPage(new svdesigndiameterpage(pageicon::kPropellerDiameter, p, {&p->Radius, &p->RangeRadiusMax, &p->RangeRadiusMin, &p->HubRadius, 0.02f},
                                           "in", 39.370079f),
                  "Diameter");
  object->AddPage(new svdesignpitchpage(pageicon::kPropellerPitch, p, &p->Pitch, &p->Radius), "Pitch");
  object->AddPage(new svdesignweightpage(p), "Mass");
  return object;
}

svdesignobject* RotorObject(kxdbody* component) {
  kxdmainrotor* r = static_cast<kxdmainrotor*>(component);
  const units::displayunit& angle = Unit(&units::displayunits::angle);
  svdesignobject* object = new svdesignobject(component);
  object->AddPage(RotorDiameterPage(pageicon::kRotorDiameter, r, {&r->Radius, &r->RangeRadiusMax, &r->RangeRadiusMin, &r->HingeRadius, 0.05f}),
                  "Diameter");
  object->AddPage(GearRatioPage(r, &r->GearRatio), "GearRatio");
  svdesignpage* blade = RowPage(pageicon::kMass, r, "BladeMass", {Quantity(&r->BladeMass, "%.3f", Unit(&units::displayunits::mass))});
  blade->AddLimit(&r->BladeMass, Member(&r->RangeBladeMassMax), Member(&r->RangeBladeMassMin));
  object->AddPage(blade, "BladeMass");
  svdesignpage* controls = RowPage(pageicon::kRotorPitch, r, "PitchMinMax",
                                   {Quantity(&r->PitchMin, "%.1f", angle), Quantity(&r->PitchMax, "%.1f", angle)});
  controls->AddRow("PitchCyclic", kThirdLabelX, kRowY, {Quantity(&r->PitchCyclic, "%.1f", angle)});
  controls->AddLimit(&r->PitchMin, Fixed(2.0f * kDeg), Fixed(-15.0f * kDeg));
  controls->AddLimit(&r->PitchMax, Fixed(15.0f * kDeg), Member(&r->PitchMin, 1.0f, 2.0f * kDeg));
  controls->AddLimit(&r->PitchCyclic, Fixed(10.0f * kDeg), Fixed(-10.0f * kDeg));
  object->AddPage(controls, "Control");
  return object;
}

svdesignobject* TailRotorObject(kxdbody* component) {
  kxdtailrotor00* t = static_cast<kxdtailrotor00*>(component);
  const units::displayunit& angle = Unit(&units::displayunits::angle);
  svdesignobject* object = new svdesignobject(component);
  object->AddPage(RotorDiameterPage(pageicon::kTailRotorDiameter, t, {&t->Radius, &t->RangeRadiusMax, &t->RangeRadiusMin, nullptr, 0.04f}),
                  "Diameter");
  object->AddPage(GearRatioPage(t, &t->GearRatio), "GearRatio");
  svdesignpage* controls = RowPage(pageicon::kRotorPitch, t, "PitchMinMax",
                                   {Quantity(&t->PitchMin, "%.1f", angle), Quantity(&t->PitchMax, "%.1f", angle)});
  controls->AddLimit(&t->PitchMax, Fixed(20.0f * kDeg), Fixed(0.0f));
  controls->AddLimit(&t->PitchMin, Fixed(0.0f), Fixed(-20.0f * kDeg));
  object->AddPage(controls, "Control");
  svdesignpage* gyro = new svdesignpage(pageicon::kGyro, t);
  LabelledField(gyro, "GyroGain", 8, 34, 120, 34, Plain(&t->GyroGain, "%.0f", "", 100.0f));
  LabelledField(gyro, "GyroRange", 218, 34, 330, 34, Plain(&t->GyroRange, "%.0f", "", 100.0f));
  LabelledField(gyro, "GyroZero", 8, 8, 120, 8, Plain(&t->GyroZero, "%.0f", "", 100.0f));
  LabelledField(gyro, "GyroSpeed", 428, 8, 540, 8, Plain(&t->GyroSpeed, "%.0f", "deg/s", units::kRadToDeg));
  gyro->AddCheck(std::max(540, svdesignpage::AfterLabel(gyro->AddLabel("GyroLock", 428, 34))), 34, &t->GyroLock);
  gyro->AddLimit(&t->GyroGain, Fixed(1.0f), Fixed(0.0f));
  gyro->AddLimit(&t->GyroRange, Fixed(1.0f), Fixed(0.0f));
  gyro->AddLimit(&t->GyroZero, Fixed(0.5f), Fixed(-0.5f));
  gyro->AddLimit(&t->GyroSpeed, Fixed(1440.0f * kDeg), Fixed(0.0f));
  object->AddPage(gyro, "Gyro");
  return object;
}

svdesignobject* EngineObject(kxdbody* component) {
  kxdengine00* e = static_cast<kxdengine00*>(component);
  svdesignobject* object = new svdesignobject(component);
  svdesignpage* power = RowPage(pageicon::kPower, e, "MaximumPower", {Quantity(&e->PowerMax, "%.2f", Unit(&units::displayunits::power))});
  power->AddRow("Torque", kSecondLabelX, kRowY, {Plain(&e->TorqueFactor, "%.0f", "%", 100.0f)});
  power->AddLimit(&e->PowerMax, Fixed(20000.0f), Fixed(100.0f));
  power->AddLimit(&e->TorqueFactor, Fixed(1.0f), Fixed(0.0f));
  power->analyse = 1;
  object->AddPage(power, "Power");
  const char* rpm = "RPM";
  svdesignpage* speeds = RowPage(pageicon::kIdleSpeed, e, "IdleRPM", {Plain(&e->RotationSpeedIdle, "%.0f", rpm, units::kRadPerSecToRpm)});
  speeds->AddRow("MaximumRPM", kSecondLabelX, kRowY,
                 {Plain(&e->RotationSpeedMax, "%.0f", rpm, units::kRadPerSecToRpm)});
  speeds->AddLimit(&e->RotationSpeedIdle, Fixed(166.66667f * kTwoPi), Fixed(3.3333333f * kTwoPi));
  speeds->AddLimit(&e->RotationSpeedMax, Fixed(583.3333f * kTwoPi), Member(&e->RotationSpeedIdle, 2.0f));
  object->AddPage(speeds, "RotationSpeed");
  object->AddPage(new svdesignweightpage(e), "Mass");
  object->AddPage(new svdesignthrustanglepage(e, svdesignthrustanglepage::kind::right), "RightThrust");
  object->AddPage(new svdesignthrustanglepage(e, svdesignthrustanglepage::kind::down), "DownThrust");
  return object;
}

svdesignobject* TurbineObject(kxdbody* component) {
  kxdturbine00* t = static_cast<kxdturbine00*>(component);
  svdesignobject* object = new svdesignobject(component);
  svdesignpage* thrust = RowPage(pageicon::kThrust, t, "MaximumThrust", {Plain(&t->ThrustMax, "%.0f", "N", 1.0f)});
  thrust->AddLimit(&t->ThrustMax, Fixed(500.0f), Fixed(10.0f));
  thrust->analyse = 1;
  object->AddPage(thrust, "MaximumThrust");
  return object;
}

// The electric motor: motor, battery and gear, each re-analysed after a Store.
svdesignobject* MotorObject(kxdbody* component) {
  kxdengine10* m = static_cast<kxdengine10*>(component);
  const units::displayunit& mass = Unit(&units::displayunits::mass);
  svdesignobject* object = new svdesignobject(component);
  svdesignpage* motor = new svdesignpage(pageicon::kMotor, m);
  LabelledField(motor, "EngineNs", 8, 32, 108, 32, Plain(&m->MotorNs, "%.0f", "", 1.0f));
  LabelledField(motor, "EngineRi", 8, 8, 108, 8, Plain(&m->MotorRi, "%.2f", "mOhm", 1000.0f));
  LabelledField(motor, "EngineI0", 248, 32, 308, 32, Plain(&m->MotorI0, "%.2f", "A", 1.0f));
  LabelledField(motor, "Mass", 248, 8, 308, 8, Quantity(&m->MotorMass, "%.1f", mass));
  motor->AddLabel("EngineConstRPM", 460, 8);
  motor->AddCheck(440, 8, &m->ConstantRPM);
  svdesignpage* battery = new svdesignpage(pageicon::kBattery, m);
  LabelledField(battery, "CellNumber", 8, 32, 158, 32, Plain(&m->CellNum, "%.0f", "", 1.0f));
  LabelledField(battery, "CellVoltage", 8, 8, 158, 8, Plain(&m->CellVoltage, "%.2f", "V", 1.0f));
  LabelledField(battery, "CellMass", 308, 32, 458, 32, Quantity(&m->CellMass, "%.1f", mass));
  LabelledField(battery, "CellRi", 308, 8, 458, 8, Plain(&m->CellRi, "%.1f", "mOhm", 1000.0f));
  svdesignpage* gear = new svdesignpage(pageicon::kGearRatio, m);
  LabelledField(gear, "GearRatio", 8, 32, 158, 32, Plain(&m->GearRatio, "%.3f", "", 1.0f));
  LabelledField(gear, "GearMass", 8, 8, 158, 8, Quantity(&m->GearMass, "%.1f", mass));
  for (svdesignpage* page : {motor, battery, gear}) page->analyse = 1;
  object->AddPage(motor, "ElectricMotor");
  object->AddPage(battery, "ElectricCells");
  object->AddPage(gear, "ElectricGear");
  return object;
}

svdesignobject* WeightObject(kxdbody* component) {
  svdesignobject* object = new svdesignobject(component);
  object->AddPage(new svdesignweightpage(component), "Mass");
  return object;
}

svdesignobject* FuselageObject(kxdbody* component) {
  kxdfuselage00* f = static_cast<kxdfuselage00*>(component);
  svdesignobject* object = new svdesignobject(component);
  object->AddPage(new svdesignweightpage(f), "Mass");
  object->AddPage(new svdesigncgpage(f), "CenterOfGravity");
  svdesignpage* front = RowPage(pageicon::kFrontDrag, f, "Drag", {Plain(&f->Cdx, "%.2f", "", 1.0f)});
  front->AddLimit(&f->Cdx, Fixed(2.0f), Fixed(0.0f));
  object->AddPage(front, "DragFront");
  struct coefficients {
    pageicon icon;
    float *drag, *lift;
    const char* title;
  } sides[] = {{pageicon::kSideDrag, &f->Cdy, &f->Cly, "LiftDragSide"},
               {pageicon::kTopDrag, &f->Cdz, &f->Clz, "LiftDragTop"}};
  for (const coefficients& c : sides) {
    svdesignpage* page = RowPage(c.icon, f, "Drag", {Plain(c.drag, "%.2f", "", 1.0f)});
    page->AddRow("Lift", kSecondLabelX, kRowY, {Plain(c.lift, "%.2f", "", 1.0f)});
    page->AddLimit(c.lift, Fixed(2.0f), Fixed(0.0f));
    page->AddLimit(c.drag, Fixed(2.0f), Fixed(0.0f));
    object->AddPage(page, c.title);
  }
  return object;
}

}  // namespace svdesign
