// What the program needs from the system to take part in shutting Windows down.
#pragma once

namespace kivo::win {

// Enables the shutdown privilege in the process token, which the shut-down, restart and
// power commands need. True when it is enabled.
bool EnableShutdownPrivilege();

// Asks to be among the last processes told that the session ends, and not to be asked
// again when it does not end at once.
bool RequestLastShutdownTurn();

}  // namespace kivo::win
