// The receiver: player binding, channel timing, outputs, names and file text.
#include "dynamics/components/receiver.h"

#include "core/output.h"
#include "dynamics/components/servos.h"
#include "dynamics/writers.h"
#include "components_support.h"

namespace {

using kxctest::componenttest;

std::string RadioPlane() {
  return kxctest::Header() +
         "Append kxdfuselage00 Fuselage\n"
         "cd Fuselage/\n"
         "Mass = 1\n"
         "cd ../\n"
         "Append kxdreceiver00 Receiver\n"
         "cd Receiver/\n"
         "VTailMixElevator = 0.6\n"
         "VTailMixRudder = 0.3\n"
         "cd ../\n"
         "Append kxdservo00 Elevator\n"
         "cd Elevator/\n"
         "SignalIn = ~Aircraft/Receiver/Out(2)\n"
         "cd ../\n";
}

TEST_F(componenttest, ReceiverOfFirstSlotReadsChannels2000To2031) {
  PutAircraft("radio", RadioPlane().c_str());
  slots[kxctest::kPlayer0Channels + 5] = 0.25f;
  slots[kxctest::kPlayer0Channels + 31] = -0.5f;
  slots[kxctest::kPlayer0Channels + 32] = 0.75f;
  ASSERT_EQ(kxdaircraftinstance::AircraftLoad("radio", 0), 1) << kxtest::logcapture::Text();
  kxdreceiver00* r = Simulated<kxdreceiver00>("Receiver");
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->SlotAnalog, slots + kxctest::kPlayer0Channels);
  // The reset after loading copies the channels already.
  EXPECT_FLOAT_EQ(r->Out[5], 0.25f);
  EXPECT_FLOAT_EQ(r->Out[31], -0.5f);
  EXPECT_FLOAT_EQ(input::vtail[0].elevator, 0.6f);
  EXPECT_FLOAT_EQ(input::vtail[0].rudder, 0.3f);
  EXPECT_FLOAT_EQ(input::vtail[1].elevator, 0.77f);
}

TEST_F(componenttest, ReceiverOfSecondSlotReadsChannels2100To2131) {
  PutAircraft("radio", RadioPlane().c_str());
  slots[kxctest::kPlayer1Channels + 2] = 0.5f;
  ASSERT_EQ(kxdaircraftinstance::AircraftLoad("radio", 1), 1);
  kxdreceiver00* r = Simulated<kxdreceiver00>("Receiver", 1);
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->SlotAnalog, slots + kxctest::kPlayer1Channels);
  EXPECT_FLOAT_EQ(r->Out[2], 0.5f);
  EXPECT_FLOAT_EQ(input::vtail[1].elevator, 0.6f);
  EXPECT_FLOAT_EQ(input::vtail[0].elevator, 0.77f);
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
                     "Append kxdfuselage00 Fuselage\n"
                     "cd Fuselage/\n"
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

}  // namespace
