#include "app/system_speech.h"

#include <ostream>
#include <string>

#include "platform/espeak_speech.h"
#ifndef __EMSCRIPTEN__
#include "platform/speechd/speechd_speech.h"
#endif

namespace zk {

SystemSpeech::SystemSpeech(std::ostream& log) : log_(log) {}

SystemSpeech::~SystemSpeech() = default;

void SystemSpeech::pick() {
    picked_ = true;
    std::string why = "the page has no speech";
#ifndef __EMSCRIPTEN__
    if (auto spd = SpeechDispatcherSpeech::connect(why)) {
        backend_ = std::move(spd);
    } else if (EspeakSpeech::available()) {
        log_ << "zelkin: speech-dispatcher does not answer (" << why
             << "); speaking with espeak-ng\n";
        backend_ = std::make_unique<EspeakSpeech>();
    } else {
        why = "speech-dispatcher does not answer (" + why + ") and espeak-ng is not installed";
    }
#endif
    if (!backend_) {
        log_ << "zelkin: speech is unavailable: " << why << '\n';
        return;
    }
    backend_->setOn(true);
    backend_->setVoice(voice_);
}

void SystemSpeech::speak(std::string_view text, SpeechUrgency urgency) {
    if (!picked_) pick();
    if (backend_) backend_->say(text, urgency);
}

void SystemSpeech::stop() {
    if (backend_) backend_->stop();
}

void SystemSpeech::setVoice(const VoiceSettings& voice) {
    voice_ = voice;
    if (backend_) backend_->setVoice(voice);
}

}  // namespace zk
