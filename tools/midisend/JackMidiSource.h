#pragma once

// A JACK MIDI source for tests, benchmarks and demonstrations: a client with one MIDI output
// port whose note-ons go out at the start of the next JACK period, and a private JACK server
// (the dummy driver) for them to run on. Header only; links libjack.

#include <jack/jack.h>
#include <jack/midiport.h>
#include <jack/ringbuffer.h>
#include <signal.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

namespace midisend {

using Clock = std::chrono::steady_clock;

// A JACK server of its own: `jackd -n <name> -d dummy` at 48 kHz with a short period, in
// real-time mode where the system allows it (else without), started by Start and ended
// (SIGTERM, then SIGKILL) by the destructor. Clients of this process reach it
// once Start has set JACK_DEFAULT_SERVER to its name. Nothing here waits without a bound.
class JackServer {
public:
    ~JackServer() { Stop(); }

    // False when jackd is missing or the server did not come up within timeoutMs.
    bool Start(const std::string& name, int periodFrames = 64, int timeoutMs = 5000) {
        return Launch(name, periodFrames, timeoutMs, true) ||
               Launch(name, periodFrames, timeoutMs, false);
    }

    void Stop() {
        if (pid_ <= 0) {
            return;
        }
        ::kill(pid_, SIGTERM);
        for (int i = 0; i < 100; ++i) {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

    static bool Installed() { return std::system("command -v jackd >/dev/null 2>&1") == 0; }

private:
    bool Launch(const std::string& name, int periodFrames, int timeoutMs, bool realTime) {
        name_ = name;
        // The probes below fail until the server is up; the library need not say so.
        jack_set_error_function([](const char*) {});
        jack_set_info_function([](const char*) {});
        ::setenv("JACK_DEFAULT_SERVER", name.c_str(), 1);
        ::setenv("JACK_NO_START_SERVER", "1", 1);
        const std::string period = std::to_string(periodFrames);
        const std::string wait = std::to_string(periodFrames * 1000000 / 48000);
        pid_ = ::fork();
        if (pid_ == 0) {
            ::setpgid(0, 0);
            // The server's chatter is of no interest here.
            if (!std::getenv("ORVANE_JACK_VERBOSE")) {
                std::freopen("/dev/null", "w", stdout);
                std::freopen("/dev/null", "w", stderr);
            }
            ::execlp("jackd", "jackd", realTime ? "--realtime" : "--no-realtime", "-n",
                     name.c_str(), "-d", "dummy", "-r", "48000", "-p", period.c_str(), "-w",
                     wait.c_str(), "-C", "0", "-P", "2", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        if (pid_ < 0) {
            return false;
        }
        const auto giveUp = Clock::now() + std::chrono::milliseconds(timeoutMs);
        while (Clock::now() < giveUp) {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;  // jackd missing or failed
                return false;
            }
            jack_status_t js{};
            if (jack_client_t* probe = jack_client_open("probe", JackNoStartServer, &js)) {
                jack_client_close(probe);
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        Stop();
        return false;
    }

    std::string name_;
    pid_t pid_ = -1;
};

// A client "<name>" with the MIDI output port "<name>:out".
class JackMidiSource {
public:
    ~JackMidiSource() { Close(); }

    bool Open(const std::string& name) {
        jack_status_t status{};
        client_ = jack_client_open(name.c_str(), JackNoStartServer, &status);
        if (!client_) {
            return false;
        }
        ring_ = jack_ringbuffer_create(4096);
        port_ = jack_port_register(client_, "out", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
        jack_set_process_callback(client_, &JackMidiSource::Process, this);
        return port_ && jack_activate(client_) == 0;
    }

    void Close() {
        if (client_) {
            jack_deactivate(client_);
            jack_client_close(client_);
            client_ = nullptr;
        }
        if (ring_) {
            jack_ringbuffer_free(ring_);
            ring_ = nullptr;
        }
    }

    // The full name of the output port.
    std::string PortName() const { return port_ ? jack_port_name(port_) : std::string(); }

    // True once some input is connected to the port, within timeoutMs.
    bool WaitConnected(int timeoutMs) const {
        const auto giveUp = Clock::now() + std::chrono::milliseconds(timeoutMs);
        while (Clock::now() < giveUp) {
            if (port_ && jack_port_connected(port_) > 0) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

    // Queues a note-on (channel 1) for the next period. One thread sends.
    void NoteOn(int note, int velocity) { Send(0x90, note, velocity); }
    void NoteOff(int note) { Send(0x80, note, 0); }

    // The time the last message was written into a period, or nothing yet.
    Clock::time_point LastWritten() const {
        return Clock::time_point(Clock::duration(written_.load()));
    }
    std::int64_t MessagesWritten() const { return count_.load(); }

private:
    void Send(int status, int note, int velocity) {
        const unsigned char message[3] = {static_cast<unsigned char>(status),
                                          static_cast<unsigned char>(note & 0x7F),
                                          static_cast<unsigned char>(velocity & 0x7F)};
        if (ring_ && jack_ringbuffer_write_space(ring_) >= 3) {
            jack_ringbuffer_write(ring_, reinterpret_cast<const char*>(message), 3);
        }
    }

    static int Process(jack_nframes_t frames, void* arg) {
        auto* self = static_cast<JackMidiSource*>(arg);
        void* buffer = jack_port_get_buffer(self->port_, frames);
        jack_midi_clear_buffer(buffer);
        unsigned char message[3];
        while (jack_ringbuffer_read_space(self->ring_) >= 3) {
            jack_ringbuffer_read(self->ring_, reinterpret_cast<char*>(message), 3);
            jack_midi_event_write(buffer, 0, message, 3);
            self->written_.store(Clock::now().time_since_epoch().count());
            ++self->count_;
        }
        return 0;
    }

    jack_client_t* client_ = nullptr;
    jack_port_t* port_ = nullptr;
    jack_ringbuffer_t* ring_ = nullptr;
    std::atomic<Clock::rep> written_{0};
    std::atomic<std::int64_t> count_{0};
};

}  // namespace midisend
