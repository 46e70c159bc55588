// Member references: what GetMember returns for a field. Each call makes a new
// reference holding the field's address; assigning through it converts the
// value and stores it, reading converts the field.
#pragma once

#include "core/value.h"

class kxintref : public kxvalue {
 public:
  explicit kxintref(int* f) : field(f) {}
  kxtype* GetType() const override { return &kxvaluetypes::Int; }
  void* Data() override { return field; }
  // int; real truncated toward zero; numeric text.
  int Assign(const kxvalue& from) override;
  void Print(kxout& out) const override;
  bool GetInt(int& out) const override { out = *field; return true; }
  bool GetNumber(double& out) const override { out = *field; return true; }
  void* GetAddress() const override { return field; }
  int* field;
};

// A float field; its type may be another float type (a radio signal, a
// servo's mechanical output), which is what links are checked against.
class kxrealref : public kxvalue {
 public:
  explicit kxrealref(float* f, kxtype* t = &kxvaluetypes::Real) : field(f), type(t) {}
  kxtype* GetType() const override { return type; }
  void* Data() override { return field; }
  int Assign(const kxvalue& from) override;
  void Print(kxout& out) const override;
  bool GetNumber(double& out) const override { out = *field; return true; }
  void* GetAddress() const override { return field; }
  float* field;
  kxtype* type;
};

class kxstringref : public kxvalue {
 public:
  explicit kxstringref(kxstring* f) : field(f) {}
  kxtype* GetType() const override { return &kxvaluetypes::String; }
  void* Data() override { return field; }
  // Text; int "%d"; real "%g"; node its name.
  int Assign(const kxvalue& from) override;
  void Print(kxout& out) const override;
  const kxstring* GetString() const override { return field; }
  void* GetAddress() const override { return field; }
  kxstring* field;
};

// Four floats: either vector, or a list of one to four numbers (missing 0).
class kxvectorref : public kxvalue {
 public:
  explicit kxvectorref(float* f, kxtype* t = &kxvaluetypes::Vector4r) : field(f), type(t) {}
  kxtype* GetType() const override { return type; }
  void* Data() override { return field; }
  int Assign(const kxvalue& from) override;
  void Print(kxout& out) const override;
  bool GetVector(float (&out)[4]) const override;
  void* GetAddress() const override { return field; }
  float* field;
  kxtype* type;
};

// n floats (a 4x4 inertia tensor): a list of at most n numbers, missing 0.
class kxfloatsref : public kxvalue {
 public:
  kxfloatsref(float* f, int n) : field(f), count(n) {}
  kxtype* GetType() const override { return &kxvaluetypes::DataList; }
  void* Data() override { return field; }
  int Assign(const kxvalue& from) override;
  void Print(kxout& out) const override;
  void* GetAddress() const override { return field; }
  float* field;
  int count;
};

// A node pointer; with a required type, nodes of other types store null.
class kxnodeptrref : public kxvalue {
 public:
  explicit kxnodeptrref(kxnode** f, const kxtype* required = nullptr) : field(f), requiredType(required) {}
  kxtype* GetType() const override { return &kxvaluetypes::NodePtr; }
  void* Data() override { return field; }
  int Assign(const kxvalue& from) override;
  void Print(kxout& out) const override;
  kxnode* GetNode() const override { return *field; }
  void* GetAddress() const override { return field; }
  kxnode** field;
  const kxtype* requiredType;
};

// A pointer to a float somewhere else; assigned from a float reference.
class kxrealptrref : public kxvalue {
 public:
  explicit kxrealptrref(float** f) : field(f) {}
  kxtype* GetType() const override { return &kxvaluetypes::RealPtr; }
  void* Data() override { return field; }
  int Assign(const kxvalue& from) override;
  void* GetAddress() const override { return field; }
  float** field;
};

// A typed raw pointer whose owner decides, through its converter, what may be
// stored (links to servo outputs, engines, airfoils, geometric objects).
class kxpointerref : public kxvalue {
 public:
  // Writes the pointer to store into *out; 0 when the value does not fit.
  using Converter = int (*)(const kxvalue& from, void** out);
  kxpointerref(void** f, kxtype* t, Converter c) : field(f), type(t), convert(c) {}
  template <class T>
  kxpointerref(T** f, kxtype* t, Converter c) : kxpointerref(reinterpret_cast<void**>(f), t, c) {}
  kxtype* GetType() const override { return type; }
  void* Data() override { return field; }
  int Assign(const kxvalue& from) override;
  void Print(kxout& out) const override;
  void* GetAddress() const override { return field; }
  void** field;
  kxtype* type;
  Converter convert;
};

// Converter for links to a float field of a given type: the value must be a
// reference whose type is (or derives from) that type.
int kxconvertfloatlink(const kxvalue& from, const kxtype* required, void** out);
