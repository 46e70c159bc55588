// kxdairfoil: one airfoil of the database - the measured lift, drag and
// moment rows of its file, its outline, and the full-circle coefficient
// tables the wing force passes read by direction index. Airfoils are found
// by the title on their file's second line, loaded once per run and kept
// under /Simulation/Dynamics/Airfoil; wings hold raw pointers to them.
#pragma once

#include <string>

#include "core/node.h"
#include "core/string.h"

enum class kxdcoefficient { kLift, kDrag, kMoment };

class kxdairfoil : public kxnode {
 public:
  // Not in the type list: Find is the only way to make an airfoil.
  static kxtype Type;

  static constexpr int kMaxDatasets = 8;
  static constexpr int kMaxRows = 256;
  static constexpr int kMaxPoints = 1024;
  static constexpr int kHalfEntries = 8192;       // half-degree tables
  static constexpr int kHalfZero = 512;           // entry of 0 degrees
  static constexpr int kDirectionEntries = 2048;  // direction tables
  static constexpr int kDirectionUsed = 1600;     // 4 quarters of 400

  kxdairfoil();
  ~kxdairfoil() override;
  kxvalueptr GetMember(const char* member, const kxargs& args) override;

  // The airfoil with that title, loading its file on first use; null when
  // no airfoil file carries the title (nothing logged then).
  static kxdairfoil* Find(const char* title);
  // Title of "aircraft/airfoil/<stem>.kxa"; "" when the file cannot be
  // opened or has no title.
  static kxstring ReadTitle(const char* stem);
  // Stems of the airfoil files (listed once per run) into out[0..], ended
  // by an empty name; at most capacity - 1 stems. The count written.
  static int ListFiles(kxstring* out, int capacity);
  // Forgets the listing so the next ListFiles lists the folder again (the
  // data folder changed, as between tests).
  static void ForgetListing();

  // Reads FileName's file into the datasets and outline; one log line.
  void Load();
  // Sorts the rows and fills the half-degree and direction tables.
  void BuildTables();
  void BuildDirectionTables();
  // Copies the three direction tables into Direction, the form the force
  // passes read; after any change to them.
  void PackDirectionTables();
  // The coefficient at a whole degree, -180..180 (180 reads as -180); 0
  // outside that range.
  float CoefficientAtDegree(kxdcoefficient which, int degree) const;

  kxstring FileName;                   // stem: no folder, no extension
  int DatasetCount;                    // 0..kMaxDatasets
  int RowCount[kMaxDatasets];          // 0..kMaxRows
  float Reynolds[kMaxDatasets];        // stored only; no table depends on it
  float Alpha[kMaxDatasets][kMaxRows];  // degrees
  float Cl[kMaxDatasets][kMaxRows];
  float Cd[kMaxDatasets][kMaxRows];
  float Cm[kMaxDatasets][kMaxRows];
  float ClHalf[kHalfEntries];          // entry kHalfZero + 2a at a degrees
  float CdHalf[kHalfEntries];
  float CmHalf[kHalfEntries];
  float ClTable[kDirectionEntries];    // by direction index, 0..1599 used
  float CdTable[kDirectionEntries];
  float CmTable[kDirectionEntries];
  // Entry n and n + 1 of the three tables side by side (cl, cd, cm, 0 for
  // each), so a lookup reads one record of 32 bytes instead of six floats
  // from three tables.
  struct directionpair {
    float at[4];    // cl, cd, cm, 0 of entry n
    float next[4];  // the same of entry n + 1
  };
  directionpair Direction[kDirectionEntries - 1];
  float CoordX[kMaxPoints];            // outline in chords, file order
  float CoordY[kMaxPoints];
  int CoordCount;                      // 0..kMaxPoints
  // What the last Load had to leave out at the limits.
  int DroppedDatasets;
  int DroppedRows;
  int DroppedPoints;
  // 1 when the last Load refused the file (a value not finite or absurd):
  // Find then answers null for the title, as for a missing file.
  int Unusable;
};

// The line-by-line reader of an airfoil file, apart from the file so the
// same rules serve Load and the fuzzer.
class kxdairfoilreader {
 public:
  explicit kxdairfoilreader(kxdairfoil* airfoil);
  // One line without its line end.
  void Line(const char* line);
  // The first row holding a value that is not finite or beyond the bounds
  // of airfoil data: its line in the file (from 1) and its text; 0 and ""
  // when every row was sound. Such a file is no usable airfoil.
  int RefusedLine() const { return refusedLine_; }
  const std::string& RefusedRow() const { return refusedRow_; }

 private:
  enum class section { kNone, kDataset, kDroppedDataset, kCoordinates, kIgnored };
  void Row(const char* text);
  void Point(const char* text);
  kxdairfoil* airfoil_;
  section section_ = section::kNone;
  int line_ = 0;
  int refusedLine_ = 0;
  std::string refusedRow_;
};

// The title a file's first two lines give: "" unless line 1 is exactly
// "[AIRFOIL]"; else line 2 from its ninth character up to the first '"'.
kxstring kxdairfoiltitle(const char* line1, const char* line2);
