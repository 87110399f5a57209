#include "platform/event_gate.h"

#include <atomic>

namespace quorvin {
namespace {
enum Gate : int { kBuilding, kOpen, kShutDown };
std::atomic<int> gate{kBuilding};
}  // namespace

bool EventsOpen() { return gate.load() == kOpen; }

void OpenEvents() {
  int expected = kBuilding;
  gate.compare_exchange_strong(expected, kOpen);
}

void CloseEventsForGood() { gate.store(kShutDown); }

}  // namespace quorvin
