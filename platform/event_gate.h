#pragma once

namespace quorvin {

// Events of the window's controls reach their handlers only while the gate is open: it
// opens when the window is built, just before the created event, and closes for good when
// shutdown begins. Events raised while it is closed are dropped, not deferred.
bool EventsOpen();
void OpenEvents();
void CloseEventsForGood();

}  // namespace quorvin
