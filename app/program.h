#pragma once

#include <windows.h>

namespace quorvin {

// From process start to the exit code: build the window, run its created event, show it,
// pump messages until it is gone.
int RunProgram(HINSTANCE instance);

}  // namespace quorvin
