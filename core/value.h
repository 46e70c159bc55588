// kxvalue: a script value - literals, results, list elements and the member
// references that GetMember returns. Through a value a member is read,
// assigned and printed. The queries below let conversions work on any value
// without knowing its class.
#pragma once

#include <memory>
#include <vector>

#include "core/string.h"
#include "core/type.h"

class kxout;
class kxnode;

// Descriptors of the core value types, registered by kxscript::Init.
namespace kxvaluetypes {
extern kxtype Int;       // "int"
extern kxtype Real;      // "kxreal", also "float"
extern kxtype String;    // "kxstring"
extern kxtype NodePtr;   // "kxnode*"
extern kxtype RealPtr;   // "kxreal*"
extern kxtype Vector4r;  // "kxvector4r"
extern kxtype Vector4f;  // "kxvector4f"
extern kxtype Void;      // "kxvoid"
extern kxtype DataList;  // "kxdatalist"
void Register();
}  // namespace kxvaluetypes

class kxvalue {
 public:
  virtual ~kxvalue() = default;
  virtual kxtype* GetType() const = 0;
  // The referenced field of a reference, the stored datum of a literal.
  virtual void* Data() { return nullptr; }
  // Converts and stores; 0 when the value cannot be converted (field unchanged).
  virtual int Assign(const kxvalue&) { return 0; }
  virtual void Print(kxout&) const {}

  // Queries used by conversions; false/null when the value is not of that kind.
  virtual bool GetInt(int&) const { return false; }          // ints only
  virtual bool GetNumber(double&) const { return false; }    // ints and reals
  virtual const kxstring* GetString() const { return nullptr; }
  virtual kxnode* GetNode() const { return nullptr; }
  virtual bool GetVector(float (&)[4]) const { return false; }
  virtual const std::vector<kxvalueptr>* GetList() const { return nullptr; }
  // A reference's field address with its value type (links are assigned
  // from these); null for literals.
  virtual void* GetAddress() const { return nullptr; }

  // An int as is, a text by its leading decimal number; anything else 0.
  static int ToInt(const kxvalue* value);
  // Ints, reals and numeric text; anything else 0.
  static float ToReal(const kxvalue* value);
  // Text as is; int "%d", real "%g", node its name; anything else "".
  static kxstring ToString(const kxvalue* value);
  // The node of a node value or node-pointer reference, else null.
  static kxnode* ToNode(const kxvalue* value);
  // A number from a number or a text that is entirely a number.
  static bool ToNumber(const kxvalue* value, double& out);
};

class kxintvalue : public kxvalue {
 public:
  explicit kxintvalue(int v) : value(v) {}
  kxtype* GetType() const override { return &kxvaluetypes::Int; }
  void* Data() override { return &value; }
  void Print(kxout& out) const override;
  bool GetInt(int& out) const override { out = value; return true; }
  bool GetNumber(double& out) const override { out = value; return true; }
  int value;
};

class kxrealvalue : public kxvalue {
 public:
  explicit kxrealvalue(double v) : value(v) {}
  kxtype* GetType() const override { return &kxvaluetypes::Real; }
  void* Data() override { return &value; }
  void Print(kxout& out) const override;
  bool GetNumber(double& out) const override { out = value; return true; }
  double value;
};

class kxstringvalue : public kxvalue {
 public:
  explicit kxstringvalue(const kxstring& v) : value(v) {}
  kxtype* GetType() const override { return &kxvaluetypes::String; }
  void* Data() override { return &value; }
  void Print(kxout& out) const override;
  const kxstring* GetString() const override { return &value; }
  kxstring value;
};

class kxnodevalue : public kxvalue {
 public:
  explicit kxnodevalue(kxnode* n) : node(n) {}
  kxtype* GetType() const override;  // the node class's own descriptor, "kxnode"
  void* Data() override { return node; }
  void Print(kxout& out) const override;
  kxnode* GetNode() const override { return node; }
  kxnode* node;
};

class kxvoidvalue : public kxvalue {
 public:
  kxtype* GetType() const override { return &kxvaluetypes::Void; }
};

class kxvectorvalue : public kxvalue {
 public:
  kxvectorvalue(const float v[4], kxtype* t) : type(t) {
    for (int i = 0; i < 4; ++i) value[i] = v[i];
  }
  kxtype* GetType() const override { return type; }
  void* Data() override { return value; }
  void Print(kxout& out) const override;
  bool GetVector(float (&out)[4]) const override {
    for (int i = 0; i < 4; ++i) out[i] = value[i];
    return true;
  }
  float value[4];
  kxtype* type;  // kxvector4r or kxvector4f
};

class kxlistvalue : public kxvalue {
 public:
  static constexpr size_t kMaxValues = 256;
  kxtype* GetType() const override { return &kxvaluetypes::DataList; }
  void* Data() override { return &values; }
  void Print(kxout& out) const override;
  const std::vector<kxvalueptr>* GetList() const override { return &values; }
  std::vector<kxvalueptr> values;
};

// A new void value: what a command or action member returns on success.
kxvalueptr kxvoid();

// Prints a vector in its constructor form, "kxvector4f(   0.1000, ... )".
void kxprintvector(kxout& out, const kxtype* type, const float v[4]);
