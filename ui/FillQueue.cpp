#include "ui/FillQueue.h"

#include <algorithm>

namespace orv {

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
    if (!IsPending(key)) pending_.emplace_back(key, std::move(action));
    return false;
  }
  busy_ = true;
  Invoke(action);
  while (!pending_.empty()) {
    Action next = std::move(pending_.front().second);
    pending_.pop_front();
    Invoke(next);
  }
  busy_ = false;
  return true;
}

}  // namespace orv
