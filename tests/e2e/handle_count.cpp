#include "tests/e2e/handle_count.h"

#include <cstdint>
#include <vector>

namespace quorvin::testing {
namespace {

// SystemExtendedHandleInformation: documented by its users rather than by winternl.h.
constexpr ULONG kSystemExtendedHandleInformation = 64;
constexpr LONG kStatusInfoLengthMismatch = static_cast<LONG>(0xC0000004);

struct HandleEntry {
  void* object;
  ULONG_PTR processId;
  ULONG_PTR handleValue;
  ULONG grantedAccess;
  USHORT creatorBackTraceIndex;
  USHORT objectTypeIndex;
  ULONG handleAttributes;
  ULONG reserved;
};
struct HandleTable {
  ULONG_PTR count;
  ULONG_PTR reserved;
  HandleEntry entries[1];
};

std::optional<DWORD> CountInSystemTable(DWORD processId) {
  using QuerySystemInformation = LONG(WINAPI*)(ULONG, void*, ULONG, ULONG*);
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  auto query = ntdll != nullptr ? reinterpret_cast<QuerySystemInformation>(reinterpret_cast<void*>(
                                      GetProcAddress(ntdll, "NtQuerySystemInformation")))
                                : nullptr;
  if (query == nullptr)
    return std::nullopt;
  std::vector<std::uint8_t> buffer(1 << 16);
  for (;;) {
    ULONG needed = 0;
    const LONG status = query(kSystemExtendedHandleInformation, buffer.data(),
                              static_cast<ULONG>(buffer.size()), &needed);
    if (status == kStatusInfoLengthMismatch && buffer.size() < (std::size_t{1} << 28)) {
      buffer.resize(std::max<std::size_t>(buffer.size() * 2, needed + 4096));
      continue;
    }
    if (status != 0)
      return std::nullopt;
    break;
  }
  const auto* table = reinterpret_cast<const HandleTable*>(buffer.data());
  DWORD count = 0;
  for (ULONG_PTR i = 0; i < table->count; ++i)
    if (table->entries[i].processId == processId)
      ++count;
  return count;
}

}  // namespace

std::optional<DWORD> HandleCountOf(HANDLE process) {
  DWORD count = 0;
  if (GetProcessHandleCount(process, &count) && count > 0)
    return count;
  const std::optional<DWORD> counted = CountInSystemTable(GetProcessId(process));
  if (counted && *counted > 0)
    return counted;
  return std::nullopt;  // a live process always holds some handle
}

}  // namespace quorvin::testing
