// The language switch: the next start reads its texts from the chosen
// prepared translation, copied over the language file, or from the built-in
// English texts once the language file is deleted. The running program keeps
// its texts; only the current language number changes.
#pragma once

namespace sim {

extern const char kLanguagePath[];          // "svgelanguage.kxd"
extern const char kTranslationPattern[];    // "svgelanguage/languageX.kxd"
constexpr int kTranslations = 5;            // languageN.kxd, N = 1..5

// n = 0: English (the language file deleted); 1..5: translation n copied
// over it. 1 on success, and the current language number becomes n + 1.
// A failed copy or any other n changes nothing, logs "fail" and returns 0.
int SwitchLanguage(int n);

}  // namespace sim
