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

// The voice to speak with now; null while none answers.
Speech* SystemSpeech::current() {
    if (!started_) {
        started_ = true;
#ifndef __EMSCRIPTEN__
        service_ = std::make_unique<SpeechDispatcherSpeech>();
        service_->setOn(true);
        service_->setVoice(voice_);
        if (EspeakSpeech::available()) {
            program_ = std::make_unique<EspeakSpeech>();
            program_->setOn(true);
            program_->setVoice(voice_);
        }
#else
        log_ << "zelkin: speech is unavailable in the page\n";
#endif
    }
#ifndef __EMSCRIPTEN__
    if (service_) {
        auto& spd = static_cast<SpeechDispatcherSpeech&>(*service_);
        switch (spd.state()) {
            case SpeechDispatcherSpeech::State::Ready:
                if (program_) program_->stop();
                program_.reset();
                return service_.get();
            case SpeechDispatcherSpeech::State::Connecting:
                return program_.get();
            case SpeechDispatcherSpeech::State::Failed:
                log_ << "zelkin: speech-dispatcher does not answer (" << spd.failure() << ")"
                     << (program_ ? "; speaking with espeak-ng\n"
                                  : " and espeak-ng is not installed: speech is unavailable\n");
                service_.reset();
                break;
        }
    }
#endif
    return program_.get();
}

void SystemSpeech::speak(std::string_view text, SpeechUrgency urgency) {
    if (Speech* voice = current()) voice->say(text, urgency);
}

void SystemSpeech::stop() {
    if (service_) service_->stop();
    if (program_) program_->stop();
}

void SystemSpeech::setVoice(const VoiceSettings& voice) {
    voice_ = voice;
    if (service_) service_->setVoice(voice);
    if (program_) program_->setVoice(voice);
}

}  // namespace zk
