// The numeric codes that cross the platform boundary: main-loop requests,
// key and mouse event codes, modifier bits, sound and music modes, input
// device kinds and file open modes. Every mode and the GUI compare against
// these numbers, so they are fixed.
#pragma once

namespace kxcode {

// Requests written into kxcallbacks::request.
constexpr int kRequestRun = 0;
constexpr int kRequestQuit = 10;
constexpr int kRequestRecreate = 11;  // destroy and re-create window and context
constexpr int kRequestSwitch = 13;    // accompanies a pending mode switch

// Key codes: characters 32-127 are sent as themselves.
constexpr int kKeyFirstChar = 32;
constexpr int kKeyLastChar = 127;
constexpr int kKeyUp = 256;
constexpr int kKeyDown = 257;
constexpr int kKeyLeft = 258;
constexpr int kKeyRight = 259;
constexpr int kKeyEscape = 260;
constexpr int kKeyPageUp = 261;
constexpr int kKeyPageDown = 262;
constexpr int kKeyTab = 263;
constexpr int kKeyBackspace = 264;
constexpr int kKeyInsert = 265;
constexpr int kKeyDelete = 266;
constexpr int kKeyHome = 267;
constexpr int kKeyEnd = 268;
constexpr int kKeyReturn = 269;
constexpr int kKeyF1 = 271;   // F1..F12 are 271..282
constexpr int kKeyF12 = 282;
constexpr int kKeyPad0 = 283; // keypad 0..9 are 283..292
constexpr int kKeyPad9 = 292;

// Modifier bits passed with key and mouse codes.
constexpr int kModShift = 0x200;
constexpr int kModCtrl = 0x400;

// Mouse codes.
constexpr int kMouseMove = 20;
constexpr int kMouseLeftDouble = 22;
constexpr int kMouseLeftUp = 23;
constexpr int kMouseLeftDown = 24;
constexpr int kMouseRightDouble = 26;
constexpr int kMouseRightUp = 27;
constexpr int kMouseRightDown = 28;
constexpr int kMouseMiddleUp = 29;
constexpr int kMouseMiddleDown = 30;
constexpr int kMouseWheelUp = 31;
constexpr int kMouseWheelDown = 32;
constexpr int kMouseLeave = 33;   // the pointer left the window
constexpr int kTimerEvent = 34;   // posted to the panel only

// Sound play and stop modes.
constexpr int kSoundLoop = 40;
constexpr int kSoundOnce = 41;
constexpr int kStopKeepMark = 44;
constexpr int kStopClearMark = 45;

// Input device kinds and sub-kinds.
constexpr int kDeviceJoystick = 60;
constexpr int kDeviceUsb = 61;
constexpr int kDevicePadPilot = 65;
constexpr int kDeviceCable = 66;

// Music player modes.
constexpr int kMusicOff = 0;
constexpr int kMusicSingle = 11;
constexpr int kMusicRandom = 12;
constexpr int kMusicLoop = 13;

// File open modes of kxsystem::OpenFile.
constexpr int kFileReadBinary = 30;   // "rb"
constexpr int kFileWriteBinary = 31;  // "wb"
constexpr int kFileWriteText = 32;    // "wt"

}  // namespace kxcode
