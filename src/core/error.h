#pragma once
#include <stdexcept>
#include <string>

namespace zk {

// A game-data or file error: bad records, missing entries, broken picture lists.
// The message names the file (and the entry, record or offset where known). The
// window's handlers catch it at their boundary and hand it to the error report.
class DataError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace zk
