#include "sim/notice.h"

#include <algorithm>
#include <deque>
#include <vector>

#include "dynamics/load.h"
#include "platform/files.h"

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

std::string WriteFailure(const std::string& problem) {
  return problem.ends_with(kxsystem::kFolderInTheWay) ? problem + "; move it away and try again" : problem;
}

void PostAircraftProblems(const char* aircraft) {
  const std::vector<std::string>& problems = kxdload::LoadProblems();
  if (problems.empty()) return;
  // A notice has room for a few lines: the log holds every one.
  constexpr size_t kShown = 4;
  std::string text = std::string("The aircraft ") + (aircraft ? aircraft : "") + " may not fly as meant: ";
  for (size_t i = 0; i < problems.size() && i < kShown; ++i) text += (i ? "; " : "") + problems[i];
  if (problems.size() > kShown) text += "; and " + std::to_string(problems.size() - kShown) + " more (see the log)";
  PostNotice(text + ".");
}

}  // namespace sim
