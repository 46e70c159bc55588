// kxfunction: named script commands in one global list. The interpreter looks
// a bare word up here before it tries type names and node paths.
#pragma once

#include <functional>

#include "core/arguments.h"
#include "core/string.h"

class kxfunction {
 public:
  using Handler = std::function<kxvalueptr(const kxargs&)>;

  explicit kxfunction(const char* commandName) : name(commandName) {}

  // The adaptors: each converts the script arguments (none, one text, one
  // int, two ints, a node) and returns a void value; the four-real and value
  // forms return the handler's own result.
  void Bind(void (*handler)());
  void Bind(void (*handler)(const char*));
  void Bind(void (*handler)(int));
  void Bind(void (*handler)(int, int));
  void Bind(void (*handler)(kxnode*));
  void Bind(kxvalueptr (*handler)(float, float, float, float));
  void Bind(kxvalueptr (*handler)(const kxargs&));
  void BindHandler(Handler handler) {
    adaptor_ = InvokeHandler;
    handler_ = std::move(handler);
  }

  kxvalueptr Invoke(const kxargs& args) const;

  // The adaptors between the script arguments and the bound handler.
  static kxvalueptr InvokeVoid(const kxfunction& f, const kxargs& args);
  static kxvalueptr InvokeString(const kxfunction& f, const kxargs& args);
  static kxvalueptr InvokeInt(const kxfunction& f, const kxargs& args);
  static kxvalueptr InvokeIntInt(const kxfunction& f, const kxargs& args);
  static kxvalueptr InvokeNode(const kxfunction& f, const kxargs& args);
  static kxvalueptr InvokeReal4(const kxfunction& f, const kxargs& args);
  static kxvalueptr InvokeValue(const kxfunction& f, const kxargs& args);
  static kxvalueptr InvokeHandler(const kxfunction& f, const kxargs& args);

  // Links the command into the global list; the same object twice is a no-op,
  // another object of the same name takes over the name.
  static int Register(kxfunction* function);
  // Makes a command that lives to the end of the run and registers it.
  template <class H>
  static int Register(const char* commandName, H handler) {
    kxfunction* f = new kxfunction(commandName);
    f->Bind(handler);
    return Register(f);
  }
  static int RegisterHandler(const char* commandName, Handler handler);
  static kxfunction* Find(const char* commandName);

  kxstring name;
  kxfunction* next = nullptr;

 private:
  using Adaptor = kxvalueptr (*)(const kxfunction&, const kxargs&);
  using Raw = void (*)();
  template <class F>
  void Set(Adaptor adaptor, F handler) {
    adaptor_ = adaptor;
    raw_ = reinterpret_cast<Raw>(handler);
  }
  template <class F>
  F As() const {
    return reinterpret_cast<F>(raw_);
  }

  Adaptor adaptor_ = nullptr;
  Raw raw_ = nullptr;   // the bound function, cast back by its adaptor
  Handler handler_;     // the bound callable of BindHandler
  bool registered_ = false;
};
