// The key table both jet turbines share: one list of rows read in two text
// columns, the plain turbine's and the vectoring turbine's, which pads the
// shared keys to its own column and adds its nozzle keys after the
// throttle. The body's lines come first in both.
#include "dynamics/components/turbines.h"

namespace {

using namespace kxdkeys;
using T0 = kxdturbine00;
using T1 = kxdturbine10;

// RotationMax, PowerMax, PowerMaxRevs and TorqueFactor are stored and
// written only: a clone does without them. The turbine speed is set every
// frame.
constexpr kxdkey kRows[] = {
    Include(kxdbody::Keys),
    Key2("ThrottleControl ", "ThrottleControl ", kControl, kRemap, KXD_AT(T0, ThrottleControl)),
    Second(Key("RollControl     ", kControl, kRemap, KXD_AT(T1, RollControl))),
    Second(Key("PitchControl    ", kControl, kRemap, KXD_AT(T1, PitchControl))),
    Second(Key("NozzleControl   ", kControl, kRemap, KXD_AT(T1, NozzleControl))),
    Second(Key("YawControl      ", kControl, kRemap, KXD_AT(T1, YawControl))),
    Second(Key("LeftFrontNozzle ", kPart, kRemap, KXD_AT(T1, Nozzle[0]))),
    Second(Key("RightFrontNozzle ", kPart, kRemap, KXD_AT(T1, Nozzle[1]))),
    Second(Key("LeftCenterNozzle ", kPart, kRemap, KXD_AT(T1, Nozzle[2]))),
    Second(Key("RightCenterNozzle ", kPart, kRemap, KXD_AT(T1, Nozzle[3]))),
    Second(KXD_KEY(T1, NozzleFrontAngle, kReal, kCopy)),
    Second(KXD_KEY(T1, NozzleCenterAngle, kReal, kCopy)),
    // The pivots are written too, so a file that sets them keeps them.
    Second(Key("LeftFrontNozzleR ", kPoint, kCopy, KXD_AT(T1, NozzleR[0]))),
    Second(Key("RightFrontNozzleR ", kPoint, kCopy, KXD_AT(T1, NozzleR[1]))),
    Second(Key("LeftCenterNozzleR ", kPoint, kCopy, KXD_AT(T1, NozzleR[2]))),
    Second(Key("RightCenterNozzleR ", kPoint, kCopy, KXD_AT(T1, NozzleR[3]))),
    Key2("RotationMax ", "RotationMax  ", kReal, kNone, KXD_AT(T0, RotationMax)),
    Key2("PowerMax ", "PowerMax     ", kReal, kNone, KXD_AT(T0, PowerMax)),
    Key2("ThrustMax ", "ThrustMax    ", kReal, kCopy, KXD_AT(T0, ThrustMax)),
    Key2("PowerMaxRevs ", "PowerMaxRevs ", kReal, kNone, KXD_AT(T0, PowerMaxRevs)),
    Key2("TorqueFactor ", "TorqueFactor ", kReal, kNone, KXD_AT(T0, TorqueFactor)),
    Key2("ExhaustR ", "ExhaustR ", kPoint, kCopy, KXD_AT(T0, ExhaustR)),
    Key2("SoundFile ", "SoundFile    ", kName, kCopy, KXD_AT(T0, Sound.name)),
    Key2("SoundRPMIdle  ", "SoundRPMIdle ", kReal, kCopy, KXD_AT(T0, SoundRPMIdle)),
    Key2("SoundRPMMax  ", "SoundRPMMax  ", kReal, kCopy, KXD_AT(T0, SoundRPMMax)),
    Key2("Sound1  ", "Sound1       ", kReal, kCopy, KXD_AT(T0, Sound1)),
    Key2("Sound2  ", "Sound2       ", kReal, kCopy, KXD_AT(T0, Sound2)),
    Second(Field(kCopy, KXD_AT(T1, NozzlePosition), sizeof(float))),
};

}  // namespace

const kxdkeytable kxdturbine00::Keys(kRows, 0);
const kxdkeytable kxdturbine10::Keys(kRows, 1);
