#include "contours/contour_task.h"

#include <utility>

namespace tavrin::contours {

ContourTask::~ContourTask() {
  cancel_ = true;
  wait();
}

void ContourTask::wait() {
  if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

bool ContourTask::begin() {
  if (busy_) return false;
  wait();
  cancel_ = false;
  busy_ = true;
  return true;
}

bool ContourTask::startTiming(TaskSetup setup, std::string dciText, std::function<void(DcRun)> done) {
  if (!begin()) return false;
  thread_ = std::thread([this, setup = std::move(setup), text = std::move(dciText), done = std::move(done)] {
    DcRun r;
    {
      ScratchDrivers drivers(setup.executable, setup.workFolder, setup.timeoutSeconds, setup.baseDciText);
      r = drivers.factory()(0, 1)->run(text);
    }
    busy_ = false;
    done(std::move(r));
  });
  return true;
}

bool ContourTask::startGrid(TaskSetup setup, ContourJob job, std::function<void(ContourOutcome)> done) {
  if (!begin()) return false;
  job.cancel = &cancel_;
  thread_ = std::thread([this, setup = std::move(setup), job = std::move(job), done = std::move(done)] {
    ContourOutcome o;
    {
      ScratchDrivers drivers(setup.executable, setup.workFolder, setup.timeoutSeconds, setup.baseDciText);
      o = computeGrid(job, drivers.factory());
    }
    busy_ = false;
    done(std::move(o));
  });
  return true;
}

}  // namespace tavrin::contours
