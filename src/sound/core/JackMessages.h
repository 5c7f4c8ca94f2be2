#pragma once

namespace orvane {

// Once per process, before the first JACK client is opened: JACK's own error and information
// messages go to the logging category "orvane.jack" (silent unless enabled) instead of the
// terminal, and no client of this process ever starts a JACK server. Any thread.
void RouteJackMessages();

}  // namespace orvane
