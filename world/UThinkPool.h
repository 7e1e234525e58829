#pragma once
// A persistent pool of threads for the passes of a move: started once, woken per move.

#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

/// Runs one job on several threads at once, the calling thread included, and returns when every
/// thread has finished it. Threads are kept between jobs; the pool grows to the largest count
/// asked for. The first error raised by any thread is raised again on the calling thread.
class TThinkPool {
 public:
  TThinkPool() = default;
  ~TThinkPool();
  TThinkPool(const TThinkPool&) = delete;
  TThinkPool& operator=(const TThinkPool&) = delete;

  /// Job(Worker) for Worker = 0 .. Threads-1; worker 0 is the calling thread.
  void Run(int32_t Threads, const std::function<void(int32_t Worker)>& Job);

  /// The cores of this machine, at least 1.
  static int32_t CoreCount();

 private:
  std::vector<std::thread> Threads;
  std::mutex Lock;
  std::condition_variable Wake;
  std::condition_variable Done;
  const std::function<void(int32_t)>* Job = nullptr;
  int32_t Active = 0;       ///< helper threads taking part in the current job
  int32_t Pending = 0;      ///< helper threads still working on it
  uint64_t Generation = 0;  ///< counts the jobs, so that a helper runs each one once
  bool Stopping = false;
  std::exception_ptr Error;

  void HelperLoop(int32_t Worker);
  void Keep(std::exception_ptr E);
};
