// multilanguage: the text table "/MultiLanguage" that holds every user text
// a translation may replace - control function names, head-up texts, tips,
// menu tips, designer labels and messages - with English defaults. A
// language file is a script that assigns its members by key.
#pragma once

#include "core/node.h"
#include "core/string.h"

class multilanguage : public kxnode {
 public:
  static kxtype Type;
  static constexpr int kControlFunctions = 64;
  static constexpr int kSimTexts = 128;
  static constexpr int kTips = 8;
  static constexpr int kTipLines = 3;
  static constexpr int kMenuTexts = 16;
  static constexpr int kObjects = 64;
  static constexpr int kSingles = 87;

  multilanguage();

  // "ControlFunction( i )", "SimText( i )", "MenuText( i )", "ObjectTrans( i )",
  // "Tipp( i, k )" and the single texts by key, each a text reference; an
  // index outside its table gives no member. Other names go to kxnode.
  kxvalueptr GetMember(const char* member, const kxargs& args) override;

  // A single text by its key ("NoOpenGL"); "" for an unknown key.
  const char* Text(const char* key) const;

  kxstring controlFunction[kControlFunctions];
  kxstring simText[kSimTexts];
  kxstring tipp[kTips][kTipLines];
  kxstring menuText[kMenuTexts];
  kxstring objectNames[kObjects];  // fixed: no key reaches them
  kxstring objectTrans[kObjects];
  kxstring singles[kSingles];      // in the order of the key table
  kxstring powerLabel = "Power";   // the short label with no key

  // Puts back every default.
  void Reset();
};

namespace sim {

// The program's one table, appended to the root as "MultiLanguage".
multilanguage& Language();

}  // namespace sim
