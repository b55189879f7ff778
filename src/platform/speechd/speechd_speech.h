#pragma once
#include <memory>
#include <string>

#include "platform/speech.h"

namespace zk {

// Speaks through speech-dispatcher, the system's speech service (the voices and the
// sound device are its own). Only this backend sees libspeechd. Every call to the
// service runs on a thread of its own: a service that hangs (it may, without a sound
// device) never holds up the game's frames.
class SpeechDispatcherSpeech : public InterruptingSpeech {
  public:
    enum class State { Connecting, Ready, Failed };

    SpeechDispatcherSpeech();  // starts connecting (and the service, if the system allows)
    ~SpeechDispatcherSpeech() override;
    SpeechDispatcherSpeech(const SpeechDispatcherSpeech&) = delete;
    SpeechDispatcherSpeech& operator=(const SpeechDispatcherSpeech&) = delete;

    State state() const;
    // Why the connection failed (State::Failed).
    std::string failure() const;

    void setVoice(const VoiceSettings& voice) override;
    bool speaking() override;

  protected:
    void start(std::string_view text) override;
    void halt() override;

  private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
};

}  // namespace zk
