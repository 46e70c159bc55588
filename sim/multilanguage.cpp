#include "sim/multilanguage.h"

#include <cstring>

#include "core/arguments.h"
#include "core/reference.h"

kxtype multilanguage::Type("multilanguage", sizeof(multilanguage), kxcreate<multilanguage>);

namespace {

struct singletext {
  const char* key;
  const char* english;
};

// The single texts: key and English default, in table order.
constexpr singletext kSingleTexts[multilanguage::kSingles] = {
      {"NotAssigned", "not assigned"},
      {"Channel", "Channel"},
      {"Keyboard", "Keyboard"},
      {"NoOpenGL", "Warning: No OpenGL graphics card driver found!!!"},
      {"MixVTail1", "MIX VTail left"},
      {"MixVTail2", "MIX VTail right"},
      {"MixTaileron1", "MIX Taileron left"},
      {"MixTaileron2", "MIX Taileron right"},
      {"MixNeg", "-100%"},
      {"MixZero", "0%"},
      {"MixPos", "100%"},
      {"Airfoil", "Airfoil"},
      {"AirfoilAtWingRoot", "Airfoil at wing root"},
      {"AirfoilAtWingTip", "Airfoil at wing tip"},
      {"CenterOfGravity", "Center of gravity"},
      {"Incidence", "Incidence"},
      {"SemiSpan", "Semi-span"},
      {"Dihedral", "Dihedral"},
      {"Deflection", "Deflection"},
      {"Mass", "Weight"},
      {"MaximumThrust", "Maximum Thrust"},
      {"PropellerWash", "Propeller Wash"},
      {"Diameter", "Diameter"},
      {"Pitch", "Pitch"},
      {"MaximumPower", "Maximum Power"},
      {"Torque", "Torque"},
      {"IdleRPM", "Idle RPM"},
      {"MaximumRPM", "Maximum RPM"},
      {"RightThrust", "Right Thrust"},
      {"DownThrust", "Down Thrust"},
      {"Drag", "Drag"},
      {"Lift", "Lift"},
      {"BladeMass", "Blade Weight"},
      {"PitchMinMax", "Pitch min / max"},
      {"PitchCyclic", "Cyclic Pitch"},
      {"GearRatio", "Gear Ratio 1 :"},
      {"FlapUp", "Flap deflection up [deg]"},
      {"FlapDown", "Flap deflection down [deg]"},
      {"Power", "Power & Torque"},
      {"RotationSpeed", "Idle & maximum RPM"},
      {"DragFront", "Frontal drag"},
      {"LiftDragSide", "Lateral lift & drag"},
      {"LiftDragTop", "Vertical lift & drag"},
      {"Control", "Controls"},
      {"Gyro", "Gyro"},
      {"CopyAircraft", "New aircraft name:"},
      {"NewAircraft", "Skyvane has created a new aircraft for you to edit. Enter a name for the new model"},
      {"AircraftExists", "An aircraft with that name already exists."},
      {"InvalidName", "Please enter a valid name"},
      {"CannotCreateAircraft", "cannot create aircraft/%s"},
      {"EngineNs", "Ns [U/min/V]"},
      {"EngineRi", "R [mOhm]"},
      {"EngineI0", "I0 [A]"},
      {"EngineConstRPM", "Constant RPM Mode"},
      {"CellNumber", "Number of cells"},
      {"CellVoltage", "Voltage per cell [V]"},
      {"CellMass", "Mass per cell [g]"},
      {"CellRi", "Resistance [mOhm]"},
      {"GearMass", "Gear mass [g]"},
      {"GyroGain", "Gain"},
      {"GyroFade", "Fade"},
      {"GyroZero", "Zero adjust"},
      {"GyroSpeed", "Piroutte speed"},
      {"GyroRange", "Range"},
      {"GyroLock", "Heading hold"},
      {"ViewerMove", "Scale"},
      {"ViewerRotate", "Rotate"},
      {"ViewerTurn", "Turn"},
      {"ViewerPan", "Pan"},
      {"ViewerTop", "Top / bottom view"},
      {"ViewerSide", "Left / right view"},
      {"ViewerFront", "Front / back view"},
      {"ObjectPicker", "Select object"},
      {"GoBack", "Back to main screen"},
      {"Properties", "Properties"},
      {"AileronDeflection", "Aileron deflection"},
      {"FlapDeflection", "Flap deflection"},
      {"MassTotal", "Gross weight"},
      {"AreaTotal", "Area"},
      {"AreaLoading", "Area loading"},
      {"Length", "Length"},
      {"Wingspan", "Wingspan"},
      {"RotorDiameter", "Rotor diameter"},
      {"Area", "Area"},
      {"ElectricMotor", "Motor"},
      {"ElectricCells", "Battery"},
      {"ElectricGear", "Gear"},
};

constexpr const char* kControlFunctionDefaults[] = {
    "Engine 1",          "Engine 2",           "Engine 3",         "Engine 4",
    "Elevator 1 (left)", "Elevator 2 (right)", "V-Tail 1 (left)",  "V-Tail 2 (right)",
    "Rudder 1 (left)",   "Rudder 2 (right)",   "Aileron 1 (left)", "Aileron 2 (right)",
    "Flap 1 (left)",     "Flap 2 (right)",     "Taileron 1 (left)", "Taileron 2 (right)",
    "Collective Pitch",  "Cyclic Pitch",       "Roll",             "Tailrotor",
    "Engine",            "",                   "",                 "Wheel Brake",
    "Retractable Gear",  "Hook",               "Wingsweep",        "Nozzle Rotation",
    "Smoke",
};

constexpr const char* kMenuTextDefaults[] = {
    "Aircraft I - load an airplane or helicopter",
    "Aircraft II - load an airplane or helicopter#as the second model for 2 player or#ropepull mode",
    "Remove II - remove the second model from memory",
    "Scenery - load a scenery",
    "Calibrate - calibrate the radio or joystick channels#to their neutral and maximum positions",
    "Controls - adjust assignments of your radio#or joystick to the different model functions",
    "Edit aircraft - modify airplane or helicopter flight#parameters such as weight or motor power",
    "Options - adjust the screen resolution#and texture quality settings",
    "Help - shows all key commands#available during simulation",
    "Fly - start the simulation",
    "Exit - quit Skyvane Gold Edition",
};

constexpr const char* kTippDefaults[3][multilanguage::kTipLines] = {
    {"The current model is not suitable for indoor flying.", "Press SPACE for an outside position.", ""},
    {"The current model is an old airLark I model.", "Advanced physics like Torque-rolls and improved stalling",
     "behaviour are not available with these models."},
    {"Press 'H' or 'J' to launch the glider 50m respective 15m above ground.", "To simulate a hand-start press 'J'.",
     "Press each key repeatedly to get glider higher into the air."},
};

constexpr const char* kObjectNameDefaults[] = {
    "Fuselage",        "Engine",          "LeftWing",        "RightWing",   "LeftStabilizer",
    "RightStabilizer", "Stabilizer",      "Propeller",       "LeftTaileron", "RightTaileron",
    "LeftTurbine",     "RightTurbine",    "Turbine",         "Leftwing",    "Rightwing",
    "Leftstabilizer",  "Rightstabilizer", "Rotor",           "TailRotor",   "TailFin",
};

template <size_t N>
void Fill(kxstring (&table)[N], const char* const* defaults, size_t count) {
  for (size_t i = 0; i < N; ++i) table[i] = i < count ? defaults[i] : "";
}

kxvalueptr Ref(kxstring* text) { return kxvalueptr(new kxstringref(text)); }

// An indexed table's entry for argument 0; no member outside the table.
template <size_t N>
kxvalueptr Entry(kxstring (&table)[N], const kxargs& args) {
  int i = args.Index(0, static_cast<int>(N));
  return i < 0 ? nullptr : Ref(&table[i]);
}

}  // namespace

