// kxclonemap: one copy under way. Cloning first builds the structure of the
// copy and records each (source, copy) pair, then copies the values, so that
// CopyTo can remap a pointer into any node of the copy - including nodes of
// another tree cloned inside the same map (components point into geometry
// and geometry points back at its owners).
#pragma once

#include <cstddef>
#include <map>
#include <vector>

class kxnode;

class kxclonemap {
 public:
  kxclonemap();   // becomes the active map (maps nest)
  ~kxclonemap();  // finishes the copy if CopyAll was not called
  kxclonemap(const kxclonemap&) = delete;
  kxclonemap& operator=(const kxclonemap&) = delete;

  // Runs CopyTo over every recorded pair, in the order they were cloned.
  void CopyAll();

  void Record(kxnode* source, kxnode* copy);
  // The address inside the copy, or null when it lies in no recorded source.
  void* Map(const void* address) const;

  static kxclonemap* Active();

 private:
  struct Pair {
    kxnode* source;
    kxnode* copy;
  };
  std::vector<Pair> pairs_;
  std::map<const char*, size_t> bySource_;  // source start -> index into pairs_
  kxclonemap* outer_;
  bool copied_ = false;
};
