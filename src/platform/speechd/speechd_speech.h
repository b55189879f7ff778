#pragma once
#include <memory>
#include <string>

#include "platform/speech.h"

namespace zk {

// Speaks through speech-dispatcher, the system's speech service (the voices and the
// sound device are its own). Only this backend sees libspeechd.
class SpeechDispatcherSpeech : public InterruptingSpeech {
  public:
    // Connects to the service (starting it when the system allows); nothing, with the
    // reason in `why`, when it does not answer.
    static std::unique_ptr<SpeechDispatcherSpeech> connect(std::string& why);
    ~SpeechDispatcherSpeech() override;
    SpeechDispatcherSpeech(const SpeechDispatcherSpeech&) = delete;
    SpeechDispatcherSpeech& operator=(const SpeechDispatcherSpeech&) = delete;

    void setVoice(const VoiceSettings& voice) override;
    bool speaking() override;
    // The service stopped answering: a text could not be handed to it.
    bool failed() const { return failed_; }

  protected:
    void start(std::string_view text) override;
    void halt() override;

  private:
    struct Connection;
    explicit SpeechDispatcherSpeech(std::unique_ptr<Connection> connection);
    std::unique_ptr<Connection> connection_;
    bool failed_ = false;
};

}  // namespace zk
