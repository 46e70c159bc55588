// A whole radio chain in an aircraft file: receiver to gyro to servo and
// receiver to table servo; loading, linking and a byte-stable save.
#include "dynamics/components/gyro.h"
#include "dynamics/components/receiver.h"
#include "dynamics/components/servos.h"
#include "dynamics/writers.h"
#include "components_support.h"

namespace {

using kxctest::componenttest;

std::string ChainPlane() {
  return kxctest::Header() +
         "Append kxdfuselage00 Fuselage\ncd Fuselage/\nMass = 1\ncd ../\n"
         "Append kxdreceiver00 Receiver\ncd Receiver/\ncd ../\n"
         "Append kxdgyro00 Gyro\ncd Gyro/\nSignalIn = ~Aircraft/Receiver/Out(3)\nGain = 0.5\nMass = 0.05\n"
         "cd ../\n"
         "Append kxdservo00 Rudder\ncd Rudder/\nSignalIn = ~Aircraft/Gyro/SignalOut\ncd ../\n"
         "Append kxdservo01 Elevator\ncd Elevator/\nSignalIn = ~Aircraft/Receiver/Out(2)\nVelocityIn = 4\n"
         "VelocityOut = 4\n"
         "cd ../\n";
}

TEST_F(componenttest, RadioChainLinksThroughTheGyroAndSavesByteStable) {
  PutAircraft("chain", ChainPlane().c_str());
  ASSERT_EQ(kxdaircraftinstance::AircraftLoad("chain", 0), 1) << kxtest::logcapture::Text();
  kxdaircraftinstance* instance = kxdaircraftinstance::Loaded(0);
  kxdreceiver00* r = Loaded<kxdreceiver00>("Receiver");
  kxdgyro00* g = Loaded<kxdgyro00>("Gyro");
  kxdservo00* rudder = Loaded<kxdservo00>("Rudder");
  kxdservo01* elevator = Loaded<kxdservo01>("Elevator");
  ASSERT_TRUE(r && g && rudder && elevator);
  EXPECT_EQ(g->SignalIn, &r->Out[3]);
  EXPECT_EQ(rudder->SignalIn, &g->SignalOut);
  EXPECT_EQ(elevator->SignalIn, &r->Out[2]);
  // The clones point into the clones.
  kxdgyro00* simGyro = Simulated<kxdgyro00>("Gyro");
  kxdservo00* simRudder = Simulated<kxdservo00>("Rudder");
  EXPECT_EQ(simRudder->SignalIn, &simGyro->SignalOut);

  ASSERT_EQ(kxdwriters::WriteAircraftFile(instance), 1);
  std::string first = Get("aircraft/chain/chain.kxd");
  EXPECT_NE(first.find("SignalIn = ~Aircraft/Receiver/Out(3)\n"), std::string::npos) << first;
  EXPECT_NE(first.find("SignalIn = ~Aircraft/Gyro/SignalOut\n"), std::string::npos);
  ASSERT_EQ(kxdaircraftinstance::AircraftLoad("chain", 0), 1);
  ASSERT_EQ(kxdwriters::WriteAircraftFile(kxdaircraftinstance::Loaded(0)), 1);
  EXPECT_EQ(Get("aircraft/chain/chain.kxd"), first);
}

}  // namespace
