#include "core/function.h"

namespace {
kxfunction* commandList = nullptr;
}

void kxfunction::Bind(void (*handler)()) {
  handler_ = [handler](const kxargs&) {
    handler();
    return kxvoid();
  };
}

void kxfunction::Bind(void (*handler)(const char*)) {
  handler_ = [handler](const kxargs& args) {
    kxstring text = args.String(0);
    handler(text.Text());
    return kxvoid();
  };
}

void kxfunction::Bind(void (*handler)(int)) {
  handler_ = [handler](const kxargs& args) {
    handler(args.Int(0));
    return kxvoid();
  };
}

void kxfunction::Bind(void (*handler)(int, int)) {
  handler_ = [handler](const kxargs& args) {
    handler(args.Int(0), args.Int(1));
    return kxvoid();
  };
}

void kxfunction::Bind(void (*handler)(kxnode*)) {
  handler_ = [handler](const kxargs& args) {
    handler(args.Node(0));
    return kxvoid();
  };
}

void kxfunction::Bind(kxvalueptr (*handler)(float, float, float, float)) {
  handler_ = [handler](const kxargs& args) {
    return handler(args.Real(0), args.Real(1), args.Real(2), args.Real(3));
  };
}

void kxfunction::Bind(kxvalueptr (*handler)(const kxargs&)) { handler_ = handler; }

kxvalueptr kxfunction::Invoke(const kxargs& args) const {
  return handler_ ? handler_(args) : kxvoid();
}

int kxfunction::Register(kxfunction* function) {
  if (!function) return 0;
  if (function->registered_) return 1;
  function->next = commandList;
  commandList = function;
  function->registered_ = true;
  return 1;
}

int kxfunction::RegisterHandler(const char* commandName, Handler handler) {
  kxfunction* f = new kxfunction(commandName);
  f->BindHandler(std::move(handler));
  return Register(f);
}

kxfunction* kxfunction::Find(const char* commandName) {
  if (!commandName) return nullptr;
  for (kxfunction* f = commandList; f; f = f->next) {
    if (f->name.Equal(commandName)) return f;
  }
  return nullptr;
}
