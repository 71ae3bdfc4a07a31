#include "ui/FillQueue.h"

#include <algorithm>

namespace orv {
namespace {

// Marks the queue busy for as long as it runs requests, also when an error sink throws: a queue
// left busy would hold back every later request, a close among them, for ever.
class BusyMark {
 public:
  explicit BusyMark(bool& flag) : flag_(flag) { flag_ = true; }
  ~BusyMark() { flag_ = false; }
  BusyMark(const BusyMark&) = delete;
  BusyMark& operator=(const BusyMark&) = delete;

 private:
  bool& flag_;
};

}  // namespace

bool FillQueue::IsPending(const std::string& key) const {
  return std::any_of(pending_.begin(), pending_.end(),
                     [&](const auto& request) { return request.first == key; });
}

void FillQueue::Invoke(const Action& action) {
  try {
    action();
  } catch (...) {
    if (errorSink_) errorSink_(std::current_exception());
  }
}

bool FillQueue::Run(const std::string& key, Action action) {
  if (busy_) {
    // The last of repeated requests wins: it goes to the end of the queue with its own action, so
    // clicks E:, C:, E: during a fill end on E:.
    pending_.erase(std::remove_if(pending_.begin(), pending_.end(),
                                  [&](const auto& request) { return request.first == key; }),
                   pending_.end());
    pending_.emplace_back(key, std::move(action));
    return false;
  }
  const BusyMark mark(busy_);
  Invoke(action);
  while (!pending_.empty()) {
    Action next = std::move(pending_.front().second);
    pending_.pop_front();
    Invoke(next);
  }
  return true;
}

}  // namespace orv
