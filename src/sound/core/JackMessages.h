#pragma once

namespace orvane {

// Once per process, before the first JACK client is opened: JACK's own error and information
// messages go to the logging category "orvane.jack" (silent unless enabled) instead of the
// terminal. Any thread (it changes no environment variable; every client of the program is
// opened with JackNoStartServer).
void RouteJackMessages();

}  // namespace orvane
