#include "platform/speech.h"

#include <string>

namespace zk {

void InterruptingSpeech::speak(std::string_view text, SpeechUrgency urgency) {
    if (urgency < current_ && speaking()) return;
    halt();
    current_ = urgency;
    start(text);
}

void SpokenMessageBox::show(std::string_view caption, std::string_view text) {
    std::string spoken(caption);
    if (!spoken.empty() && !text.empty()) spoken += ". ";
    spoken += text;
    voice_.say(spoken, SpeechUrgency::MessageBox);
    shown_.show(caption, text);
}

}  // namespace zk
