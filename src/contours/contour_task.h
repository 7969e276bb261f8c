#pragma once
// A residual-map computation or a timing run on a thread of its own, so that
// the caller stays responsive. The work runs on copies of everything it
// needs; `done` is called on the worker thread when it ends.

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "contours/contour_engine.h"

namespace tavrin::contours {

struct TaskSetup {
  std::string executable;   // DC
  std::string workFolder;   // the scratch folders go under it
  std::string baseDciText;  // Contour0.dci of every scratch folder
  double timeoutSeconds = 600;
};

class ContourTask {
 public:
  ContourTask() = default;
  ContourTask(const ContourTask&) = delete;
  ContourTask& operator=(const ContourTask&) = delete;
  ~ContourTask();  // cancels and waits

  // One run of `dciText`. False (and nothing started) while busy.
  bool startTiming(TaskSetup setup, std::string dciText, std::function<void(DcRun)> done);
  // The grid loop of `job`; its cancel flag is the task's.
  bool startGrid(TaskSetup setup, ContourJob job, std::function<void(ContourOutcome)> done);
  // Runs in flight finish, nothing further starts.
  void cancel() { cancel_ = true; }
  bool cancelling() const { return cancel_; }
  bool busy() const { return busy_; }
  // Waits for the thread (after its `done` has been called).
  void wait();

 private:
  bool begin();
  std::thread thread_;
  std::atomic<bool> cancel_{false}, busy_{false};
};

}  // namespace tavrin::contours
