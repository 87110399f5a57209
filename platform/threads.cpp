#include "platform/threads.h"

#include <windows.h>

#include <utility>

namespace quorvin {

ThreadHandle::ThreadHandle(ThreadHandle&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)) {}

ThreadHandle& ThreadHandle::operator=(ThreadHandle&& other) noexcept {
  if (this != &other) Reset(std::exchange(other.handle_, nullptr));
  return *this;
}

ThreadHandle::~ThreadHandle() { Reset(); }

void ThreadHandle::Reset(void* handle) {
  if (handle_ != nullptr) CloseHandle(handle_);
  handle_ = handle;
}

namespace {
struct ThreadStart {
  ThreadRoutine routine;
  void* parameter;
};

DWORD WINAPI RunThread(void* start) {
  const ThreadStart what = *static_cast<ThreadStart*>(start);
  delete static_cast<ThreadStart*>(start);
  what.routine(what.parameter);
  return 0;
}
}  // namespace

bool StartThread(ThreadRoutine routine, void* parameter, ThreadHandle* handle) {
  auto* start = new ThreadStart{routine, parameter};
  HANDLE thread = CreateThread(nullptr, 0, &RunThread, start, 0, nullptr);
  if (thread == nullptr) delete start;
  if (handle != nullptr) {
    handle->Reset(thread);
  } else if (thread != nullptr) {
    CloseHandle(thread);
  }
  return thread != nullptr;
}

// Shared between the worker's owner and its thread, which holds its own reference, so either
// may go first.
struct OneShotWorker::Shared final : WorkPermit {
  enum Phase : int { kWaiting, kBegun, kCalledOff };

  explicit Shared(Body b) : body(std::move(b)) {}
  bool Begin() const override {
    int expected = kWaiting;
    return phase.compare_exchange_strong(expected, kBegun);
  }
  void CallOff() {
    int expected = kWaiting;
    phase.compare_exchange_strong(expected, kCalledOff);
  }

  Body body;
  mutable std::atomic<int> phase{kWaiting};
};

bool OneShotWorker::Start(Body body) {
  CallOff();
  auto shared = std::make_shared<Shared>(std::move(body));
  auto* reference = new std::shared_ptr<Shared>(shared);
  const bool started = StartThread(
      [](void* parameter) {
        std::unique_ptr<std::shared_ptr<Shared>> own(static_cast<std::shared_ptr<Shared>*>(parameter));
        const Shared& state = **own;
        state.body(state);
      },
      reference, &thread_);
  if (!started) {
    delete reference;
    return false;
  }
  shared_ = std::move(shared);
  return true;
}

void OneShotWorker::CallOff() {
  if (shared_) shared_->CallOff();
  shared_.reset();
  thread_.Reset();
}

}  // namespace quorvin
