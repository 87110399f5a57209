#pragma once

namespace quorvin {

class MainWindow;

// Pumps the user-interface thread's messages until the quit message; returns its code.
// Before dispatch, each message meant for the window or a control passes the move filter
// (drag by any point) and the window's own keys.
int RunMessageLoop(MainWindow& window);

}  // namespace quorvin
