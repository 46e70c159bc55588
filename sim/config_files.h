// svconfigfiles: the node under the root that names the control
// configurations in use ("config/config.kxc" sets its three members), and
// the loading of both players' configurations into their mappers.
#pragma once

#include "core/node.h"
#include "core/string.h"

class kxdevicemapper;

class svconfigfiles : public kxnode {
 public:
  static kxtype Type;

  svconfigfiles();
  // "GameFile", "Aircraft0File", "Aircraft1File", then kxnode's names.
  kxvalueptr GetMember(const char* member, const kxargs& args) override;

  kxstring GameFile;
  kxstring Aircraft0File;  // player 1's configuration, "config/<name>.kxa"
  kxstring Aircraft1File;  // player 2's
};

namespace sim {

extern const char kConfigFilesPath[];  // "config/config.kxc"
constexpr int kPlayer1MapperSlot = 2000;
constexpr int kPlayer2MapperSlot = 2100;
constexpr int kControllerSlot = 200;
constexpr int kWingsweepFunction = 26;
constexpr int kNozzleFunction = 27;

// The node the set-up appended under the root ("ConfigFiles"); null before.
svconfigfiles* ConfigFiles();
void SetConfigFiles(svconfigfiles* node);

// Creates what is missing of the players' mappers under "/Pinboard/" and the
// event controller under "/Panel/" (the keypad at rest). 0 with a log
// line when either root is missing.
int CreateMappers();
// Loads configuration stem into a mapper: functions 0-31 reset, then
// "config/<stem>.kxa" run on it and the mapper named after it (a missing file
// or an empty stem leaves the reset functions), then function 27 follows 26 where it has no
// source of its own. 0 when a configuration was named but not read (its
// log line written), else 1.
int LoadConfiguration(kxdevicemapper* mapper, const kxstring& stem);
// Runs "config/config.kxc" on the files node, then loads each player's
// configuration into its mapper; one that is named but not read is also
// said in a notice, as its player's controls then rest.
void LoadPlayerConfigurations();
// Writes "config/config.kxc" from the files node, names quoted; composed in
// memory and replaced whole, so a failed write keeps the old file. 1 or 0.
int SaveConfigurationsInUse();

}  // namespace sim
