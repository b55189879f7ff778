#pragma once
#include <csignal>
#include <set>

namespace zk {

// SIGINT and SIGTERM (Ctrl+C, `kill`, a session manager ending the session) end a
// window run the way closing the window does. SDL's own handlers would turn them into
// a quit event, but nothing reads events while a message box is open; these handlers
// record the request where the main loop and the message box both look.
//
// A signal that was ignored when the window started (a run under nohup) stays ignored.
class TerminationSignals {
  public:
    TerminationSignals();   // installs the handlers and tells SDL to install none
    ~TerminationSignals();  // puts the previous handlers back
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // Whether SIGINT or SIGTERM arrived since the handlers were installed.
    static bool requested();

  private:
    struct sigaction previousInt_ {};
    struct sigaction previousTerm_ {};
    bool installedInt_ = false;
    bool installedTerm_ = false;
};

// The processes whose parent is this process.
std::set<int> childProcesses();

}  // namespace zk
