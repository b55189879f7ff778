#pragma once
#include <iosfwd>

#include "app/system_speech.h"
#include "platform/canvas.h"
#include "platform/error_report.h"
#include "platform/fonts.h"
#include "platform/platform.h"
#include "platform/sdl/sdl_clock.h"
#include "platform/sdl/sdl_display.h"
#include "platform/sdl/sdl_input.h"
#include "platform/sdl/sdl_media_player.h"
#include "platform/sdl/sdl_message_box.h"
#include "platform/sdl/sdl_mixer.h"
#include "platform/sdl/termination_signals.h"

namespace zk {

// The backends of a window, wired into the platform the game sees. Errors of the game
// go to the window's message box each time the game reports them (the game itself
// decides what is reported once); `loopErrors` filters the failures the frame loop
// catches, which would otherwise repeat every frame.
struct WindowBackends {
    explicit WindowBackends(std::ostream& log);

    TerminationSignals signals;  // first: SDL must not install its own handlers
    SdlDisplay display;
    SdlInput input;
    SdlClock clock;
    SdlMessageBox messageBox;
    SystemSpeech speech;
    SpokenMessageBox spokenMessageBox;  // the box the game and its errors open
    MessageBoxErrorReport errorReport;
    OnceErrorReport loopErrors;
    Fonts fonts;
    Canvas canvas;
    SdlAudioDevice audio;
    SdlSoundMixer mixer;
    SdlMediaPlayer media;
    Platform platform;
};

}  // namespace zk
