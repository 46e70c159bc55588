#include "platform/pinboard.h"

#include "core/interpreter.h"
#include "input_support.h"
#include "platform/device_mapper.h"
#include "platform/device_simple.h"
#include "platform/event_nodes.h"

namespace {

using inputtest::Logged;

class PinboardTest : public inputtest::InputTreeTest {};

TEST_F(PinboardTest, ScriptBuildsRootsWithPluggedDevices) {
  auto* mouse = kxnode::FromValue<kxdevicemouse>(kxscript::Evaluate("/Pinboard/Mouse/").get());
  ASSERT_NE(mouse, nullptr);
  EXPECT_EQ(mouse->outputs, board->slots + 100);
  EXPECT_EQ(mouse->channels, 5);
  EXPECT_NE(kxnode::Find("/Panel/Display/"), nullptr);
  EXPECT_EQ(board->ChildCount(), 3);
  for (int i = 0; i < kxpinboard::kSlots; ++i) ASSERT_EQ(Slot(i), 0.0f);
}

TEST_F(PinboardTest, FromValueGivesThePinboardOnlyForPinboardNodes) {
  kxnodevalue boardValue(board), panelValue(panel);
  EXPECT_EQ(kxpinboard::FromValue(&boardValue), board);
  EXPECT_EQ(kxpinboard::FromValue(&panelValue), nullptr);
  EXPECT_EQ(kxpinboard::FromValue(nullptr), nullptr);
}

TEST_F(PinboardTest, PlugInPastTheLastSlotIsRefusedAndLogged) {
  kxscript::Execute("Append kxdevicemapper M\nM/PlugIn( 4040 )\n", board);
  auto* m = static_cast<kxdevicemapper*>(board->FindChild("M"));
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->outputs, nullptr);
  EXPECT_TRUE(Logged("kxinput:  M: plug-in at slot 4040 with 64 channels refused (slots 0-4095)\n"));
  EXPECT_EQ(m->PlugIn(4032, 0), 1);
  EXPECT_EQ(m->outputs, board->slots + 4032);
  EXPECT_EQ(m->PlugIn(-1, 0), 0);
}

TEST_F(PinboardTest, PlugInOutsideAPinboardIsRefused) {
  kxscript::Execute("Append kxdevicekeyboard K\nK/PlugIn( 10 )\n", panel);
  auto* k = static_cast<kxdevice*>(panel->FindChild("K"));
  ASSERT_NE(k, nullptr);
  EXPECT_EQ(k->outputs, nullptr);
  EXPECT_TRUE(Logged("kxinput:  K: plug-in refused, parent is no pinboard\n"));
}

// A device that writes a fixed value into its one slot.
class fixedwriter : public kxdevice {
 public:
  fixedwriter() { channels = 1; }
  void Update() override { outputs[0] = 0.5f; }
};

TEST_F(PinboardTest, DevicesUpdateBeforeMappersWhateverTheChildOrder) {
  kxscript::Execute("Add kxdevicemapper First\nFirst/PlugIn( 2000 )\nFirst/Assign( 0, 700 )\n", board);
  ASSERT_EQ(board->firstChild->name, "First");
  auto* w = new fixedwriter;
  board->AppendChild(w);
  ASSERT_EQ(w->PlugIn(700, 0), 1);
  input::Update();
  EXPECT_FLOAT_EQ(Slot(2000), 0.5f);
}

// Without roots an update and a dispatch do nothing; a node of another type
// named "Pinboard" is no root.
TEST_F(PinboardTest, UpdateRunsWithoutRoots) {
  delete board;
  delete panel;
  board = nullptr;
  panel = nullptr;
  input::Update();
  input::Dispatch(20, 0, 0);
  EXPECT_EQ(input::Pinboard(), nullptr);
  kxscript::Execute("Append kxpanel Pinboard\n", kxscript::Root());
  EXPECT_EQ(input::Pinboard(), nullptr);
  delete kxnode::Find("/Pinboard/");
}

}  // namespace
