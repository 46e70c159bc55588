// The settings files "config/main.mcf", "config/player1.mcf" and
// "config/player2.mcf": `key value` lines driven by one table per file that
// binds each key to a typed variable and its default. The same table resets,
// reads and writes, so the three can never drift apart.
#pragma once

#include <string>

struct simplayer;

// How a code row's variable (a named code, such as a view mode) crosses to
// the number the file keeps and back, through the variable's own type.
struct settingscode {
  int (*get)(const void* variable);
  void (*set)(void* variable, int number);
};

struct settingsrow {
  enum class kind : int {
    kEnd = 0,  // closes the table
    kString = 1,
    kInt = 2,
    kFloat = 3,
    kCode = 4,
  };
  using enum kind;

  kind type;
  int count;                 // values on the key's line (1, or 3 for a vector); 0: continuation row
  void* variable;            // char[kStringChars], int, float, or a code read and written through `code`
  float default_number;      // int and code rows truncate it toward zero
  const char* default_text;  // string rows
  const char* key;           // with its trailing blank; a continuation row: the separator written after it
  float minimum = 0;         // number rows with minimum < maximum: a value read is held in this range
  float maximum = 0;
  const settingscode* code = nullptr;  // code rows
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
// Resets the table, then reads the file into it. 1 when it set at least one
// value; 0 (the defaults stay) otherwise. A file that is there but gives no
// setting (unreadable, binary, another encoding) is the user's: it is moved
// aside as "<path>.bad", or, when that name is taken or the file is a link
// out of the data folder, kept and not written over during this run; either
// way with a log line and a notice. A line may be indented; a value that
// gives no number is logged and leaves the variable as it was. In a file
// that gives settings, each line that names none (a comment, an unknown
// key; not a blank line) gets a log line, as the next write drops it.
// kind: "" or "player ".
int ReadSettingsFile(const char* path, const settingsrow* table, const char* kind);
// Reads one settings line (a tab counts as a blank); the number of values
// it set.
int ReadSettingsLine(const char* line, const settingsrow* table);
// Writes the table as text: one line per key.
std::string FormatSettings(const settingsrow* table);
// 1 when the file was written; 0 when it could not be, or when it is a file
// the reading kept because it could not be read.
int WriteSettingsFile(const char* path, const settingsrow* table, const char* kind);

// Copies the fields the player table names from one player record to another
// (a record and the staging copy); the other fields keep their values.
void CopyPlayerSettings(const simplayer& from, simplayer& to);

// Main file, then each player's file through the staging copy, after the
// temporaries a killed save left are removed. The window size is fitted to
// the display's modes and the overlay cameras to the window.
void LoadConfigFiles();
// Main file, player 1's, and player 2's only while player 2 has an aircraft.
void SaveConfigFiles();
// Forgets the files an earlier reading kept unwritten: a new run reads
// them again (LoadConfigFiles starts with it).
void ForgetKeptFiles();

}  // namespace sim
