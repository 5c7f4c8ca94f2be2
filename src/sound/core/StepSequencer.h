#pragma once

#include <QString>
#include <QStringList>
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "sound/core/CommandQueue.h"
#include "sound/core/Mixer.h"
#include "sound/core/SampleBuffer.h"

namespace orvane {

// The step plan of a chime as the audio side plays it: per step the bells it strikes (a sound
// and the group that a group switch turns off) and its volume marks, in order.
struct SequencePlan {
    struct Stroke {
        int sound = 0;   // index into sounds
        int group = -1;  // 0 small, 1 medium-size, 2 great; -1 sounds whatever the switches
    };
    struct VolumeMark {
        char op = '+';  // '+' multiplies the level, '-' divides it, anything else keeps it
        double factor = 1.0;
    };
    struct Step {
        std::vector<Stroke> strokes;
        std::vector<VolumeMark> marks;
    };

    QStringList soundPaths;
    std::vector<Step> steps;
    // Milliseconds per step of a plan that follows another at its end (ChimeEnd::kNextPlan):
    // its step 0 comes one interval of the plan before it after that plan's last step, and its
    // own grid starts there. 0: the interval in force goes on.
    int intervalMs = 0;
    // Filled by the engine when the plan is handed over: the decoded sound of each path.
    std::vector<std::shared_ptr<const SampleBuffer>> sounds;
};

// What happens when the step after the last one is due.
enum class ChimeEnd : std::uint8_t {
    kStop,      // the player stops: position 0
    kRepeat,    // step 0 again, without a pause (study chimes)
    kNextPlan,  // step 0 of the plan queued with QueueNext, without a pause; stops without one
                // (or plays the current plan again, see QueueNext)
};

// The sequencer on the audio side: it plays a step plan on an exact grid of the step interval,
// starting every step's voices at its frame from the audio callback, however late the window
// thread is. One tick is as the playback timer's: the position advances, the chime's end is
// handled, then the step at the position sounds; Play at position 0 sounds step 0 at once.
//
// Threads: the command members run on the UI thread and take effect at the start of the next
// audio buffer; BeforeChunk runs on the audio thread (as the mixer's chunk hook) and never
// locks, allocates or frees; the published state is atomic. Plans are owned by the UI side
// (the engine) and released there once the audio thread no longer reads them (PlanInUse).
class StepSequencer final : public Mixer::ChunkHook {
public:
    static constexpr int kGroups = 3;

    explicit StepSequencer(int sampleRate);

    // UI thread. Each returns false when the command ring is full (try again later).
    // The plan to play from now on (position 0, stopped); `serial` names it in PlanInUse.
    bool Load(const SequencePlan* plan, std::uint64_t serial);
    // The plan that follows the current one when its end is due with ChimeEnd::kNextPlan; null:
    // none, the player stops there. `holdOn`: once that plan plays, its end plays it again as
    // long as nothing is queued after it, so that a window that is late to queue what follows
    // never lets the sound stop; the next QueueNext (a null plan included) ends the holding.
    bool QueueNext(const SequencePlan* plan, std::uint64_t serial, bool holdOn = false);
    // The plan to play on from the next buffer, keeping the position, the grid and whether it
    // plays (an edited step list); a position past its last step ends the pass at the next step.
    bool Replace(const SequencePlan* plan, std::uint64_t serial);
    bool Play();
    // As Play, with the grid anchored at an absolute frame: step 0 sounds there (from position
    // 0), otherwise the next step one interval after it. A frame already rendered when the
    // command arrives counts as the start of that buffer.
    bool PlayAt(std::int64_t frame);
    bool Pause();
    bool Stop();
    // The step that counts as played last: the next tick plays the one after it.
    bool SetPosition(int position);
    // Milliseconds per step; the grid goes on from the last step at the new interval.
    bool SetInterval(int milliseconds);
    // As SetInterval, while playing with a new grid: the next step one interval after `frame`
    // (as a restarted timer would), not before the buffer the command arrives in.
    bool SetIntervalFrom(int milliseconds, std::int64_t frame);
    // The three group switches (small, medium-size, great).
    bool SetGroups(bool small, bool middle, bool great);
    bool SetEnd(ChimeEnd end);

