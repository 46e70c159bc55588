// Small node classes and a log capture shared by the core tests.
#pragma once

#include <string>

#include "core/arguments.h"
#include "core/hooks.h"
#include "core/interpreter.h"
#include "core/node.h"
#include "core/reference.h"
#include "gtest/gtest.h"

namespace kxtest {

// Collects every log line written while it lives.
class logcapture {
 public:
  logcapture() {
    Text().clear();
    kxcore::SetLogHandler([](const char* text) { Text() += text; });
  }
  ~logcapture() { kxcore::SetLogHandler(nullptr); }
  static std::string& Text() {
    static std::string text;
    return text;
  }
  int Lines() const {
    int n = 0;
    for (char c : Text()) n += c == '\n';
    return n;
  }
  bool Contains(const char* piece) const { return Text().find(piece) != std::string::npos; }
  void Clear() { Text().clear(); }
};

// Float types standing in for a servo's mechanical output and a radio signal.
inline kxtype MechLinkType("kxtestmechlink", sizeof(float));
inline kxtype SignalType("kxtestsignal", sizeof(float));

// A control-assignment target: an int and three 64-entry float tables.
class controls : public kxnode {
 public:
  static inline kxtype Type{"kxtestcontrols", 0, kxcreate<controls>};
  controls() { type = &Type; }
  int Easy = 0;
  float Dual[64] = {};
  float Invert[64] = {};
  float Expo[64] = {};
  kxvalueptr GetMember(const char* member, const kxargs& args) override {
    std::string m = member;
    if (m == "Easy") return kxvalueptr(new kxintref(&Easy));
    float* table = m == "Dual" ? Dual : m == "Invert" ? Invert : m == "Expo" ? Expo : nullptr;
    if (table) {
      int i = args.Index(0, 64);
      return i < 0 ? nullptr : kxvalueptr(new kxrealref(&table[i]));
    }
    return kxnode::GetMember(member, args);
  }
};

// A text table with one- and two-index entries.
class texts : public kxnode {
 public:
  static inline kxtype Type{"kxtesttexts", 0, kxcreate<texts>};
  texts() { type = &Type; }
  kxstring SimText[100];
  kxstring Tipp[4][4];
  kxvalueptr GetMember(const char* member, const kxargs& args) override {
    std::string m = member;
    if (m == "SimText") {
      int i = args.Index(0, 100);
      return i < 0 ? nullptr : kxvalueptr(new kxstringref(&SimText[i]));
    }
    if (m == "Tipp") {
      int i = args.Index(0, 4), j = args.Index(1, 4);
      return i < 0 || j < 0 ? nullptr : kxvalueptr(new kxstringref(&Tipp[i][j]));
    }
    return kxnode::GetMember(member, args);
  }
};

class servo : public kxnode {
 public:
  static inline kxtype Type{"kxtestservo", 0, kxcreate<servo>};
  servo() { type = &Type; }
  float Position = 0;
  float MechLink = 0;
  kxvalueptr GetMember(const char* member, const kxargs& args) override {
    if (std::string(member) == "MechLink") return kxvalueptr(new kxrealref(&MechLink, &MechLinkType));
    return kxnode::GetMember(member, args);
  }
  int GetMemberName(const void* position, kxstring& out) override {
    if (position != &MechLink) return 0;
    out = "MechLink";
    return 1;
  }
};

class receiver : public kxnode {
 public:
  static inline kxtype Type{"kxtestreceiver", 0, kxcreate<receiver>};
  receiver() { type = &Type; }
  float Out[8] = {};
  kxvalueptr GetMember(const char* member, const kxargs& args) override {
    if (std::string(member) == "Out") {
      int i = args.Index(0, 8);
      return i < 0 ? nullptr : kxvalueptr(new kxrealref(&Out[i], &SignalType));
    }
    return kxnode::GetMember(member, args);
  }
  int GetMemberName(const void* position, kxstring& out) override {
    for (int i = 0; i < 8; ++i) {
      if (position == &Out[i]) {
        out.Format("Out(%d)", i);
        return 1;
      }
    }
    return 0;
  }
};

// A component with vectors, a tensor and links of each kind.
class part : public kxnode {
 public:
  static inline kxtype Type{"kxtestpart", 0, kxcreate<part>};
  part() { type = &Type; }
  float RootR[4] = {};
  float X[4] = {};
  float Inertia[16] = {};
  float Mass = 0;
  float* FlapLink = nullptr;
  float* SignalIn = nullptr;
  kxnode* Flap = nullptr;
  kxnode* Body = nullptr;
  float* Outside = nullptr;
  kxstring Label;
  kxnode* Geometry = nullptr;
  float SectionR[4][4] = {};
  float SectionArea[4] = {};
  kxstring SectionAirfoil[4];

