#pragma once

namespace orvane {

// Run before the application object exists. Without a session bus address in the environment,
// the D-Bus clients of the platform (the theme's global menu check, the accessibility bridge)
// would each try to launch a session bus for the display: a new process at every start, which
// the program has no use for. The address is then set to one that refuses at once, so those
// clients give up without starting anything. A session that has a bus keeps its address.
void KeepSessionBusFromLaunching();

}  // namespace orvane