    // Any thread: what the audio side has played.
    int Position() const { return position_.load(std::memory_order_acquire); }
    bool Playing() const { return playing_.load(std::memory_order_acquire); }
    // Steps sounded since construction; a follower compares it with what it has shown.
    std::uint64_t StepsPlayed() const { return stepsPlayed_.load(std::memory_order_acquire); }
    // The frame of the last step sounded.
    std::int64_t LastStepFrame() const { return lastStepFrame_.load(std::memory_order_acquire); }
    // Passes that ended and went on (repeat, next plan, or a held plan played again).
    std::uint64_t Passes() const { return passes_.load(std::memory_order_acquire); }
    // Chimes that ended with a stop (kStop, or kNextPlan with nothing queued).
    std::uint64_t Ends() const { return ends_.load(std::memory_order_acquire); }
    // The serial of the plan being played.
    std::uint64_t CurrentPlan() const { return currentSerial_.load(std::memory_order_acquire); }
    // Plans with a serial below this are no longer read by the audio thread.
    std::uint64_t PlanInUse() const { return planInUse_.load(std::memory_order_acquire); }
    // Steps that sounded later than their grid frame (a command that came after it).
    std::uint64_t LateSteps() const { return lateSteps_.load(std::memory_order_relaxed); }

    // The start event tag of a stroke (see Mixer::StartOwnVoice): plan serial and sound index.
    static constexpr std::uint64_t kStrokeTag = std::uint64_t{1} << 63;
    static std::uint64_t StrokeTag(std::uint64_t planSerial, int sound) {
        return kStrokeTag | (planSerial << 16) | static_cast<std::uint64_t>(sound & 0xFFFF);
    }

    // Audio thread (Mixer::ChunkHook).
    int BeforeChunk(Mixer& mixer, std::int64_t chunkStart, int frames) override;

private:
    struct Command {
        enum class Kind : std::uint8_t {
            kLoad,
            kQueueNext,
            kReplace,
            kPlay,
            kPlayAt,
            kPause,
            kStop,
            kPosition,
            kInterval,
            kIntervalFrom,
            kGroups,
            kEnd
        };
        Kind kind = Kind::kPlay;
        const SequencePlan* plan = nullptr;
        std::uint64_t serial = 0;
        std::int64_t value = 0;
        std::int64_t frame = 0;
    };
    struct Slot {
        std::uint64_t planSerial = 0;
    };

    bool Send(Command command);
    void Apply(const Command& command, std::int64_t chunkStart);
    // One tick at `frame`: advance (unless `advance` is false), handle the end, sound the step.
    void Tick(Mixer& mixer, std::int64_t frame, bool advance);
    void Sound(Mixer& mixer, int step, std::int64_t frame);
    void PublishPlanInUse(const Mixer& mixer);

    const int sampleRate_;
    CommandQueue<Command, 256> commands_;

    // Audio-thread state.
    const SequencePlan* plan_ = nullptr;
    std::uint64_t planSerial_ = 0;
    const SequencePlan* next_ = nullptr;
    std::uint64_t nextSerial_ = 0;
    bool nextHolds_ = false;  // the queued plan was queued with holdOn
    bool holding_ = false;    // the current plan repeats at a kNextPlan end with nothing queued
    bool running_ = false;
    bool stepZeroDue_ = false;
    int position_0_ = 0;  // the step played last
    std::int64_t intervalFrames_ = 0;
    std::int64_t nextFrame_ = 0;
    std::int64_t lastFrame_ = -1;
    bool groups_[kGroups] = {true, true, true};
    ChimeEnd end_ = ChimeEnd::kStop;
    int nextSlot_ = 0;
    Slot slots_[Mixer::kSequencerVoices] = {};

    std::atomic<int> position_{0};
    std::atomic<bool> playing_{false};
    std::atomic<std::uint64_t> stepsPlayed_{0};
    std::atomic<std::int64_t> lastStepFrame_{-1};
    std::atomic<std::uint64_t> passes_{0};
    std::atomic<std::uint64_t> ends_{0};
    std::atomic<std::uint64_t> currentSerial_{0};
    std::atomic<std::uint64_t> planInUse_{0};
    std::atomic<std::uint64_t> lateSteps_{0};
};

}  // namespace orvane
