#include "legacy/dns_reader.h"

#include <cstdint>
#include <cstring>
#include <string_view>

#include "core/hooks.h"
#include "core/numbers.h"
#include "core/text_lines.h"
#include "legacy/dns_scramble.h"
#include "legacy/factory.h"
#include "legacy/parts.h"
#include "legacy/pool.h"
#include "legacy/schema.h"
#include "platform/files.h"

namespace dnsmodel {
namespace {

constexpr size_t kTextSlack = 7;        // the text buffer holds the file, its end byte and spare
constexpr size_t kHeaderLength = sizeof(kPlainHeader) - 1;
constexpr uint32_t kTableEnd = 0xFFFFFFFFu;  // the null entry ending both tables
constexpr int kMaxLines = kLineTableEntries - 1;
constexpr int kMaxTokens = kTokenTableEntries - 1;
constexpr const char* kTextStatement = "strcpy(";
constexpr int kVectorValueTokens = 4;   // the bracket and three numbers
constexpr int kShownChars = 40;         // of a token quoted in a log line

// Bytes outside 32..126 break lines; a tab counts as a blank, and the zero
// byte ends the text.
bool IsBreak(unsigned char c) { return c != 0 && c != '\t' && (c < 32 || c > 126); }

// The value at the token's start; 0 when there is none or it is out of range.
int32_t IntValue(const char* token) {
  long long value = 0;
  if (!kxnumber::ReadLeadingInt(token, value)) return 0;
  return value < INT32_MIN || value > INT32_MAX ? 0 : static_cast<int32_t>(value);
}

float FloatValue(const char* token) {
  float value = 0.0f;
  return kxnumber::ReadLeading(token, value) ? value : 0.0f;
}

// One call's working state. The text is split in place: zero bytes end the
// tokens, and the tables hold offsets into the text.
class dnsreader {
 public:
  dnsreader(const char* path, char* text, uint32_t* lines, uint32_t* tokens)
      : path_(path), text_(text), lines_(lines), tokens_(tokens) {}

  object* Parse() {
    if (!Split()) {
      kxcore::Log("dnsmodel:  %s has more than %d lines or %d tokens; the rest is not read\n", path_, kMaxLines,
                  kMaxTokens);
    }
    int cursor = 0;
    for (int l = 0; l < lineCount_ && !poolFull_; ++l) {
      uint32_t start = lines_[l];
      uint32_t next = l + 1 < lineCount_ ? lines_[l + 1] : kTableEnd;
      if (text_[start] == '/' && text_[start + 1] == '/') continue;
      while (cursor < tokenCount_ && tokens_[cursor] < start) ++cursor;
      if (cursor == tokenCount_) break;
      // A line without tokens would otherwise take the next line's statement
      // and carry it out twice.
      if (tokens_[cursor] >= next) {
        if (l > 0 || !leadingBreak_) kxcore::Log("dnsmodel:  %s: a line of blanks only is skipped\n", path_);
        continue;
      }
      Statement(cursor);
    }
    return head_;
  }

 private:
  const char* Token(int i) const { return text_ + tokens_[i]; }

  // Splits the text up to its first zero byte; false when a table filled
  // before the end (what was split so far stays usable).
  bool Split() {
    leadingBreak_ = IsBreak(static_cast<unsigned char>(text_[0]));
    lines_[lineCount_++] = 0;
    bool inToken = false, complete = true;
    for (uint32_t i = 0; text_[i];) {
      unsigned char c = static_cast<unsigned char>(text_[i]);
      if (c == '\t' || c == ' ') {
        text_[i++] = 0;
        inToken = false;
      } else if (IsBreak(c)) {
        while (IsBreak(static_cast<unsigned char>(text_[i]))) text_[i++] = 0;
        inToken = false;
        if (!text_[i]) break;
        if (lineCount_ == kMaxLines) {
          complete = false;
          break;
        }
        lines_[lineCount_++] = i;
      } else {
        if (!inToken) {
          if (tokenCount_ == kMaxTokens) {
            complete = false;
            break;
          }
          tokens_[tokenCount_++] = i;
          inToken = true;
        }
        ++i;
      }
    }
    lines_[lineCount_] = kTableEnd;
    tokens_[tokenCount_] = kTableEnd;
    return complete;
  }

  void LogPastEnd(int statement) {
    kxcore::Log("dnsmodel:  %s: statement \"%.*s\" runs past the end of the file; skipped\n", path_, kShownChars,
                Token(statement));
  }

  void Statement(int t) {
    const char* first = Token(t);
    if (const typeinfo* type = FindType(first)) {
      Declare(*type, t);
      return;
    }
    bool text = std::strcmp(first, kTextStatement) == 0;
    int target = text ? t + 1 : t;
    int values = t + 2;
    if (target >= tokenCount_) {
      LogPastEnd(t);
      return;
    }
    std::string_view targetText(Token(target));
    if (text) targetText.remove_suffix(1);  // the "," against it
    size_t dot = targetText.find('.');
    if (dot == std::string_view::npos) return;
    std::string_view partName = targetText.substr(0, dot), memberName = targetText.substr(dot + 1);
    // Longer texts cannot match a name or a member; such statements are ignored.
    if (partName.size() >= static_cast<size_t>(kNameBytes) ||
        memberName.size() >= static_cast<size_t>(kMemberTextBytes)) {
      return;
    }
    object* part = FindPart(partName);
    if (!part) return;
    char member[kMemberTextBytes] = {};
    memberName.copy(member, memberName.size());
    const typeinfo* type = FindType(part->GetTypeName());
    const memberinfo* m = type ? type->Find(member) : nullptr;
    if (m) Store(part, *m, t, values);
  }

