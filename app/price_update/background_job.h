// A piece of work on a thread of its own that a window polls: finished() once it has ended,
// take() its outcome. Destroying the job waits for the thread (the work checks its own cancel
// flag, which the owner sets first).
#pragma once

#include <atomic>
#include <functional>
#include <thread>
#include <utility>

namespace zepa {

template <class Outcome>
class BackgroundJob {
  public:
    explicit BackgroundJob(std::function<Outcome()> work)
        : thread_([this, work = std::move(work)] {
              outcome_ = work();
              finished_ = true;
          }) {}
    ~BackgroundJob() {
        if (thread_.joinable()) {
            thread_.join();
        }
    }
    BackgroundJob(const BackgroundJob&) = delete;
    BackgroundJob& operator=(const BackgroundJob&) = delete;

    bool finished() const { return finished_.load(); }
    // The outcome once finished(); waits for the thread's end first.
    Outcome take() {
        if (thread_.joinable()) {
            thread_.join();
        }
        return std::move(outcome_);
    }

  private:
    Outcome outcome_{};
    std::atomic<bool> finished_{false};
    std::thread thread_;
};

}  // namespace zepa
