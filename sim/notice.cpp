#include "sim/notice.h"

#include <algorithm>
#include <deque>

namespace sim {
namespace {

// A handful at most: each failure that needs the user is posted once.
std::deque<std::string>& Waiting() {
  static std::deque<std::string> queue;
  return queue;
}

}  // namespace

void PostNotice(const std::string& text) {
  std::deque<std::string>& q = Waiting();
  if (text.empty() || std::find(q.begin(), q.end(), text) != q.end()) return;
  q.push_back(text);
}

std::string TakeNotice() {
  std::deque<std::string>& q = Waiting();
  if (q.empty()) return std::string();
  std::string text = std::move(q.front());
  q.pop_front();
  return text;
}

int NoticeWaiting() { return Waiting().empty() ? 0 : 1; }

void ClearNotices() { Waiting().clear(); }

}  // namespace sim
