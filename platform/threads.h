#pragma once

#include <atomic>
#include <functional>
#include <memory>

namespace quorvin {

// Owns one thread handle and closes it; closing does not stop the thread.
class ThreadHandle {
 public:
  ThreadHandle() = default;
  ThreadHandle(ThreadHandle&& other) noexcept;
  ThreadHandle& operator=(ThreadHandle&& other) noexcept;
  ThreadHandle(const ThreadHandle&) = delete;
  ThreadHandle& operator=(const ThreadHandle&) = delete;
  ~ThreadHandle();

  void* Native() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void Reset(void* handle = nullptr);

 private:
  void* handle_ = nullptr;
};

using ThreadRoutine = void (*)(void* parameter);

// Starts a thread at once, running routine(parameter). With `handle`, the thread's handle is
// stored there (empty on failure) and belongs to the caller; without, it is closed at once.
// True when the thread was created.
bool StartThread(ThreadRoutine routine, void* parameter = nullptr, ThreadHandle* handle = nullptr);

// What a worker's body asks before its one act that cannot be undone.
class WorkPermit {
 public:
  // True exactly once, unless the worker was called off first; after a true answer the
  // body completes its act, even if it is called off meanwhile.
  virtual bool Begin() const = 0;

 protected:
  ~WorkPermit() = default;
};

// A worker thread that runs one body once and can be called off. Calling off never waits,
// never blocks, never ends a thread by force: a body that has not yet begun its act never
// will, and one that has begun finishes it. The worker owns its thread handle.
class OneShotWorker {
 public:
  using Body = std::function<void(const WorkPermit&)>;

  OneShotWorker() = default;
  OneShotWorker(const OneShotWorker&) = delete;
  OneShotWorker& operator=(const OneShotWorker&) = delete;
  ~OneShotWorker() { CallOff(); }

  // Calls off the previous body, then starts a new thread for this one. False when the
  // thread could not be created (nothing runs then).
  bool Start(Body body);
  void CallOff();

 private:
  struct Shared;
  std::shared_ptr<Shared> shared_;
  ThreadHandle thread_;
};

}  // namespace quorvin
