#include "legacy/model_state.h"

namespace dnsmodel {

dnsruntime& Runtime() {
  static dnsruntime runtime{};
  return runtime;
}

}  // namespace dnsmodel
