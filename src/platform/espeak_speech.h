#pragma once
#include <sys/types.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/speech.h"

namespace zk {

// Speaks through the `espeak-ng` program, one process per text. The text is passed as
// a single argument after "--" (no shell), so no text can become an option or a
// command. A new text ends the process of the one before (see InterruptingSpeech);
// finished processes are collected without waiting.
class EspeakSpeech : public InterruptingSpeech {
  public:
    // With `waveFile`, every text is written there as a WAV file instead of played.
    explicit EspeakSpeech(std::string program = "espeak-ng", std::string waveFile = {});
    ~EspeakSpeech() override;
    EspeakSpeech(const EspeakSpeech&) = delete;
    EspeakSpeech& operator=(const EspeakSpeech&) = delete;

    // The program is found on PATH (or is a path to an executable file).
    static bool available(const std::string& program = "espeak-ng");

    void setVoice(const VoiceSettings& voice) override { voice_ = voice; }
    bool speaking() override;
    // A process could not be started (the program is gone).
    bool failed() const { return failed_; }
    // The arguments a text is spoken with, the program first.
    std::vector<std::string> arguments(std::string_view text) const;

  protected:
    void start(std::string_view text) override;
    void halt() override;

  private:
    std::string program_;
    std::string waveFile_;
    VoiceSettings voice_;
    pid_t child_ = -1;
    bool failed_ = false;
};

}  // namespace zk
