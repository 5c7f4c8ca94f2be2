#pragma once

namespace orvane {

// Once per process, before the first JACK client is opened: JACK's own error and information
// messages go to the logging category "orvane.jack" (silent unless enabled) instead of the
// terminal. Any thread (it changes no environment variable; every client of the program is
// opened with JackNoStartServer).
void RouteJackMessages();

// A quick look, without the JACK library, for the socket of the server a client would reach
// (JACK_DEFAULT_SERVER, else "default"), as the JACK servers of this system lay it out below
// /dev/shm. False means no server runs, and spares the library's start of several milliseconds
// for a client that would only fail; true means one may run (a client may still fail). Any
// thread.
bool JackServerMayRun();

}  // namespace orvane
