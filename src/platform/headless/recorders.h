#pragma once
#include <iosfwd>
#include <string>
#include <vector>

#include "platform/error_report.h"
#include "platform/message_box.h"
#include "platform/speech.h"

namespace zk {

// Message boxes of a headless run: recorded, never waited for.
class RecordingMessageBox : public MessageBox {
  public:
    struct Shown {
        std::string caption;
        std::string text;
        bool operator==(const Shown&) const = default;
    };
    void show(std::string_view caption, std::string_view text) override {
        shown.push_back({std::string(caption), std::string(text)});
    }

    std::vector<Shown> shown;  // every box, in order
};

// The voice of a headless run: every text it is handed while on, in order, and the
// voice it was last given.
class RecordingSpeech : public Speech {
  public:
    void stop() override {}
    void setVoice(const VoiceSettings& v) override { voice = v; }

    std::vector<std::string> spoken;
    VoiceSettings voice;

  protected:
    void speak(std::string_view text, SpeechUrgency) override { spoken.emplace_back(text); }
};

// The error report of a headless run: every message is recorded and written as one
// line to the log stream (standard error unless given). Warnings are recorded with
// the errors too, as runs recorded them before warnings had a channel of their own.
class RecordingErrorReport : public ErrorReport {
  public:
    RecordingErrorReport();
    explicit RecordingErrorReport(std::ostream& log) : log_(&log) {}
    void report(std::string_view message) override;
    void warn(std::string_view message) override;

    std::vector<std::string> messages;  // every report, in order

  private:
    std::ostream* log_;
};

}  // namespace zk
