#pragma once
#include <string>
#include <string_view>

namespace zk {

// A basic TOML string of UTF-8 text, with the characters that need it escaped.
std::string tomlText(std::string_view utf8);

}  // namespace zk
