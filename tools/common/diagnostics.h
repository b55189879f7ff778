#pragma once
#include <string>
#include <vector>

namespace zk::tools {

// Authoring mistakes, each with the file (relative to the source folder) and line.
struct Diagnostic {
    std::string file;
    int line = 0;  // 0: the file as a whole
    std::string message;
    bool warning = false;
    std::string text() const;  // "file:line: message"
};

class Diagnostics {
  public:
    void error(const std::string& file, int line, const std::string& message);
    void warning(const std::string& file, int line, const std::string& message);
    bool hasErrors() const { return errors_ > 0; }
    int errorCount() const { return errors_; }
    const std::vector<Diagnostic>& all() const { return list_; }
    // When lenient, reference errors are reported as warnings.
    bool lenient = false;
    void reference(const std::string& file, int line, const std::string& message) {
        lenient ? warning(file, line, message) : error(file, line, message);
    }

  private:
    std::vector<Diagnostic> list_;
    int errors_ = 0;
};

}  // namespace zk::tools
