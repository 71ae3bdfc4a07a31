// One fill at a time. The long page fills let waiting window messages through, so a tab change, a
// click or a report can arrive in the middle of one; such a request waits and runs after the fill
// that is under way, a request repeated meanwhile runs once, in the place of its last arrival, and
// none is lost.
#pragma once

#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <string>
#include <utility>

namespace orv {

class FillQueue {
 public:
  using Action = std::function<void()>;
  using ErrorSink = std::function<void(std::exception_ptr)>;

  // Every action that throws is reported here (the application's error box) and the queue goes on
  // with the next one. Without a sink the error is dropped.
  void SetErrorSink(ErrorSink sink) { errorSink_ = std::move(sink); }

  // Runs action now when no fill is under way, then every request that arrived meanwhile, in the
  // order they came. During a fill it only queues the action under key; a request with the same
  // key that is already waiting is dropped, so the last one counts. Returns whether the action ran
  // before Run returned. An error sink that throws ends Run with its exception; the queue is then
  // idle again and what still waits runs with the next request.
  bool Run(const std::string& key, Action action);

  bool Busy() const noexcept { return busy_; }
  std::size_t Pending() const noexcept { return pending_.size(); }
  bool IsPending(const std::string& key) const;

 private:
  void Invoke(const Action& action);

  bool busy_ = false;
  std::deque<std::pair<std::string, Action>> pending_;
  ErrorSink errorSink_;
};

}  // namespace orv
