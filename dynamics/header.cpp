#include "dynamics/header.h"

#include <climits>
#include <cstring>
#include <string>
#include <string_view>

#include "core/output.h"
#include "core/text_lines.h"

namespace {

constexpr size_t kVersionLine = 4;   // 0-based line index
constexpr size_t kTypeLine = 6;
constexpr size_t kMajorColumn = 12;
constexpr size_t kMinorColumn = 14;
constexpr size_t kTypeColumn = 10;

constexpr size_t kNameLine = 1;
constexpr char kNamePrefix[] = "// name: ";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The header's lines. Lines end as in every text file (LF, CRLF or CR); the
// rest of a long file is not walked.
void HeaderLines(const char* text, size_t size, std::string (&lines)[kTypeLine + 1]) {
  std::string_view rest(text, size);
  for (std::string& line : lines) {
    size_t endBytes = 0;
    size_t length = kxtext::LineLength(rest, &endBytes);
    line = rest.substr(0, length);
    if (endBytes == 0) break;
    rest.remove_prefix(length + endBytes);
  }
}

}  // namespace

void kxdheader::Parse(const char* text, size_t size) {
  major = minor = type = 0;
  name.clear();
  if (!text) return;
  std::string lines[kTypeLine + 1];
  HeaderLines(text, size, lines);
  if (lines[kNameLine].starts_with(kNamePrefix)) name = lines[kNameLine].substr(sizeof kNamePrefix - 1);
  const std::string& v = lines[kVersionLine];
  if (v.size() > kMinorColumn && v.compare(0, kMajorColumn, "// version: ") == 0 && IsDigit(v[kMajorColumn]) &&
      v[kMajorColumn + 1] == '.' && IsDigit(v[kMinorColumn])) {
    major = v[kMajorColumn] - '0';
    minor = v[kMinorColumn] - '0';
  }
  const std::string& t = lines[kTypeLine];
  if (t.size() > kTypeColumn && t.compare(0, 8, "// type:") == 0) {
    size_t i = kTypeColumn;
    while (i < t.size() && t[i] == ' ') ++i;
    long value = 0;
    size_t digits = 0;
    for (; i < t.size() && IsDigit(t[i]) && value <= INT_MAX / 10 - 1; ++i, ++digits) value = 10 * value + (t[i] - '0');
    if (digits > 0) type = static_cast<int>(value);
  }
}

void kxdheader::Write(kxout& out, const char* name, int type) {
  out.Printf("// Skyvane aircraft\n");
  out.Printf("%s%s\n", kNamePrefix, name ? name : "");
  out.Printf("// written by the aircraft writer\n");
  out.Printf("//\n");
  out.Printf("// version: %d.%d.0\n", kWrittenMajor, kWrittenMinor);
  out.Printf("//\n");
  out.Printf("// type:    %d\n", type);
}
