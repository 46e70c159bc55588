#include "platform/device_mapper.h"

#include "core/interpreter.h"
#include "input_support.h"
#include "tests/core/test_support.h"

namespace {

using inputtest::Logged;

class DeviceMapperTest : public inputtest::InputTreeTest {
 protected:
  void SetUp() override {
    InputTreeTest::SetUp();
    input::vtail[0] = kxvtail();
    input::vtail[1] = kxvtail();
    kxscript::Execute("Append kxdevicemapper Player1\nPlayer1/PlugIn( 2000 )\n", board);
    mapper = static_cast<kxdevicemapper*>(board->FindChild("Player1"));
    ASSERT_NE(mapper, nullptr);
    radio = PlugRadio(1000);
  }
  // A transmitter's twelve channels from slot on, as the device nodes plug
  // them: a source among them reads its slot.
  kxdevice* PlugRadio(int slot) {
    kxdevice* d = new kxdevice;
    d->name = "Radio";
    d->channels = 12;
    board->AppendChild(d);
    d->PlugIn(slot, 0);
    return d;
  }
  void Run(const char* script) { kxscript::Execute(script, mapper); }
  kxdevicemapper* mapper = nullptr;
  kxdevice* radio = nullptr;
};

TEST_F(DeviceMapperTest, FunctionAppliesDualExpoAndInvert) {
  Run("Assign( 4, 1000 )\nDual( 4 ) = 0.5\nExpo( 4 ) = 0.5\n");
  board->slots[1000] = 0.5f;
  input::Update();
  EXPECT_FLOAT_EQ(Slot(2004), 0.15625f);
  Run("Invert( 4 ) = 1\n");
  input::Update();
  EXPECT_FLOAT_EQ(Slot(2004), -0.15625f);
}

TEST_F(DeviceMapperTest, ConstantsAndMixesFollowTheElevatorAileronAndRudder) {
  Run("Assign( 4, 1000 )\nAssign( 8, 1001 )\nAssign( 10, 1002 )\n");
  board->slots[1000] = 1.0f;
  board->slots[1001] = 1.0f;
  board->slots[1002] = 0.5f;
  input::Update();
  EXPECT_EQ(Slot(2035), -1.0f);
  EXPECT_EQ(Slot(2036), 0.0f);
  EXPECT_EQ(Slot(2037), 1.0f);
  EXPECT_FLOAT_EQ(Slot(2038), 1.0f);   // 0.8 + 0.2 clamped
  EXPECT_FLOAT_EQ(Slot(2039), 0.6f);
  EXPECT_FLOAT_EQ(Slot(2040), 0.35f);  // 0.77 - 0.42
  EXPECT_FLOAT_EQ(Slot(2041), 1.0f);   // 1.19 clamped
}

TEST_F(DeviceMapperTest, MixSourcesAreReadInTheSameUpdate) {
  Run("Assign( 4, 1000 )\nAssign( 14, 1938 )\nAssign( 20, 1937 )\n");
  board->slots[1000] = 0.5f;
  input::Update();
  EXPECT_FLOAT_EQ(Slot(2014), 0.4f);
  EXPECT_FLOAT_EQ(Slot(2038), 0.4f);
  EXPECT_FLOAT_EQ(Slot(2020), 1.0f);
  EXPECT_EQ(mapper->SourceCode(14), 1938);
}

TEST_F(DeviceMapperTest, SecondPlayerMapperUsesTheSecondPlayersVTail) {
  kxscript::Execute("Append kxdevicemapper Player2\nPlayer2/PlugIn( 2100 )\nPlayer2/Assign( 4, 1000 )\n"
                    "Player2/Assign( 8, 1001 )\n",
                    board);
  Run("Assign( 4, 1000 )\nAssign( 8, 1001 )\n");
  input::vtail[1].elevator = 0.5f;
  input::vtail[1].rudder = 0.25f;
  board->slots[1000] = 1.0f;
  board->slots[1001] = 1.0f;
  input::Update();
  EXPECT_FLOAT_EQ(Slot(2140), 0.25f);
  EXPECT_FLOAT_EQ(Slot(2141), 0.75f);
  EXPECT_FLOAT_EQ(Slot(2040), 0.35f);
}

// A function that loses its source, or never had one (a configuration that
// could not be read), reads its safe value: a throttle closed, not left
// where it was nor at half.
TEST_F(DeviceMapperTest, FunctionWithoutASourceReadsItsSafeValue) {
  Run("Assign( 0, 1000 )\nAssign( 4, 1000 )\n");
  board->slots[1000] = 0.9f;
  input::Update();
  EXPECT_FLOAT_EQ(Slot(2000), 0.9f);
  EXPECT_FLOAT_EQ(Slot(2004), 0.9f);
  mapper->ResetFunctions();
  input::Update();
  for (int f : kxdevicemapper::kClosedAtRest) EXPECT_EQ(Slot(2000 + f), -1.0f) << f;
  EXPECT_EQ(Slot(2004), 0.0f);  // elevator centred
  EXPECT_EQ(Slot(2023), 0.0f);  // wheel brake off
}

// A function whose device is missing reads its safe value: the throttles
// and the collective closed, the rest centred, whatever its shaping; the
// keypad's slots belong to no device that can be missing.
TEST_F(DeviceMapperTest, FunctionsOfAMissingDeviceReadTheirSafeValues) {
  Run("Assign( 0, 1002 )\nAssign( 16, 1002 )\nInvert( 16 ) = 1\nAssign( 20, 1002 )\nAssign( 4, 1001 )\nAssign( 10, 1000 )\n"
      "Assign( 1, 600 )\nAssign( 8, 1100 )\nAssign( 23, 201 )\n");
  for (int slot : {1000, 1001, 1002, 600, 1100, 201}) board->slots[slot] = 0.5f;
  input::Update();
  const struct {
    int function;
    float withRadio, without;
  } expected[] = {
      {0, 0.5f, -1.0f},   // throttle on the radio
      {16, -0.5f, -1.0f}, // collective, reversed: closed all the same
      {20, 0.5f, -1.0f},  // a helicopter's engine
      {4, 0.5f, 0.0f},    // elevator
      {10, 0.5f, 0.0f},   // aileron
      {1, -1.0f, -1.0f},  // a throttle on a joystick that is not there
      {8, 0.0f, 0.0f},    // a second radio that is not there
      {23, 0.5f, 0.5f},   // the keypad
  };
  for (const auto& e : expected) EXPECT_FLOAT_EQ(Slot(2000 + e.function), e.withRadio) << e.function;
  delete radio;  // the cable unplugged
  input::Update();
  for (const auto& e : expected) EXPECT_FLOAT_EQ(Slot(2000 + e.function), e.without) << e.function;
  EXPECT_FLOAT_EQ(Slot(2038), 0.0f);  // the mixes take the centred elevator and aileron
}

TEST_F(DeviceMapperTest, OutOfRangeIndexesAreIgnoredWithALogLine) {
  Run("Assign( 70, 5 )\nAssign( 3, 4096 )\nAssign( 3, -2 )\n");
  for (int f = 0; f < 64; ++f) EXPECT_EQ(mapper->SourceCode(f), -1);
  EXPECT_TRUE(Logged("kxinput:  Player1: Assign( 70, 5 ) ignored, function outside 0-63\n"));
  EXPECT_TRUE(Logged("kxinput:  Player1: Assign( 3, 4096 ) ignored, source outside 0-4095\n"));
  Run("Invert( 64 ) = 1\nEasyFunction( 32 ) = 4\nEasyInvert( -1 ) = 1\n");
  EXPECT_TRUE(Logged("kxinput:  Player1: Invert( 64 ) ignored, function outside 0-63\n"));
  EXPECT_TRUE(Logged("kxinput:  Player1: EasyFunction( 32 ) ignored, row outside 0-31\n"));
}

// Travel and expo outside 0-1 are held at the nearer end with a log line;
// whatever a slot holds, a function's output stays within [-1, 1].
TEST_F(DeviceMapperTest, TravelAndExpoAreHeldInRangeAndOutputsInPlusMinusOne) {
  Run("Assign( 0, 1000 )\nDual( 0 ) = 100\nExpo( 0 ) = 1e30\nAssign( 4, 1001 )\nDual( 4 ) = -2\nExpo( 4 ) = 0.5\n"
      "Assign( 8, 1002 )\n");
  EXPECT_EQ(mapper->Dual[0], 1.0f);
  EXPECT_EQ(mapper->Expo[0], 1.0f);
  EXPECT_EQ(mapper->Dual[4], 0.0f);
  EXPECT_EQ(mapper->Expo[4], 0.5f);
  EXPECT_TRUE(Logged("kxinput:  Player1: Dual( 0 ) = 100 outside 0-1, 1 taken\n"));
  EXPECT_TRUE(Logged("kxinput:  Player1: Expo( 0 ) = 1e+30 outside 0-1, 1 taken\n"));
  EXPECT_TRUE(Logged("kxinput:  Player1: Dual( 4 ) = -2 outside 0-1, 0 taken\n"));
  EXPECT_FALSE(Logged("Expo( 4 )"));
  board->slots[1000] = 0.5f;
  board->slots[1002] = 7.0f;  // a device beyond its calibration
  input::Update();
  EXPECT_FLOAT_EQ(Slot(2000), 0.125f);
  EXPECT_FLOAT_EQ(Slot(2008), 1.0f);
  board->slots[1002] = -5.0f;
  input::Update();
  EXPECT_FLOAT_EQ(Slot(2008), -1.0f);
}

TEST_F(DeviceMapperTest, EasyMembersAreReadAndWritten) {
  Run("EasyFunction( 3 ) = 12\nEasyInvert( 8 ) = 1\nEasyDevice = 3\nEasy = 0\n");
  EXPECT_EQ(mapper->EasyFunction[3], 12);
  EXPECT_EQ(mapper->EasyInvert[8], 1);
  EXPECT_EQ(mapper->EasyDevice, 3);
  EXPECT_EQ(mapper->Easy, 0);
}

// A control file's description line reads cleanly into the mapper and
// changes no output.
TEST_F(DeviceMapperTest, TheDescriptionLineIsTakenWithoutEffect) {
  kxtest::logcapture log;
  Run("Assign( 4, 1000 )\nText = \"Keypad@@ADV\"\n");
  board->slots[1000] = 0.5f;
  input::Update();
  EXPECT_FLOAT_EQ(Slot(2004), 0.5f);
  EXPECT_EQ(mapper->Text.Str(), "Keypad@@ADV");
  EXPECT_EQ(log.Lines(), 0) << log.Text();
}

TEST_F(DeviceMapperTest, CopyFunctionTakesSourceAndShape) {
  Run("Assign( 26, 1005 )\nDual( 26 ) = 0.7\nExpo( 26 ) = 0.2\nInvert( 26 ) = 1\n");
  mapper->CopyFunction(26, 27);
  EXPECT_EQ(mapper->SourceCode(27), 1005);
  EXPECT_FLOAT_EQ(mapper->Dual[27], 0.7f);
  EXPECT_FLOAT_EQ(mapper->Expo[27], 0.2f);
  EXPECT_EQ(mapper->Invert[27], 1.0f);
}

TEST_F(DeviceMapperTest, ResetFunctionsLeavesTheUpperFunctions) {
  Run("Assign( 31, 1000 )\nAssign( 32, 1000 )\nDual( 31 ) = 0.2\n");
  mapper->ResetFunctions();
  EXPECT_EQ(mapper->SourceCode(31), -1);
  EXPECT_EQ(mapper->Dual[31], 1.0f);
  EXPECT_EQ(mapper->SourceCode(32), 1000);
}

TEST_F(DeviceMapperTest, UnpluggedMapperWritesNothing) {
  kxscript::Execute("Append kxdevicemapper Loose\nLoose/Assign( 0, 1000 )\n", board);
  board->slots[1000] = 1.0f;
  input::Update();  // must not write through a null table
  EXPECT_EQ(static_cast<kxdevicemapper*>(board->FindChild("Loose"))->outputs, nullptr);
}

TEST_F(DeviceMapperTest, CloneCarriesTheConfigurationAndPlugsIntoItsNewPinboard) {
  Run("Assign( 4, 1000 )\nDual( 4 ) = 0.5\nEasyDevice = 2\n");
  kxnode* copy = board->Clone(nullptr);
  ASSERT_NE(copy, nullptr);
  auto* m = static_cast<kxdevicemapper*>(copy->FindChild("Player1"));
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->SourceCode(4), 1000);
  EXPECT_FLOAT_EQ(m->Dual[4], 0.5f);
  EXPECT_EQ(m->EasyDevice, 2);
  EXPECT_EQ(m->outputs, static_cast<kxpinboard*>(copy)->slots + 2000);
  delete copy;
}

}  // namespace