  static int AsMechLink(const kxvalue& from, void** out) { return kxconvertfloatlink(from, &MechLinkType, out); }
  static int AsSignal(const kxvalue& from, void** out) { return kxconvertfloatlink(from, &SignalType, out); }

  kxvalueptr GetMember(const char* member, const kxargs& args) override {
    std::string m = member;
    if (m == "RootR") return kxvalueptr(new kxvectorref(RootR, &kxvaluetypes::Vector4f));
    if (m == "X") return kxvalueptr(new kxvectorref(X));
    if (m == "Inertia") return kxvalueptr(new kxfloatsref(Inertia, 16));
    if (m == "Mass") return kxvalueptr(new kxrealref(&Mass));
    if (m == "Label") return kxvalueptr(new kxstringref(&Label));
    if (m == "FlapLink") return kxvalueptr(new kxpointerref(&FlapLink, &MechLinkType, AsMechLink));
    if (m == "SignalIn") return kxvalueptr(new kxpointerref(&SignalIn, &SignalType, AsSignal));
    if (m == "Flap") return kxvalueptr(new kxnodeptrref(&Flap));
    if (m == "Body") return kxvalueptr(new kxnodeptrref(&Body));
    if (m == "Geometry") {
      // Geometry( "~Geometry/Name/" ): the object this part is drawn with.
      Geometry = kxnode::Find(args.String(0).Text(), this);
      return Geometry ? kxvoid() : nullptr;
    }
    int section = args.Index(0, 4);
    if (section >= 0) {
      if (m == "SectionR") return kxvalueptr(new kxvectorref(SectionR[section], &kxvaluetypes::Vector4f));
      if (m == "SectionArea") return kxvalueptr(new kxrealref(&SectionArea[section]));
      if (m == "SectionAirfoil") return kxvalueptr(new kxstringref(&SectionAirfoil[section]));
    }
    return kxnode::GetMember(member, args);
  }
  void CopyTo(kxnode* other) override {
    part* p = static_cast<part*>(other);
    for (int i = 0; i < 4; ++i) p->RootR[i] = RootR[i];
    p->Mass = Mass;
    p->FlapLink = kxnode::Remap(FlapLink);
    p->SignalIn = kxnode::Remap(SignalIn);
    p->Flap = kxnode::Remap(Flap);
    p->Body = kxnode::Remap(Body);
    p->Outside = kxnode::Remap(Outside);
  }
};

// Initialises the interpreter once and gives each test a fresh node "/T/".
class coretest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    kxscript::Init();
    for (kxtype* t : {&controls::Type, &texts::Type, &servo::Type, &receiver::Type, &part::Type}) {
      kxtype::Register(t);
    }
  }
  void SetUp() override {
    top = new kxnode;
    top->name = "T";
    kxscript::Root()->AppendChild(top);
  }
  void TearDown() override {
    delete top;
    kxscript::Reset();
  }
  kxnode* top = nullptr;
  logcapture log;
};

}  // namespace kxtest
