#include "platform/speechd/speechd_speech.h"

#include <libspeechd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <thread>

namespace zk {
namespace {

using Clock = std::chrono::steady_clock;

// The service reports the end of a text on its own thread, through a callback without
// a context: the one connection of the engine keeps the last message that ended here.
std::atomic<int> lastEnded{-1};

void textEnded(size_t message, size_t /*client*/, SPDNotificationType /*state*/) {
    const int ended = static_cast<int>(message);
    int seen = lastEnded.load();
    while (seen < ended && !lastEnded.compare_exchange_weak(seen, ended)) {
    }
}

// The service's rate runs from -100 to 100, 0 normal: a quarter of the normal rate
// (the slowest the settings allow) is -100, four times it is 100.
int serviceRate(int percent) {
    const int p = std::clamp(percent, 25, 400);
    return p < 100 ? (p - 100) * 100 / 75 : (p - 100) / 3;
}

// How long a text may take at most: twice a slow reading of it. A service whose sound
// output hangs never reports the end; without this limit every less urgent text would
// then be dropped for good.
Clock::duration longestReading(std::string_view text, int percent) {
    const int64_t ms =
        (1000 + 150 * static_cast<int64_t>(text.size())) * 100 / std::clamp(percent, 25, 400);
    return std::chrono::milliseconds(2 * ms);
}

struct Command {
    enum Kind { Say, Cancel, Voice } kind;
    std::string text;
    VoiceSettings voice;
};

}  // namespace

// What the game's thread and the service's thread share; the service's thread keeps it
// alive until it ends, even when the voice is gone first.
struct SpeechDispatcherSpeech::Shared {
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<Command> commands;
    bool quit = false;
    State state = State::Connecting;
    std::string failure;
    // The game's view of the text in hand: queued or with the service until it ends.
    std::atomic<bool> sayQueued{false};
    std::atomic<int> lastStarted{-1};
    int ratePercent = 100;
    Clock::time_point endsAtLatest;

    void run();
};

void SpeechDispatcherSpeech::Shared::run() {
    char* error = nullptr;
    SPDConnection* spd =
        spd_open2("zelkin", "game", nullptr, SPD_MODE_THREADED, nullptr, 1, &error);
    {
        std::lock_guard lock(mutex);
        if (!spd) {
            failure = error ? error : "it does not answer";
            state = State::Failed;
        } else {
            state = State::Ready;
        }
    }
    std::free(error);
    if (!spd) return;
    spd->callback_end = textEnded;
    spd->callback_cancel = textEnded;
    spd_set_notification_on(spd, SPD_END);
    spd_set_notification_on(spd, SPD_CANCEL);
    while (true) {
        Command c;
        {
            std::unique_lock lock(mutex);
            wake.wait(lock, [this] { return quit || !commands.empty(); });
            if (quit) break;
            c = std::move(commands.front());
            commands.pop_front();
        }
        switch (c.kind) {
            case Command::Say: {
                const int message = spd_say(spd, SPD_TEXT, c.text.c_str());
                if (message >= 0) lastStarted.store(message);
                sayQueued.store(false);
                break;
            }
            case Command::Cancel:
                spd_cancel(spd);
                break;
            case Command::Voice:
                // An empty language or voice leaves the service's default in place.
                if (!c.voice.language.empty()) spd_set_language(spd, c.voice.language.c_str());
                if (!c.voice.voice.empty()) spd_set_synthesis_voice(spd, c.voice.voice.c_str());
                spd_set_voice_rate(spd, serviceRate(c.voice.ratePercent));
                break;
        }
    }
    spd_close(spd);
}

SpeechDispatcherSpeech::SpeechDispatcherSpeech() : shared_(std::make_shared<Shared>()) {
    std::thread([shared = shared_] { shared->run(); }).detach();
}

SpeechDispatcherSpeech::~SpeechDispatcherSpeech() {
    // The thread may be stuck in a call to a hung service: it is told to end, not
    // waited for.
    std::lock_guard lock(shared_->mutex);
    shared_->commands.clear();
    shared_->quit = true;
    shared_->wake.notify_all();
}

SpeechDispatcherSpeech::State SpeechDispatcherSpeech::state() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->state;
}

std::string SpeechDispatcherSpeech::failure() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->failure;
}

void SpeechDispatcherSpeech::setVoice(const VoiceSettings& voice) {
    std::lock_guard lock(shared_->mutex);
    shared_->ratePercent = voice.ratePercent;
    shared_->commands.push_back({Command::Voice, {}, voice});
    shared_->wake.notify_all();
}

bool SpeechDispatcherSpeech::speaking() {
    Shared& s = *shared_;
    if (Clock::now() >= s.endsAtLatest) return false;
    return s.sayQueued.load() || lastEnded.load() < s.lastStarted.load();
}

void SpeechDispatcherSpeech::start(std::string_view text) {
    std::lock_guard lock(shared_->mutex);
    Shared& s = *shared_;
    // Texts the service has not taken yet are stale: this one cuts them off anyway.
    std::erase_if(s.commands, [](const Command& c) { return c.kind == Command::Say; });
    s.sayQueued.store(true);
    s.endsAtLatest = Clock::now() + longestReading(text, s.ratePercent);
    s.commands.push_back({Command::Say, std::string(text), {}});
    s.wake.notify_all();
}

void SpeechDispatcherSpeech::halt() {
    std::lock_guard lock(shared_->mutex);
    if (shared_->lastStarted.load() < 0 && !shared_->sayQueued.load()) return;
    shared_->commands.push_back({Command::Cancel, {}, {}});
    shared_->wake.notify_all();
}

}  // namespace zk
