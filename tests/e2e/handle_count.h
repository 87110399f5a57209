#pragma once

#include <windows.h>

#include <optional>

namespace quorvin::testing {

// How many kernel handles a process holds; nothing when the system cannot say.
// GetProcessHandleCount where it answers; Wine answers 0 for every process, so there the
// system-wide handle table is read and the process's entries counted.
std::optional<DWORD> HandleCountOf(HANDLE process);

}  // namespace quorvin::testing
