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
  void BindHandler(Handler handler) { handler_ = std::move(handler); }

  kxvalueptr Invoke(const kxargs& args) const;

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
  Handler handler_;
  bool registered_ = false;
};
