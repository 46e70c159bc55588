#include "legacy/model_state.h"

namespace dnsmodel {

dnsruntime& Runtime() {
  static dnsruntime runtime{};
  return runtime;
}

void ResetRuntime() { Runtime() = dnsruntime{}; }

}  // namespace dnsmodel
