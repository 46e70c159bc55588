// Shared set-up of the simulator tests: a temporary data folder, the
// settings, session and player records back at their defaults, the mode
// callbacks cleared, and the log history read back as text.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "core/interpreter.h"
#include "platform/callbacks.h"
#include "platform/log.h"
#include "platform/random.h"
#include "sim/hud_texts.h"
#include "sim/menu.h"
#include "sim/multilanguage.h"
#include "sim/notice.h"
#include "sim/player.h"
#include "sim/resources.h"
#include "sim/session.h"
#include "sim/settings.h"
#include "tests/platform/input_support.h"
#include "tests/temp_dir.h"

namespace simtest {

inline std::string Fixture(const char* name) {
  std::string bytes;
  std::string path = std::string(KX_TEST_DATA) + "/" + name;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    for (int c; (c = std::fgetc(f)) != EOF;) bytes.push_back(static_cast<char>(c));
    std::fclose(f);
  }
  return bytes;
}

// Puts back what the settings, the records and the menu keep between tests.
inline void ResetSimulatorState() {
  sim::session = simsession();
  sim::ResetPlayerRecords();  // fresh records first; the settings' defaults then go into them
  sim::ResetSettings(sim::MainSettings());
  sim::ForgetKeptFiles();
  for (int i = 0; i < sim::kPlayers; ++i) {
    sim::CopyPlayerSettings(sim::players[i], sim::staging_player);
    sim::ResetSettings(sim::PlayerSettings());
    sim::CopyPlayerSettings(sim::staging_player, sim::players[i]);
    sim::players[i].flight_state = nullptr;
    sim::players[i].legacy = 0;
  }
  sim::Menu() = sim::menustate();
  kxsystem::callbacks = kxcallbacks();
  kxsystem::ClearLogHistory();
  kxsystem::SeedRandom(1);
  sim::ClearNotices();
}

class simtest : public TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    ResetSimulatorState();
  }
  void TearDown() override {
    ResetSimulatorState();
    TempDirTest::TearDown();
  }
};

// The text table and the head-up texts back at their English defaults
// around each test.
class languagetest : public simtest {
 protected:
  void SetUp() override {
    simtest::SetUp();
    kxscript::Init();
    sim::Language().Reset();
    sim::ResetHudTexts();
  }
  void TearDown() override {
    sim::Language().Reset();
    sim::ResetHudTexts();
    simtest::TearDown();
  }
};

}  // namespace simtest
