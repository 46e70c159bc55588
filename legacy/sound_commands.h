// The sounds of a legacy model go through short command lists instead of
// direct calls: the loader and the parts' resets run theirs at once, and
// during a step the parts append to the pending list, of which the frame's
// sound pass plays what the last substep left. A list ends with code
// kSoundListEnd; any unknown code is passed over.
#pragma once

#include <cstdint>

#include "legacy/model_state.h"

namespace dnsmodel {

constexpr int32_t kSoundStop = 100;
constexpr int32_t kSoundPlayOnce = 101;
constexpr int32_t kSoundPlayLooping = 102;
constexpr int32_t kSoundUpdate = 103;     // only the step's sound pass carries it out
constexpr int32_t kSoundRegister = 104;   // file name, address of the handle; only RunSoundCommands

// Carries out a list: stops, plays at the root's position and velocity
// (started only while the record's soundOn is set) and registrations of
// "airlark/sound/<name>.wav" ("sound/<name>.wav" for the model "piccolo"),
// each handle kept in the record's sounds for the unload. Updates are
// passed over.
void RunSoundCommands(const soundcommand* list);

// The frame's sound pass over the pending list: stops, plays with the
// record's velocity and updates at the root's position over dt seconds;
// commands without a handle and registrations are passed over.
void RunPendingSoundCommands(float dt);

// Volume and frequency straight into the record's slot and an update
// queued, when the record has a sound.
void HoldSound(sound* s, float volume, float frequency);

// Appends to the pending list; a command beyond its room is dropped with a
// log line.
void QueueSoundCommand(int32_t code, void* handle);
// Starts the pending list afresh, and ends it where it stands.
void RestartPendingSounds();
void EndPendingSounds();

}  // namespace dnsmodel
