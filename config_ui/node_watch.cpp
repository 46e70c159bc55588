#include "config_ui/node_watch.h"

#include <algorithm>
#include <vector>

#include "core/node.h"

namespace svconfig {

namespace {

// Never destroyed: nodes of static records (the text table) go at the
// program's exit after this file's statics, and still tell the listener.
std::vector<nodewatcher*>& Watchers() {
  static auto* watchers = new std::vector<nodewatcher*>;
  return *watchers;
}

void Tell(kxnode* node) {
  // By index: a watcher may hide a window, which moves nodes but destroys none.
  std::vector<nodewatcher*>& watchers = Watchers();
  for (size_t i = 0; i < watchers.size(); ++i) watchers[i]->NodeGone(node);
}

}  // namespace

nodewatcher::nodewatcher() {
  static int listening = kxnode::AddDestroyListener(Tell);
  (void)listening;
  Watchers().push_back(this);
}

nodewatcher::~nodewatcher() {
  std::vector<nodewatcher*>& watchers = Watchers();
  watchers.erase(std::remove(watchers.begin(), watchers.end(), this), watchers.end());
}

}  // namespace svconfig
