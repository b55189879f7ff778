#pragma once
#include <string>
#include <string_view>

#include "platform/message_box.h"

namespace zk {

// How urgent a spoken text is, least urgent first. A text cuts off one that is as
// urgent or less; while a more urgent one is still being spoken, it is dropped.
enum class SpeechUrgency { MenuItem, RoomTitle, Hover, Hint, Dialogue, MessageBox, Notice };

// The voice texts are spoken in.
struct VoiceSettings {
    std::string language;   // a language tag ("de", "pt-BR"); empty: the system's default
    std::string voice;      // a voice's name; empty: the default voice of the language
    int ratePercent = 100;  // of the voice's normal rate
    bool operator==(const VoiceSettings&) const = default;
};

// The voice that reads the game's texts to a player who cannot read the screen. It is
// off until the player's settings turn it on; while off it drops every text, so the
// game's code may hand it texts without asking. Texts are UTF-8; say() never waits
// for the speaking.
class Speech {
  public:
    virtual ~Speech() = default;
    void setOn(bool on) { on_ = on; }
    bool on() const { return on_; }
    void say(std::string_view text, SpeechUrgency urgency) {
        if (on_ && !text.empty()) speak(text, urgency);
    }
    // Silences what is being said.
    virtual void stop() = 0;
    virtual void setVoice(const VoiceSettings& voice) = 0;

  protected:
    virtual void speak(std::string_view text, SpeechUrgency urgency) = 0;

  private:
    bool on_ = false;
};

// The urgency rule for a voice that speaks one text at a time: it tells whether it is
// still speaking, and starts and halts a text.
class InterruptingSpeech : public Speech {
  public:
    void stop() final { halt(); }
    virtual bool speaking() = 0;

  protected:
    void speak(std::string_view text, SpeechUrgency urgency) final;
    virtual void start(std::string_view text) = 0;
    virtual void halt() = 0;

  private:
    SpeechUrgency current_ = SpeechUrgency::MenuItem;
};

// A message box read aloud as it opens: caption and text, as the player sees them.
class SpokenMessageBox : public MessageBox {
  public:
    SpokenMessageBox(MessageBox& shown, Speech& voice) : shown_(shown), voice_(voice) {}
    void show(std::string_view caption, std::string_view text) override;

  private:
    MessageBox& shown_;
    Speech& voice_;
};

}  // namespace zk
