#include "legacy/model_names.h"

#include <strings.h>

namespace dnsmodel {

int IsPiccoloModel(const char* name) { return name && strcasecmp(name, kPiccoloModel) == 0 ? 1 : 0; }

}  // namespace dnsmodel
