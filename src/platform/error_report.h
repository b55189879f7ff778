#pragma once
#include <iosfwd>
#include <set>
#include <string>
#include <string_view>

namespace zk {

class MessageBox;

// Where errors that end a handler go (the application's default error report).
// UTF-8 messages.
class ErrorReport {
  public:
    virtual ~ErrorReport() = default;
    virtual void report(std::string_view message) = 0;
};

// A message as one readable line of a log: line breaks and tabs become spaces, other
// control characters '?', and bytes that are not UTF-8 (record strings from damaged
// game data) are taken as Windows-1252.
std::string printableLine(std::string_view message);
// "Error: " and the printable line of the message.
std::string errorLine(std::string_view message);

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
    // Forget what was reported (for a new game).
    void reset() { seen_.clear(); }

  private:
    ErrorReport& next_;
    std::set<std::string, std::less<>> seen_;
};

}  // namespace zk
