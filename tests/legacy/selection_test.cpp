// The legacy runtime behind the aircraft selection window, its hooks
// installed as the program installs them: a chosen model is loaded for the
// first player with the selection's log frame around the runtime's lines,
// and choosing another aircraft unloads it.
#include <string>

#include "legacy/legacy.h"
#include "legacy/loader.h"
#include "legacy/model_state.h"
#include "legacy/pool.h"
#include "platform/log.h"
#include "sim/app_hooks.h"
#include "tests/config_ui/selection_support.h"

namespace {

using namespace dnsmodel;

class LegacySelectionTest : public configtest::selectiontest {
 protected:
  void SetUp() override {
    selectiontest::SetUp();
    // The runtime's lines and the selection's go to one history, as in the
    // program, so their order can be read.
    kxsystem::ClearLogHistory();
    kxcore::SetLogHandler(kxsystem::LogText);
    ResetRuntime();
    InitPool();
    sim::applicationhooks hooks;
    InstallHooks(&hooks);
    sim::SetHooks(hooks);
  }
  void TearDown() override {
    if (Runtime().state.model) Unload();
    ResetRuntime();
    selectiontest::TearDown();
  }
  size_t Count(const std::string& text) {
    const std::string log = inputtest::LogText();
    size_t n = 0;
    for (size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1)) ++n;
    return n;
  }
};

TEST_F(LegacySelectionTest, ChosenModelFliesAsPlayerOneUntilAnotherIsChosen) {
  Run("Open(0); SelectAL1( \"heli\" ); Load");
  const dnsstate& record = Runtime().state;
  ASSERT_NE(record.model, nullptr);
  EXPECT_STREQ(record.name, "heli");
  EXPECT_EQ(sim::players[0].legacy, 1);
  EXPECT_EQ(sim::players[0].flight_state, &sim::players[0].legacy_state);
  EXPECT_EQ(sim::players[0].legacy_state.flags, kKindHelicopter);
  std::string log = inputtest::LogText();
  size_t begin = log.find("\nLOAD AL\n"), sound = log.find("directsound:  register sound airlark/sound/heli.wav=");
  size_t end = log.find("ENDLOAD AL\n\n");
  EXPECT_LT(begin, sound);
  EXPECT_LT(sound, end);
  EXPECT_NE(end, std::string::npos);
  EXPECT_EQ(Count("LOAD AL\n"), 2u);  // once, and once within ENDLOAD

  // A component aircraft for player 1 ends the legacy model first.
  Run("Open(0); Select( \"jet\" ); Load");
  EXPECT_EQ(record.model, nullptr);
  EXPECT_EQ(CurrentPool()->used, 0);
  EXPECT_EQ(sim::players[0].legacy, 0);
  log = inputtest::LogText();
  size_t deleting = log.find("DELETE BEGIN AL\n");
  EXPECT_LT(deleting, log.find("DELETE END AL\n", deleting));
}

// The piccolo loads without the selection's frame of log lines.
TEST_F(LegacySelectionTest, PiccoloLoadsQuietly) {
  Run("Open(0); SelectAL1( \"piccolo\" ); Load");
  ASSERT_NE(Runtime().state.model, nullptr);
  EXPECT_EQ(Runtime().piccoloModel, 1);
  EXPECT_EQ(sim::players[0].legacy_state.flags, kKindHelicopter);
  EXPECT_EQ(Count("LOAD AL"), 0u);
  EXPECT_TRUE(inputtest::Logged("directsound:  register sound sound/motor.wav="));
}

}  // namespace
