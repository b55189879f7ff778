#pragma once
#include "platform/headless/headless_display.h"
#include "platform/headless/null_audio.h"
#include "platform/headless/recorders.h"
#include "platform/headless/scripted_input.h"
#include "platform/headless/virtual_clock.h"
#include "platform/platform.h"

namespace zk {

// Every headless service in one object, for the headless runner and for tests.
// The members are public so that scripts can drive them and the state dump can
// read what they recorded.
struct HeadlessPlatform {
    Fonts fonts;
    HeadlessDisplay display;
    Canvas canvas{display.back(), fonts};
    ScriptedInput input;
    VirtualClock clock;
    RecordingSoundMixer mixer{clock};
    RecordingMediaPlayer media;
    RecordingMessageBox messageBox;
    RecordingErrorReport errorReport;
    RecordingSpeech speech;
    SpokenMessageBox spokenMessageBox{messageBox, speech};

    Platform platform() {
        return {display, canvas,           fonts,       input, clock, mixer,
                media,   spokenMessageBox, errorReport, speech};
    }
};

}  // namespace zk
