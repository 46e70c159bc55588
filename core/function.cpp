#include "core/function.h"

namespace {
kxfunction* commandList = nullptr;
}

void kxfunction::Bind(void (*handler)()) { Set(InvokeVoid, handler); }
void kxfunction::Bind(void (*handler)(const char*)) { Set(InvokeString, handler); }
void kxfunction::Bind(void (*handler)(int)) { Set(InvokeInt, handler); }
void kxfunction::Bind(void (*handler)(int, int)) { Set(InvokeIntInt, handler); }
void kxfunction::Bind(void (*handler)(kxnode*)) { Set(InvokeNode, handler); }
void kxfunction::Bind(kxvalueptr (*handler)(float, float, float, float)) { Set(InvokeReal4, handler); }
void kxfunction::Bind(kxvalueptr (*handler)(const kxargs&)) { Set(InvokeValue, handler); }

kxvalueptr kxfunction::InvokeVoid(const kxfunction& f, const kxargs&) {
  f.As<void (*)()>()();
  return kxvoid();
}

kxvalueptr kxfunction::InvokeString(const kxfunction& f, const kxargs& args) {
  kxstring text = args.String(0);
  f.As<void (*)(const char*)>()(text.Text());
  return kxvoid();
}

kxvalueptr kxfunction::InvokeInt(const kxfunction& f, const kxargs& args) {
  f.As<void (*)(int)>()(args.Int(0));
  return kxvoid();
}

kxvalueptr kxfunction::InvokeIntInt(const kxfunction& f, const kxargs& args) {
  f.As<void (*)(int, int)>()(args.Int(0), args.Int(1));
  return kxvoid();
}

kxvalueptr kxfunction::InvokeNode(const kxfunction& f, const kxargs& args) {
  f.As<void (*)(kxnode*)>()(args.Node(0));
  return kxvoid();
}

kxvalueptr kxfunction::InvokeReal4(const kxfunction& f, const kxargs& args) {
  return f.As<kxvalueptr (*)(float, float, float, float)>()(args.Real(0), args.Real(1), args.Real(2),
                                                           args.Real(3));
}

kxvalueptr kxfunction::InvokeValue(const kxfunction& f, const kxargs& args) {
  return f.As<kxvalueptr (*)(const kxargs&)>()(args);
}

kxvalueptr kxfunction::InvokeHandler(const kxfunction& f, const kxargs& args) {
  return f.handler_ ? f.handler_(args) : kxvoid();
}

kxvalueptr kxfunction::Invoke(const kxargs& args) const {
  return adaptor_ ? adaptor_(*this, args) : kxvoid();
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
