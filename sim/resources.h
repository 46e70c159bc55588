// The program's resources: fonts, the shared pictures and meshes, the
// player records' buffers, the settings and the sounds, loaded once at
// set-up.
#pragma once

#include <string>

#include "sim/fonts.h"

namespace sim {

// Both player records made afresh: every field at its start value (the
// settings too, which the settings files then read), chained exhaust rows,
// an idle recorder on the player's share of the store, an empty trace, and
// the overlay cameras 0 and 1 at their sizes.
void ResetPlayerRecords();

// The temporaries that writes killed on their way left beside the files
// the program writes (control configurations, calibrations, recordings,
// screenshots, the language file), each removed with its log line. Start-up
// does it once; the aircraft folders' go with what a save cut short left
// there (kxdwriters::FinishInterruptedSaves).
void RemoveUnfinishedWrites();

// The instrument row's pictures and the horizon ball into the session, from
// folder (the data folder with its trailing "/", or "" for the current one).
void LoadInstrumentPictures(const std::string& folder);

}  // namespace sim

namespace kxprogram {

// Banner, session and player records, what killed writes left, settings,
// sounds, instrument pictures and the reflection map reserves.
void LoadResources();

}  // namespace kxprogram
