#pragma once

#include <windows.h>

#include <map>

#include "tests/e2e/clicker_process.h"

namespace quorvin::testing {

// A plain top-level window that counts the messages it receives, for tests to aim at.
class CountingWindow {
 public:
  explicit CountingWindow(bool visible = false, RECT place = {100, 100, 300, 250});
  ~CountingWindow();
  CountingWindow(const CountingWindow&) = delete;
  CountingWindow& operator=(const CountingWindow&) = delete;

  HWND Handle() const { return hwnd_; }
  int Count(UINT message) const;
  WPARAM LastWParam(UINT message) const;
  void Clear() { counts_.clear(); }
  // The answer the window gives to kHotkeyNotify-like messages.
  LRESULT answer = 0;

 private:
  static LRESULT CALLBACK Procedure(HWND, UINT, WPARAM, LPARAM);
  HWND hwnd_ = nullptr;
  std::map<UINT, int> counts_;
  std::map<UINT, WPARAM> lastWParam_;
};

}  // namespace quorvin::testing
