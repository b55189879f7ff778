#pragma once
#include <iosfwd>
#include <memory>

#include "platform/speech.h"

namespace zk {

// The voice of a window: speech-dispatcher, else the espeak-ng program, started when
// the first text is spoken (a player who never turns speech on starts neither).
// espeak-ng speaks while speech-dispatcher connects. When neither answers, one line on
// the log says so and the game plays on silently.
class SystemSpeech : public Speech {
  public:
    explicit SystemSpeech(std::ostream& log);
    ~SystemSpeech() override;
    SystemSpeech(const SystemSpeech&) = delete;
    SystemSpeech& operator=(const SystemSpeech&) = delete;

    void stop() override;
    void setVoice(const VoiceSettings& voice) override;

  protected:
    void speak(std::string_view text, SpeechUrgency urgency) override;

  private:
    Speech* current();

    std::ostream& log_;
    VoiceSettings voice_;
    std::unique_ptr<Speech> service_;  // speech-dispatcher, while it connects or answers
    std::unique_ptr<Speech> program_;  // espeak-ng, meanwhile or instead
    bool started_ = false;
};

}  // namespace zk
