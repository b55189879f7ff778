#include "app/window_backends.h"

namespace zk {

WindowBackends::WindowBackends(std::ostream& log)
    : messageBox(&display, log),
      speech(log),
      spokenMessageBox(messageBox, speech),
      errorReport(spokenMessageBox, "Zelkin engine", log),
      loopErrors(errorReport),
      canvas(display.back(), fonts),
      // Without a sound device the game plays silently (one line on the log).
      audio(log),
      mixer(audio),
      media(audio),
      platform{display, canvas,           fonts,       input, clock, mixer,
               media,   spokenMessageBox, errorReport, speech} {
    input.attach(display);
}

}  // namespace zk
