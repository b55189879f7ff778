#pragma once
#include <stdexcept>

namespace zk {

// A failure of the machine's services (window, renderer, fonts, image files), as
// opposed to a fault of the game data (DataError).
class PlatformError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace zk
