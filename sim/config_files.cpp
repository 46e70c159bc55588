#include "sim/config_files.h"

#include <cstring>
#include <string>

#include "core/interpreter.h"
#include "core/output.h"
#include "core/reference.h"
#include "core/string.h"
#include "platform/device_mapper.h"
#include "platform/event_nodes.h"
#include "platform/files.h"
#include "platform/log.h"
#include "sim/notice.h"
#include "sim/session.h"

kxtype svconfigfiles::Type("svconfigfiles", sizeof(svconfigfiles), kxcreate<svconfigfiles>);

svconfigfiles::svconfigfiles() {
  type = &Type;
  name = "ConfigFiles";
}

kxvalueptr svconfigfiles::GetMember(const char* member, const kxargs& args) {
  if (std::strcmp(member, "GameFile") == 0) return kxvalueptr(new kxstringref(&GameFile));
  if (std::strcmp(member, "Aircraft0File") == 0) return kxvalueptr(new kxstringref(&Aircraft0File));
  if (std::strcmp(member, "Aircraft1File") == 0) return kxvalueptr(new kxstringref(&Aircraft1File));
  return kxnode::GetMember(member, args);
}

namespace sim {

const char kConfigFilesPath[] = "config/config.kxc";

namespace {

svconfigfiles* configFiles = nullptr;

// The destroy listener keeps these pointers from outliving their nodes.
void Forget(kxnode* node) {
  if (node == configFiles) configFiles = nullptr;
  for (kxdevicemapper*& mapper : input::playermapper)
    if (node == mapper) mapper = nullptr;
}

void Watch() {
  static int listening = kxnode::AddDestroyListener(Forget);
  (void)listening;
}

// The mapper of the player under the pinboard, created when it is missing.
kxdevicemapper* PlayerMapper(kxpinboard* board, int player) {
  int slot = player == 0 ? kPlayer1MapperSlot : kPlayer2MapperSlot;
  kxdevicemapper*& mapper = input::playermapper[player];
  if (mapper && mapper->parent == board) return mapper;
  for (kxnode* child = board->firstChild; child; child = child->nextSibling) {
    kxdevicemapper* m = kxnode::As<kxdevicemapper>(child);
    if (m && m->slot == slot) return mapper = m;
  }
  mapper = new kxdevicemapper;
  if (!mapper) return nullptr;
  mapper->name = player == 0 ? "Player1" : "Player2";
  board->AppendChild(mapper);
  mapper->PlugIn(slot, kxdevice::kPlugInFlags);
  return mapper;
}

// Why a file was not read. A file that can be opened was refused by its
// reader (too large, say), whose own line just above says so.
std::string ReadFailure(const char* path) { return kxsystem::ReadProblemOr(path, "see the line above"); }

}  // namespace

svconfigfiles* ConfigFiles() { return configFiles; }

void SetConfigFiles(svconfigfiles* node) {
  Watch();
  configFiles = node;
}

int CreateMappers() {
  kxpinboard* board = input::Pinboard();
  kxpanel* panel = input::Panel();
  if (!board || !panel) {
    kxsystem::Log("sim:  %s missing\n", board ? "/Panel/" : "/Pinboard/");
    return 0;
  }
  Watch();
  PlayerMapper(board, 0);
  PlayerMapper(board, 1);
  kxeventcontroller* controller = nullptr;
  for (kxnode* child = panel->firstChild; child && !controller; child = child->nextSibling)
    controller = kxnode::As<kxeventcontroller>(child);
  if (!controller) {
    controller = new kxeventcontroller;
    if (!controller) return 0;
    controller->name = "Controller";
    panel->AppendChild(controller);
    controller->SetValues(board, kControllerSlot);
  }
  controller->Rest();
  return 1;
}

/* The name comes from "config/config.kxc": like an aircraft's or a
   scenery's, it must name a file inside "config/". A refused or missing
   file leaves the mapper reset, with one log line. */
int LoadConfiguration(kxdevicemapper* mapper, const kxstring& stem) {
  if (!mapper) return 1;
  mapper->ResetFunctions();
  int read = 1;
  if (!stem.Empty() && !kxsystem::IsPlainName(stem.Text())) {
    kxsystem::Log("sim:  control configuration %s is no name inside config/; not loaded\n", stem.Text());
    read = 0;
  } else if (!stem.Empty()) {
    kxstring path;
    path.Format("config/%s.kxa", stem.Text());
    if (!kxscript::ReadFile(path.Text(), mapper)) {
      kxsystem::Log("sim:  control configuration %s=fail (%s)\n", path.Text(), ReadFailure(path.Text()).c_str());
      read = 0;
    }
    mapper->name = stem;
  }
  if (mapper->SourceCode(kNozzleFunction) == kxdevicemapper::kNoSource)
    mapper->CopyFunction(kWingsweepFunction, kNozzleFunction);
  return read;
}

void LoadPlayerConfigurations() {
  svconfigfiles* files = ConfigFiles();
  if (files && !kxscript::ReadFile(kConfigFilesPath, files))
    kxsystem::Log("sim:  %s=fail (%s)\n", kConfigFilesPath, ReadFailure(kConfigFilesPath).c_str());
  const kxstring* stems[2] = {files ? &files->Aircraft0File : nullptr, files ? &files->Aircraft1File : nullptr};
  for (int player = 0; player < 2; ++player) {
    const kxstring stem = stems[player] ? *stems[player] : kxstring();
    if (LoadConfiguration(input::playermapper[player], stem)) continue;
    // Without its functions the player's aircraft rests (throttle closed,
    // controls centred) and would not answer the sticks without a word. A
    // second player without an aircraft has nothing to be told about.
    if (player == 1 && !session.settings.aircraft1[0]) continue;
    PostNotice("The control configuration " + kxexcerpt(stem.Str()) + " of player " + std::to_string(player + 1) +
               " could not be loaded (see the log): its aircraft does not answer the controls. Choose a "
               "configuration under Controls.");
  }
}

int SaveConfigurationsInUse() {
  svconfigfiles* files = ConfigFiles();
  if (!files) return 0;
  kxout out;
  const kxstring* lines[3] = {&files->GameFile, &files->Aircraft0File, &files->Aircraft1File};
  const char* keys[3] = {"GameFile", "Aircraft0File", "Aircraft1File"};
  for (int i = 0; i < 3; ++i) {
    out.Printf("%s = ", keys[i]);
    out.PrintString(lines[i]->Text());
    out.Printf("\n");
  }
  const std::string& text = out.Text();
  const std::string problem = kxsystem::WriteWholeFileProblem(kConfigFilesPath, text.data(),
                                                              static_cast<long>(text.size()));
  if (problem.empty()) return 1;
  kxsystem::Log("sim:  writing %s=fail\n", kConfigFilesPath);
  PostNotice(std::string("The choice of configurations was not saved: ") + kConfigFilesPath + " could not be written (" +
             WriteFailure(problem) + ").");
  return 0;
}

}  // namespace sim