multilanguage::multilanguage() {
  type = &Type;
  name = "MultiLanguage";
  Reset();
}

void multilanguage::Reset() {
  Fill(controlFunction, kControlFunctionDefaults, std::size(kControlFunctionDefaults));
  Fill(simText, nullptr, 0);
  Fill(menuText, kMenuTextDefaults, std::size(kMenuTextDefaults));
  Fill(objectNames, kObjectNameDefaults, std::size(kObjectNameDefaults));
  Fill(objectTrans, nullptr, 0);
  for (int i = 0; i < kTips; ++i)
    for (int k = 0; k < kTipLines; ++k) tipp[i][k] = i < 3 ? kTippDefaults[i][k] : "";
  for (int i = 0; i < kSingles; ++i) singles[i] = kSingleTexts[i].english;
  powerLabel = "Power";
}

kxvalueptr multilanguage::GetMember(const char* member, const kxargs& args) {
  if (std::strcmp(member, "ControlFunction") == 0) return Entry(controlFunction, args);
  if (std::strcmp(member, "SimText") == 0) return Entry(simText, args);
  if (std::strcmp(member, "Tipp") == 0) {
    int i = args.Index(0, kTips), k = args.Index(1, kTipLines);
    return i < 0 || k < 0 ? nullptr : Ref(&tipp[i][k]);
  }
  if (std::strcmp(member, "MenuText") == 0) return Entry(menuText, args);
  if (std::strcmp(member, "ObjectTrans") == 0) return Entry(objectTrans, args);
  for (int i = 0; i < kSingles; ++i)
    if (std::strcmp(member, kSingleTexts[i].key) == 0) return Ref(&singles[i]);
  return kxnode::GetMember(member, args);
}

const char* multilanguage::Text(const char* key) const {
  for (int i = 0; i < kSingles; ++i)
    if (key && std::strcmp(key, kSingleTexts[i].key) == 0) return singles[i].Text();
  return "";
}

namespace sim {

multilanguage& Language() {
  static multilanguage table;
  return table;
}

}  // namespace sim
