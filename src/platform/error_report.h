#pragma once
#include <iosfwd>
#include <set>
#include <string>
#include <string_view>

#include "core/code_page.h"

namespace zk {

class MessageBox;

// Where errors that end a handler go (the application's default error report).
// Messages are UTF-8 that may hold record strings, whose bytes are in the game's code
// page; a report converts them where it shows or prints them.
class ErrorReport {
  public:
    virtual ~ErrorReport() = default;
    virtual void report(std::string_view message) = 0;
    // The code page of the record strings in later messages (the game's).
    virtual void setCodePage(const CodePage& codePage) { codePage_ = codePage; }
    const CodePage& codePage() const { return codePage_; }

  protected:
    CodePage codePage_;
};

// A message as one readable line of a log: line breaks and tabs become spaces, other
// control characters '?', and bytes that are not UTF-8 (record strings) are taken in
// the code page.
std::string printableLine(std::string_view message, const CodePage& codePage = {});
// "Error: " and the printable line of the message.
std::string errorLine(std::string_view message, const CodePage& codePage = {});

// The report of a window: a line on the log stream, then a message box.
class MessageBoxErrorReport : public ErrorReport {
  public:
    MessageBoxErrorReport(MessageBox& box, std::string caption, std::ostream& log);
    void report(std::string_view message) override;

  private:
    MessageBox& box_;
    std::string caption_;
    std::ostream& log_;
};

// Passes each distinct message on once, so that an error repeated every frame is
// reported a single time.
class OnceErrorReport : public ErrorReport {
  public:
    explicit OnceErrorReport(ErrorReport& next) : next_(next) {}
    void report(std::string_view message) override;
    void setCodePage(const CodePage& codePage) override {
        codePage_ = codePage;
        next_.setCodePage(codePage);
    }
    // Forget what was reported (for a new game).
    void reset() { seen_.clear(); }

  private:
    ErrorReport& next_;
    std::set<std::string, std::less<>> seen_;
};

}  // namespace zk
