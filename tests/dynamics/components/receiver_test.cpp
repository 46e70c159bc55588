// The receiver: player binding, channel timing, outputs, names, file text,
// and a radio chain through it.
#include "dynamics/components/receiver.h"

#include "core/output.h"
#include "dynamics/components/gyro.h"
#include "dynamics/components/servos.h"
#include "dynamics/writers.h"
#include "components_support.h"

namespace {

using kxctest::componenttest;

std::string RadioPlane() {
  return kxctest::Header() +
         "Append kxdfuselage00 Fuselage\ncd Fuselage/\nMass = 1\ncd ../\n"
         "Append kxdreceiver00 Receiver\ncd Receiver/\nVTailMixElevator = 0.6\nVTailMixRudder = 0.3\ncd ../\n"
         "Append kxdservo00 Elevator\ncd Elevator/\nSignalIn = ~Aircraft/Receiver/Out(2)\n"
         "cd ../\n";
}

// Player 1's receiver reads channels 2000-2031, player 2's 2100-2131; each
// sets its player's v-tail mix, the other keeps the default.
TEST_F(componenttest, ReceiverOfEachSlotReadsItsPlayersChannels) {
  for (int player : {0, 1}) {
    SCOPED_TRACE(player);
    input::vtail[0] = input::vtail[1] = kxvtail{};
    PutAircraft("radio", RadioPlane().c_str());
    float* channels = slots + (player ? kxctest::kPlayer1Channels : kxctest::kPlayer0Channels);
    channels[5] = 0.25f;
    channels[31] = -0.5f;
    channels[32] = 0.75f;
    ASSERT_EQ(kxdaircraftinstance::AircraftLoad("radio", player), 1) << kxtest::logcapture::Text();
    kxdreceiver00* r = Simulated<kxdreceiver00>("Receiver", player);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->SlotAnalog, channels);
    // The reset after loading copies the channels already.
    EXPECT_FLOAT_EQ(r->Out[5], 0.25f);
    EXPECT_FLOAT_EQ(r->Out[31], -0.5f);
    EXPECT_FLOAT_EQ(input::vtail[player].elevator, 0.6f);
    EXPECT_FLOAT_EQ(input::vtail[player].rudder, 0.3f);
    EXPECT_FLOAT_EQ(input::vtail[1 - player].elevator, 0.77f);
  }
}

TEST_F(componenttest, ReceiverCopiesChannelsOneFrameLate) {
  PutAircraft("radio", RadioPlane().c_str());
  ASSERT_EQ(kxdaircraftinstance::AircraftLoad("radio", 0), 1);
  kxdynamics::Start(nullptr);
  kxdreceiver00* r = Simulated<kxdreceiver00>("Receiver");
  kxdservo00* s = Simulated<kxdservo00>("Elevator");
  ASSERT_NE(r, nullptr);
  ASSERT_NE(s, nullptr);
  EXPECT_FLOAT_EQ(s->MechLink, 0.0f);
  slots[kxctest::kPlayer0Channels + 2] = 1.0f;
  // This frame's substeps still see the old channel: the servo only chatters
  // about 0; the visual update at its end brings the new value in.
  RunSubsteps(100);
  EXPECT_NEAR(s->MechLink, 0.0f, 0.002f);
  EXPECT_FLOAT_EQ(r->Out[2], 1.0f);
  // The next frame moves the servo at Vmax = 5 per second: 100 substeps.
  RunSubsteps(100);
  EXPECT_NEAR(s->MechLink, 100 * 0.0003f * 5.0f, 1e-4f);
}

TEST_F(componenttest, NestedReceiverStaysUnboundAndSilent) {
  std::string text = kxctest::Header() +
                     "Append kxdfuselage00 Fuselage\ncd Fuselage/\n"
                     "Append kxdreceiver00 Inner\n"
                     "cd ../\n";
  PutAircraft("nested", text.c_str());
  slots[kxctest::kPlayer0Channels] = 0.5f;
  ASSERT_EQ(kxdaircraftinstance::AircraftLoad("nested", 0), 1);
  kxnode* inner = kxnode::Find("Fuselage/Inner", kxdaircraftinstance::Loaded(0)->Clone);
  kxdreceiver00* r = kxdreceiver00::As(inner);
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->SlotAnalog, nullptr);
  EXPECT_FLOAT_EQ(r->Out[0], 0.0f);
}

TEST_F(componenttest, SlotAnalogFromAFileIsRefused) {
  kxdreceiver00* r = AddToState<kxdreceiver00>("Receiver");
  kxscript::Execute("SlotAnalog = ~Aircraft/Receiver/Out(1)", r);
  kxscript::Execute("SlotAnalog = 5", r);
  EXPECT_EQ(r->SlotAnalog, nullptr);
  EXPECT_TRUE(log.Contains("kxdreceiver00:  SlotAnalog is set by the aircraft analysis; assignment refused\n"))
      << kxtest::logcapture::Text();
}

// A whole radio chain: receiver to gyro to servo and receiver to table servo.
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

TEST_F(componenttest, RadioChainLinksThroughTheGyroInTheTemplateAndTheClones) {
  PutAircraft("chain", ChainPlane().c_str());
  ASSERT_EQ(kxdaircraftinstance::AircraftLoad("chain", 0), 1) << kxtest::logcapture::Text();
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
}

}  // namespace
