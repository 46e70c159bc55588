// The control mapper: turns pinboard slots into a player's 64 function
// channels (travel, expo, reverse per function), adds the constants and the
// taileron and V-tail mixes, and writes the channels into its own run of
// pinboard slots, where the aircraft's receiver reads them.
#pragma once

#include "platform/pinboard.h"

// V-tail mixing factors of one player, set by the aircraft analysis from
// the aircraft's receiver.
struct kxvtail {
  float elevator = 0.77f;
  float rudder = 0.42f;
};

class kxdevicemapper : public kxdevice {
 public:
  static kxtype Type;
  static constexpr int kFunctions = 64;
  static constexpr int kRows = 32;               // easy-editor rows
  static constexpr int kConfiguredFunctions = 32; // what configurations use
  static constexpr int kOwnFirst = 1935;         // sources 1935-1941 are own outputs 35-41
  static constexpr int kOwnLast = 1941;
  static constexpr int kOwnBase = 1900;
  static constexpr int kNoSource = -1;

  kxdevicemapper();
  // "Assign( f, s )", "Invert( f )", "Dual( f )", "Expo( f )",
  // "EasyFunction( r )", "EasyInvert( r )", "EasyDevice", "Easy", "Text", "PlugIn( s )".
  kxvalueptr GetMember(const char* member, const kxargs& args) override;
  void CopyTo(kxnode* other) override;
  void Update() override;

  // 1 when assigned; out-of-range arguments are logged and ignored (0).
  int Assign(int function, int source);
  // -1 without source, else the code Assign was given.
  int SourceCode(int function) const;
  // Functions 0-31: no source, Invert 0, Dual 1, Expo 0.
  void ResetFunctions();
  // Source, Invert, Dual and Expo of one function onto another.
  void CopyFunction(int from, int to);
  // The player whose V-tail factors the mixes use: 1 at slot 2100, else 0.
  int Player() const;
  // What a function reads while its device is missing or it has no source:
  // -1 for the engine throttles and the collective pitch (closed), 0
  // (centred) for the rest.
  static float SafeValue(int function);
  static constexpr int kClosedAtRest[] = {0, 1, 2, 3, 16, 20};  // Engine 1-4, Collective Pitch, Engine
  // 1 when a function a configuration uses reads a device that is missing.
  int ReadsMissingDevice() const;

  int source[kFunctions];      // source codes; kNoSource when none
  float Invert[kFunctions];    // nonzero reverses
  float Dual[kFunctions];      // travel, 1 = full
  float Expo[kFunctions];      // 0 linear .. 1 cubic
  int EasyFunction[kRows] = {};
  int EasyInvert[kRows] = {};
  int EasyDevice = 0;
  int Easy = 1;
  // A control file's description line: taken so that the file reads
  // cleanly, read only by the configuration windows (through a text node).
  kxstring Text;
};

namespace input {

// Players' V-tail factors, 0.77 and 0.42 until an aircraft sets them.
extern kxvtail vtail[2];
// The players' mappers under "/Pinboard/", set by the menu's set-up.
extern kxdevicemapper* playermapper[2];

}  // namespace input
