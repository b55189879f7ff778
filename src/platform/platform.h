#pragma once
#include "platform/canvas.h"
#include "platform/clock.h"
#include "platform/display.h"
#include "platform/error_report.h"
#include "platform/fonts.h"
#include "platform/input.h"
#include "platform/media_player.h"
#include "platform/message_box.h"
#include "platform/platform_error.h"
#include "platform/sound_mixer.h"
#include "platform/speech.h"

namespace zk {

// Every service the game uses, in one value the game state can carry. The canvas
// draws on display.back(). Whoever builds it (the window or the headless runner)
// owns the services and keeps them alive while it is used.
struct Platform {
    Display& display;
    Canvas& canvas;
    Fonts& fonts;
    Input& input;
    Clock& clock;
    SoundMixer& mixer;
    MediaPlayer& media;
    MessageBox& messageBox;
    ErrorReport& errorReport;
    Speech& speech;  // off unless the player's settings turn it on
};

}  // namespace zk
