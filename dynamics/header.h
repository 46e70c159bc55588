// The header of an aircraft component file: seven comment lines, of which
// line 2 names the aircraft ("// name: N"), line 5 carries the version
// ("// version: M.N.0", single digits at columns 12 and 14) and line 7 the
// aircraft's type word ("// type:    T", a decimal number from column 10).
// A line out of shape reads as version 0.0, type 0, no name.
#pragma once

#include <cstddef>
#include <string>

class kxout;

struct kxdheader {
  static constexpr int kWrittenMajor = 1;
  static constexpr int kWrittenMinor = 8;
  static constexpr int kNewestReadable = 108;  // 100 M + N
  static constexpr char kLastLine[] = "// end of aircraft";

  int major = 0;
  int minor = 0;
  int type = 0;
  std::string name;  // line 2 after "// name: "; empty when out of shape

  int Version() const { return 100 * major + minor; }
  // Parses the first seven lines of text (size bytes, need not end in 0).
  void Parse(const char* text, size_t size);
  // The seven lines the writer puts first.
  static void Write(kxout& out, const char* name, int type);
};
