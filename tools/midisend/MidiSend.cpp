// orvane-midi-send: plays note-ons into a running program through JACK MIDI.
//   orvane-midi-send NOTE:VELOCITY[:PAUSE_MS] ...
// Opens the client "midisend" with the port "midisend:out" on the server of JACK_DEFAULT_SERVER,
// waits (up to 10 s) until an input is connected to it (the program connects every source it
// finds), then sends each note-on followed by its note-off, pausing PAUSE_MS (default 1000)
// after each. Exit status 0 when every note went out, 1 otherwise.

#include "JackMidiSource.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    midisend::JackMidiSource source;
    if (!source.Open("midisend")) {
        std::fprintf(stderr, "midisend: no JACK server\n");
        return 1;
    }
    if (!source.WaitConnected(10000)) {
        std::fprintf(stderr, "midisend: nothing connected to %s\n", source.PortName().c_str());
        return 1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    for (int i = 1; i < argc; ++i) {
        int note = 0;
        int velocity = 0;
        int pause = 1000;
        if (std::sscanf(argv[i], "%d:%d:%d", &note, &velocity, &pause) < 2) {
            std::fprintf(stderr, "midisend: %s is not NOTE:VELOCITY[:PAUSE_MS]\n", argv[i]);
            return 1;
        }
        source.NoteOn(note, velocity);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        source.NoteOff(note);
        std::printf("sent note %d velocity %d\n", note, velocity);
        std::fflush(stdout);
        std::this_thread::sleep_for(std::chrono::milliseconds(pause));
    }
    return 0;
}
