#include "sim/language_switch.h"

#include <string>

#include "platform/files.h"
#include "platform/log.h"
#include "sim/menu_state.h"

namespace sim {

const char kLanguagePath[] = "svgelanguage.kxd";
const char kTranslationPattern[] = "svgelanguage/languageX.kxd";

int SwitchLanguage(int n) {
  if (n == 0) {
    kxsystem::Log("deleting language file=");
    kxsystem::DeleteFile(kLanguagePath);
  } else {
    kxsystem::Log("copy language %d file=", n);
    if (n < 0 || n > kTranslations) {
      kxsystem::Log("fail\n");
      return 0;
    }
    std::string source = kTranslationPattern;
    source[source.size() - 5] = static_cast<char>('0' + n);  // the "X" before ".kxd"
    if (!kxsystem::CopyFile(source.c_str(), kLanguagePath)) {
      kxsystem::Log("fail\n");
      return 0;
    }
  }
  Menu().language = static_cast<menulanguage>(n + 1);
  kxsystem::Log("ok\n");
  return 1;
}

}  // namespace sim
