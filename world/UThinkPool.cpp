#include "world/UThinkPool.h"

#include <algorithm>
#include <utility>

TThinkPool::~TThinkPool() {
  {
    std::lock_guard<std::mutex> Guard(Lock);
    Stopping = true;
  }
  Wake.notify_all();
  for (std::thread& T : Threads) T.join();
}

int32_t TThinkPool::CoreCount() {
  return std::max(1, static_cast<int32_t>(std::thread::hardware_concurrency()));
}

void TThinkPool::Run(int32_t ThreadCount, const std::function<void(int32_t)>& AJob) {
  const int32_t Helpers = std::max(ThreadCount, 1) - 1;
  while (static_cast<int32_t>(Threads.size()) < Helpers) {
    const int32_t Worker = static_cast<int32_t>(Threads.size()) + 1;
    Threads.emplace_back([this, Worker] { HelperLoop(Worker); });
  }
  {
    std::lock_guard<std::mutex> Guard(Lock);
    Job = &AJob;
    Active = Pending = Helpers;
    Error = nullptr;
    ++Generation;
  }
  if (Helpers > 0) Wake.notify_all();
  try {
    AJob(0);
  } catch (...) {
    Keep(std::current_exception());
  }
  std::unique_lock<std::mutex> Guard(Lock);
  Done.wait(Guard, [this] { return Pending == 0; });
  Job = nullptr;
  if (Error) std::rethrow_exception(std::exchange(Error, nullptr));
}

void TThinkPool::HelperLoop(int32_t Worker) {
  uint64_t Seen = 0;
  for (;;) {
    const std::function<void(int32_t)>* Current;
    {
      std::unique_lock<std::mutex> Guard(Lock);
      // A helper beyond this job's count sits it out.
      Wake.wait(Guard, [&] { return Stopping || (Generation != Seen && Worker <= Active); });
      if (Stopping) return;
      Seen = Generation;
      Current = Job;
    }
    try {
      (*Current)(Worker);
    } catch (...) {
      Keep(std::current_exception());
    }
    std::lock_guard<std::mutex> Guard(Lock);
    if (--Pending == 0) Done.notify_one();
  }
}

void TThinkPool::Keep(std::exception_ptr E) {
  std::lock_guard<std::mutex> Guard(Lock);
  if (!Error) Error = E;
}
