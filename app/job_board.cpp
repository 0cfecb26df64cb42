// The program's jobs and what the window shows of them (see job_board.h).
#include "app/job_board.h"

#include "imaging/cancel_request.h"

namespace tulvex {

void JobBoard::SetChangeListener(std::function<void()> listener) {
  std::lock_guard<std::mutex> hold(lock_);
  listener_ = std::move(listener);
}

JobBoard::Job* JobBoard::Begin(Kind kind, const std::string& folder) {
  Job* job = nullptr;
  {
    std::lock_guard<std::mutex> hold(lock_);
    if (closing_) return nullptr;
    for (const Job& live : jobs_) {
      if (kind == Kind::kRun && live.kind == Kind::kRun) return nullptr;
    }
    jobs_.push_back(Job{kind, next_id_++, folder});
    job = &jobs_.back();
  }
  Changed();
  return job;
}

JobBoard::Job* JobBoard::Find(int32_t id) {
  std::lock_guard<std::mutex> hold(lock_);
  for (Job& job : jobs_) {
    if (job.id == id) return &job;
  }
  return nullptr;
}

void JobBoard::Report(Job* job, int32_t position) {
  {
    std::lock_guard<std::mutex> hold(lock_);
    if (job->position == position) return;
    job->position = position;
  }
  Changed();
}

void JobBoard::End(Job* job) {
  {
    std::lock_guard<std::mutex> hold(lock_);
    jobs_.remove_if([job](const Job& live) { return &live == job; });
  }
  Changed();
}

void JobBoard::CancelAll() {
  {
    std::lock_guard<std::mutex> hold(lock_);
    for (Job& job : jobs_) RequestCancel(&job.cancel);
  }
  Changed();
}

void JobBoard::Close() {
  {
    std::lock_guard<std::mutex> hold(lock_);
    closing_ = true;
  }
  CancelAll();
}

bool JobBoard::RunGoesOn() const {
  std::lock_guard<std::mutex> hold(lock_);
  for (const Job& job : jobs_) {
    if (job.kind == Kind::kRun) return true;
  }
  return false;
}

bool JobBoard::Idle() const {
  std::lock_guard<std::mutex> hold(lock_);
  return jobs_.empty();
}

JobBoard::Display JobBoard::Shown() const {
  std::lock_guard<std::mutex> hold(lock_);
  Display display;
  const Job* shown = nullptr;
  for (const Job& job : jobs_) {
    display.busy = true;
    if (!CancelRequest(&job.cancel).requested()) display.cancel_shown = true;
    // The run wins; among scans the newest, which the user chose last.
    if (!shown || shown->kind != Kind::kRun) shown = &job;
  }
  if (shown) display.position = shown->position;
  return display;
}

void JobBoard::Changed() {
  std::function<void()> listener;
  {
    std::lock_guard<std::mutex> hold(lock_);
    listener = listener_;
  }
  if (listener) listener();
}

}  // namespace tulvex