  void Declare(const typeinfo& type, int t) {
    if (!type.cls) {
      kxcore::Log("dnsmodel:  %s: %s is a record, not a part; declaration ignored\n", path_, type.name);
      return;
    }
    if (t + 1 >= tokenCount_) {
      LogPastEnd(t);
      return;
    }
    const char* nameToken = Token(t + 1);
    size_t length = std::strlen(nameToken) - 1;  // the ";" against the name
    if (length >= static_cast<size_t>(kNameBytes)) {
      kxcore::Log("dnsmodel:  %s: name \"%.*s\" is longer than %d characters; declaration skipped\n", path_,
                  kShownChars, nameToken, kNameBytes - 1);
      return;
    }
    object* part = static_cast<object*>(CreateObject(type.name));
    if (!part) {
      kxcore::Log("dnsmodel:  %s: no room in the pool for part %.*s; the rest is not read\n", path_,
                  static_cast<int>(length), nameToken);
      poolFull_ = true;
      return;
    }
    std::memcpy(part->Name, nameToken, length);
    part->Name[length] = 0;
    part->next = nullptr;
    if (tail_) tail_->next = part;
    else head_ = part;
    tail_ = part;
  }

  // The first part of that name in declaration order.
  object* FindPart(std::string_view name) const {
    for (object* p = head_; p; p = p->next) {
      if (name == p->Name) return p;
    }
    return nullptr;
  }

  void Store(object* part, const memberinfo& m, int statement, int values) {
    std::string_view type = m.typeText;
    int needed = type == "vector" ? kVectorValueTokens : 1;
    if (values + needed > tokenCount_) {
      LogPastEnd(statement);
      return;
    }
    unsigned char* field = reinterpret_cast<unsigned char*>(part) + m.offset;
    if (type == "int") {
      int32_t v = IntValue(Token(values));
      std::memcpy(field, &v, sizeof v);
    } else if (type == "float") {
      float v = Real(part, m, Token(values));
      std::memcpy(field, &v, sizeof v);
    } else if (type == "vector") {
      float v[3];
      for (int k = 0; k < 3; ++k) v[k] = Real(part, m, Token(values + 1 + k));
      std::memcpy(field, v, sizeof v);
    } else if (type == "char") {
      StoreText(part, m, Token(values), field);
    }
  }

  // A value no float holds ("nan", "1e39") reads as 0, as any word that is
  // no number does, but is said: the model would otherwise lose a mass or
  // an engine's power without a word.
  float Real(const object* part, const memberinfo& m, const char* token) {
    if (kxnumber::IsNonFiniteFloatText(token))
      kxcore::Log("dnsmodel:  %s: %s.%s = %s is no finite number; 0 used\n", path_, part->Name, m.name, token);
    return FloatValue(token);
  }

  // The token without its first and last character (the quotes).
  void StoreText(object* part, const memberinfo& m, const char* token, unsigned char* field) {
    size_t length = std::strlen(token);
    if (length < 2) {
      kxcore::Log("dnsmodel:  %s: text \"%s\" for %s.%s is shorter than its quotes; stored empty\n", path_, token,
                  part->Name, m.name);
      field[0] = 0;
      return;
    }
    length -= 2;
    if (length >= static_cast<size_t>(m.bytes)) {
      kxcore::Log("dnsmodel:  %s: text \"%.*s\" for %s.%s is longer than %d characters; skipped\n", path_,
                  kShownChars, token, part->Name, m.name, m.bytes - 1);
      return;
    }
    std::memcpy(field, token + 1, length);
    field[length] = 0;
  }

  const char* path_;
  char* text_;
  uint32_t* lines_;
  uint32_t* tokens_;
  int lineCount_ = 0;
  int tokenCount_ = 0;
  bool leadingBreak_ = false;
  bool poolFull_ = false;
  object* head_ = nullptr;
  object* tail_ = nullptr;
};

}  // namespace

object* ReadDnsFile(const char* path) {
  if (!path) return nullptr;
  long size = kxsystem::GetFileSize(path);
  if (size < 0) {
    kxcore::Log("dnsmodel:  read %s=fail\n", path);
    return nullptr;
  }
  dnspool* pool = CurrentPool();
  char* text = static_cast<char*>(PoolAlloc(static_cast<size_t>(size) + kTextSlack));
  auto* lines = static_cast<uint32_t*>(PoolAlloc(kLineTableEntries * sizeof(uint32_t)));
  auto* tokens = static_cast<uint32_t*>(PoolAlloc(kTokenTableEntries * sizeof(uint32_t)));
  auto release = [&] {
    PoolFree(pool, text);
    PoolFree(pool, lines);
    PoolFree(pool, tokens);
  };
  if (!text || !lines || !tokens) {
    kxcore::Log("dnsmodel:  %s: no room in the pool to read %ld bytes\n", path, size);
    release();
    return nullptr;
  }
  long count = kxsystem::ReadWholeFile(path, text, size);
  if (count < 0) {
    kxcore::Log("dnsmodel:  read %s=fail\n", path);
    release();
    return nullptr;
  }
  text[count] = 0;
  size_t mark = 0;
  kxtext::start kind = kxtext::Classify(std::string_view(text, static_cast<size_t>(count)), &mark);
  if (const char* complaint = kxtext::Complaint(kind)) {
    kxcore::Log("dnsmodel:  %s: %s\n", path, complaint);
    release();
    return nullptr;
  }
  // A plain file saved with a byte-order mark is plain all the same.
  char* body = text + mark;
  if (std::strncmp(body, kPlainHeader, kHeaderLength) != 0) Descramble(body, std::strlen(body));
  object* head = dnsreader(path, body, lines, tokens).Parse();
  release();
  return head;
}

}  // namespace dnsmodel
