#include "platform/speechd/speechd_speech.h"

#include <libspeechd.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>

namespace zk {
namespace {

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

}  // namespace

struct SpeechDispatcherSpeech::Connection {
    SPDConnection* spd = nullptr;
    int lastStarted = -1;
    ~Connection() {
        if (spd) spd_close(spd);
    }
};

std::unique_ptr<SpeechDispatcherSpeech> SpeechDispatcherSpeech::connect(std::string& why) {
    auto c = std::make_unique<Connection>();
    char* error = nullptr;
    c->spd = spd_open2("zelkin", "game", nullptr, SPD_MODE_THREADED, nullptr, 1, &error);
    if (!c->spd) {
        why = error ? error : "speech-dispatcher does not answer";
        std::free(error);
        return nullptr;
    }
    c->spd->callback_end = textEnded;
    c->spd->callback_cancel = textEnded;
    spd_set_notification_on(c->spd, SPD_END);
    spd_set_notification_on(c->spd, SPD_CANCEL);
    return std::unique_ptr<SpeechDispatcherSpeech>(new SpeechDispatcherSpeech(std::move(c)));
}

SpeechDispatcherSpeech::SpeechDispatcherSpeech(std::unique_ptr<Connection> connection)
    : connection_(std::move(connection)) {}

SpeechDispatcherSpeech::~SpeechDispatcherSpeech() {
    halt();
}

void SpeechDispatcherSpeech::setVoice(const VoiceSettings& voice) {
    SPDConnection* spd = connection_->spd;
    // An empty language or voice leaves the service's default in place.
    if (!voice.language.empty()) spd_set_language(spd, voice.language.c_str());
    if (!voice.voice.empty()) spd_set_synthesis_voice(spd, voice.voice.c_str());
    spd_set_voice_rate(spd, serviceRate(voice.ratePercent));
}

bool SpeechDispatcherSpeech::speaking() {
    return connection_->lastStarted >= 0 && lastEnded.load() < connection_->lastStarted;
}

void SpeechDispatcherSpeech::start(std::string_view text) {
    const std::string copy(text);
    const int message = spd_say(connection_->spd, SPD_TEXT, copy.c_str());
    if (message < 0) {
        failed_ = true;
        return;
    }
    connection_->lastStarted = message;
}

void SpeechDispatcherSpeech::halt() {
    if (connection_->lastStarted >= 0) spd_cancel(connection_->spd);
}

}  // namespace zk
