// The settings files "config/main.mcf", "config/player1.mcf" and
// "config/player2.mcf": `key value` lines driven by one table per file that
// binds each key to a typed variable and its default. The same table resets,
// reads and writes, so the three can never drift apart.
#pragma once

#include <string>

struct simplayer;

struct settingsrow {
  static constexpr int kString = 1;
  static constexpr int kInt = 2;
  static constexpr int kFloat = 3;
  static constexpr int kEnd = 0;

  int type;                  // kString, kInt, kFloat; kEnd closes the table
  int count;                 // values on the key's line (1, or 3 for a vector); 0: continuation row
  void* variable;            // char[kStringChars], int or float
  float default_number;      // int rows truncate it toward zero
  const char* default_text;  // string rows
  const char* key;           // with its trailing blank; a continuation row: the separator written after it
};

namespace sim {

// String settings live in buffers of this size; longer values are cut.
constexpr int kSettingStringChars = 128;

extern const char kMainSettingsPath[];     // "config/main.mcf"
extern const char kPlayerSettingsPath[2][20];  // "config/player1.mcf", "config/player2.mcf"

// The main table (75 rows) and the player table (32 rows, bound to the
// staging player record), each closed by an end row.
const settingsrow* MainSettings();
const settingsrow* PlayerSettings();

// Stores every row's default into its variable.
void ResetSettings(const settingsrow* table);
// Resets the table, then reads the file into it. 1 when the file was read;
// 0 (the defaults stay) when it does not open. kind: "" or "player ".
int ReadSettingsFile(const char* path, const settingsrow* table, const char* kind);
// Reads settings lines from text (what ReadSettingsFile does with each line).
void ReadSettingsLine(const char* line, const settingsrow* table);
// Writes the table as text: one line per key.
std::string FormatSettings(const settingsrow* table);
// 1 when the file was written.
int WriteSettingsFile(const char* path, const settingsrow* table, const char* kind);

// Copies the fields the player table names from one player record to another
// (a record and the staging copy); the other fields keep their values.
void CopyPlayerSettings(const simplayer& from, simplayer& to);

// Main file, then each player's file through the staging copy.
void LoadConfigFiles();
// Main file, player 1's, and player 2's only while player 2 has an aircraft.
void SaveConfigFiles();

}  // namespace sim
