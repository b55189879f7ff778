#include <gtest/gtest.h>

#include "platform/error_report.h"

namespace zk {
namespace {

// Names from damaged records reach error messages as they are stored: padding bytes,
// control characters and Windows-1252 text. The log line stays one readable UTF-8 line.
TEST(ErrorLine, IsOneReadableUtf8Line) {
    using namespace std::string_literals;
    EXPECT_EQ(errorLine("Room 'hall'\r\nis broken\tthere"), "Error: Room 'hall'  is broken there");
    EXPECT_EQ(errorLine("Room 'hall\0\0\x1b\x7f'"s),
              "Error: Room 'hall" + std::string(4, '?') + "'");
    // Not UTF-8: each byte taken as Windows-1252.
    EXPECT_EQ(errorLine("caf\xE9 \x80 \xC3"), "Error: caf\xC3\xA9 \xE2\x82\xAC \xC3\x83");
    // UTF-8 (a file path) stays as it is, overlong forms and surrogates do not.
    EXPECT_EQ(errorLine("'/home/j\xC3\xBCrgen/\xF0\x9F\x8E\xAE.tgp'"),
              "Error: '/home/j\xC3\xBCrgen/\xF0\x9F\x8E\xAE.tgp'");
    EXPECT_EQ(printableLine("\xC0\xAF"), "\xC3\x80\xC2\xAF");
    EXPECT_EQ(printableLine("\xED\xA0\x80"), "\xC3\xAD\xC2\xA0\xE2\x82\xAC");
}

}  // namespace
}  // namespace zk
