// Windows that keep pointers to nodes outside themselves (device nodes, the
// pinboard) hear when such a node is destroyed, so no pointer outlives its
// node: the device nodes are replaced whole on every device search.
#pragma once

class kxnode;

namespace svconfig {

class nodewatcher {
 public:
  nodewatcher();
  virtual ~nodewatcher();
  nodewatcher(const nodewatcher&) = delete;
  nodewatcher& operator=(const nodewatcher&) = delete;

  // Called after node's subtree has gone; compare, never follow, the pointer.
  virtual void NodeGone(kxnode* node) = 0;
};

}  // namespace svconfig
