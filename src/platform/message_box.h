#pragma once
#include <string_view>

namespace zk {

// A modal message box with an OK button; returns when it is closed. UTF-8 texts.
class MessageBox {
  public:
    virtual ~MessageBox() = default;
    virtual void show(std::string_view caption, std::string_view text) = 0;
};

}  // namespace zk
