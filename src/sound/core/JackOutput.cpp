#include "sound/core/JackOutput.h"

#include "sound/core/JackSupport.h"

#include <algorithm>

namespace orvane {

JackOutput::JackOutput(std::string clientName) : clientName_(std::move(clientName)) {}

JackOutput::~JackOutput() {
    Stop();
    Close();
}

bool JackOutput::Open() {
    if (client_) {
        return true;
    }
    if (!JackServerMayRun()) {
        return false;
    }
    RouteJackMessages();
    jack_status_t status{};
    client_ = jack_client_open(clientName_.c_str(), JackNoStartServer, &status);
    if (!client_) {
        return false;
    }
    for (int channel = 0; channel < 2; ++channel) {
        const std::string name = "out_" + std::to_string(channel + 1);
        ports_[channel] = jack_port_register(client_, name.c_str(), JACK_DEFAULT_AUDIO_TYPE,
                                             JackPortIsOutput, 0);
        if (!ports_[channel]) {
            Close();
            return false;
        }
    }
    sampleRate_ = static_cast<int>(jack_get_sample_rate(client_));
    bufferFrames_ = static_cast<int>(jack_get_buffer_size(client_));
    interleaved_.assign(std::size_t{kChunkFrames} * 2, 0.0f);
    if (jack_set_process_callback(client_, &JackOutput::Process, this) != 0 ||
        jack_set_buffer_size_callback(client_, &JackOutput::BufferSizeChanged, this) != 0) {
        Close();
        return false;
    }
    jack_on_shutdown(client_, &JackOutput::ShutDown, this);
    return sampleRate_ > 0;
}

void JackOutput::Start(AudioRenderer* renderer) {
    if (!client_ || active_ || serverGone_) {
        return;
    }
    renderer_ = renderer;  // read by the process thread only once the client is active
    if (jack_activate(client_) == 0) {
        active_ = true;
        ConnectToPlayback();
    }
}

void JackOutput::Stop() {
    if (active_ && !serverGone_) {
        // When this returns the process callback no longer runs.
        jack_deactivate(client_);
    }
    active_ = false;
    renderer_ = nullptr;
}

void JackOutput::Close() {
    if (client_) {
        // Also after the server went away: this frees what the library still holds.
        jack_client_close(client_);
    }
    client_ = nullptr;
    ports_[0] = ports_[1] = nullptr;
}

std::vector<std::string> JackOutput::PortNames() const {
    std::vector<std::string> names;
    for (jack_port_t* port : ports_) {
        if (port) {
            names.emplace_back(jack_port_name(port));
        }
    }
    return names;
}

void JackOutput::ConnectToPlayback() {
    const char** playback = jack_get_ports(client_, nullptr, JACK_DEFAULT_AUDIO_TYPE,
                                           JackPortIsPhysical | JackPortIsInput);
    if (!playback) {
        return;
    }
    // Mono playback gets the left channel only.
    for (int channel = 0; channel < 2 && playback[channel]; ++channel) {
        jack_connect(client_, jack_port_name(ports_[channel]), playback[channel]);
    }
    jack_free(playback);
}

int JackOutput::Process(jack_nframes_t frames, void* self) {
    auto* output = static_cast<JackOutput*>(self);
    const auto now = std::chrono::steady_clock::now();
    auto* left = static_cast<float*>(jack_port_get_buffer(output->ports_[0], frames));
    auto* right = static_cast<float*>(jack_port_get_buffer(output->ports_[1], frames));
    if (!output->renderer_) {
        std::fill(left, left + frames, 0.0f);
        std::fill(right, right + frames, 0.0f);
        return 0;
    }
    float* mix = output->interleaved_.data();
    for (jack_nframes_t done = 0; done < frames;) {
        const int chunk = static_cast<int>(std::min<jack_nframes_t>(frames - done, kChunkFrames));
        // The time the cycle asked for its first frame; later chunks are as far after it.
        const auto at = now + std::chrono::nanoseconds(std::int64_t{done} * 1'000'000'000 /
                                                       output->sampleRate_);
        output->renderer_->RenderAudio(mix, chunk, at);
        for (int i = 0; i < chunk; ++i) {
            left[done + i] = mix[2 * i];
            right[done + i] = mix[2 * i + 1];
        }
        done += static_cast<jack_nframes_t>(chunk);
    }
    return 0;
}

int JackOutput::BufferSizeChanged(jack_nframes_t frames, void* self) {
    static_cast<JackOutput*>(self)->bufferFrames_ = static_cast<int>(frames);
    return 0;
}

void JackOutput::ShutDown(void* self) {
    // The server is gone; its client must not be used again, not even to be closed.
    static_cast<JackOutput*>(self)->serverGone_ = true;
}

}  // namespace orvane
