#include "app/windowed_runner.h"

#include <SDL.h>

#include <iostream>

#include "app/main_window.h"
#include "core/error.h"
#include "platform/sdl/sdl_clock.h"
#include "platform/sdl/sdl_display.h"
#include "platform/sdl/sdl_input.h"
#include "platform/sdl/sdl_media_player.h"
#include "platform/sdl/sdl_message_box.h"
#include "platform/sdl/sdl_mixer.h"

namespace zk {

int runWindowed(const CommandLine& options, const std::string& executableDir) {
    // Errors before the window exists still reach the player as a message box.
    SdlMessageBox earlyBox(nullptr, std::cerr);
    try {
        SdlDisplay display;
        SdlInput input;
        SdlClock clock;
        SdlMessageBox messageBox(&display, std::cerr);
        MessageBoxErrorReport windowReport(messageBox, "Zelkin engine", std::cerr);
        OnceErrorReport errorReport(windowReport);
        Fonts fonts;
        Canvas canvas(display.back(), fonts);
        // Without a sound device the game plays silently (one line on stderr).
        SdlAudioDevice audio(std::cerr);
        SdlSoundMixer mixer(audio);
        SdlMediaPlayer media(audio);
        Platform platform{display, canvas, fonts,      input,      clock,
                          mixer,   media,  messageBox, errorReport};

        WindowOptions w;
        w.packagePath = options.packagePath;
        w.executableDir = executableDir;
        w.saveDir = options.saveDir;
        w.fullScreen = options.fullScreen;
        w.seed = options.seed;
        w.debug = options.debug;
        MainWindow window(platform, w);
        try {
            window.FormCreate();
        } catch (const DataError& e) {
            errorReport.report(e.what());
            return 1;
        }
        while (!input.quitRequested() && !window.finished()) {
            input.pumpEvents();
            try {
                if (window.loaderPending()) {
                    window.Timer2Timer();
                } else if (input.windowActive()) {
                    window.DXTimer1Timer();
                } else {
                    // Paused while the window is inactive: wait for events, use no CPU.
                    SDL_WaitEventTimeout(nullptr, 100);
                }
            } catch (const DataError& e) {
                errorReport.report(e.what());
                if (!window.game().gameLoaded) return 1;
            }
        }
        window.FormClose();
        return window.exitStatus();
    } catch (const std::exception& e) {
        earlyBox.show("Zelkin engine", e.what());
        return 1;
    }
}

}  // namespace zk
