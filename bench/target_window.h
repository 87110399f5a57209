#pragma once

#include <windows.h>

#include <vector>

namespace quorvin::bench {

// The benchmark's own window under the pointer: it stamps every button and key message the
// moment it is dispatched.
class TargetWindow {
 public:
  explicit TargetWindow(RECT place);
  ~TargetWindow();
  TargetWindow(const TargetWindow&) = delete;
  TargetWindow& operator=(const TargetWindow&) = delete;

  HWND Handle() const { return hwnd_; }
  POINT Centre() const;
  void Clear();

  std::vector<double> leftDowns;  // milliseconds on NowMs()
  std::vector<double> keyDowns;
  int leftUps = 0;
  int otherButtons = 0;

 private:
  static LRESULT CALLBACK Procedure(HWND, UINT, WPARAM, LPARAM);
  HWND hwnd_ = nullptr;
};

}  // namespace quorvin::bench
