#pragma once
#include <iosfwd>

#include "platform/message_box.h"

namespace zk {

class SdlDisplay;

// A modal message box over the game's window. The system pointer is shown while
// it is open. Where no box can be shown (no video driver), the caption and text go
// to the log stream instead, so that no message is lost. A termination signal
// (TerminationSignals) closes an open box, and later boxes only go to the log.
class SdlMessageBox : public MessageBox {
  public:
    // `owner` may be null (a box of its own, for errors before the window exists).
    SdlMessageBox(const SdlDisplay* owner, std::ostream& log);
    void show(std::string_view caption, std::string_view text) override;

  private:
    const SdlDisplay* owner_;
    std::ostream& log_;
};

}  // namespace zk
