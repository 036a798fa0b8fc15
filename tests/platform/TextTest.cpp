// Text made safe for one line of output.
#include <gtest/gtest.h>

#include "platform/Paths.h"
#include "platform/Text.h"

namespace jb {
namespace {

TEST(TextTest, EscapeControlBytesWritesBackslashAndControlsAsInC) {
  const std::pair<std::string, std::string> cases[] = {
      {"plain -name 'q' \"d\" ~", "plain -name 'q' \"d\" ~"},
      {"a\\b", "a\\\\b"},
      {"line\nfeed\rreturn\ttab", "line\\nfeed\\rreturn\\ttab"},
      {std::string("\0\x01\x1B\x1F\x7F", 5), "\\x00\\x01\\x1B\\x1F\\x7F"},
      {"\xC3\xA9 \xE9 \xFF\x80", "\xC3\xA9 \xE9 \xFF\x80"},  // UTF-8 or not, bytes above 0x7F stay
      {"\\x41\\n", "\\\\x41\\\\n"},                          // an escape spelt out is not taken for one
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(EscapeControlBytes(in), out) << in;
}

// The name after the last "/", whatever the bytes before and after it.
TEST(TextTest, FileNamePartIsWhatFollowsTheLastSlash) {
  const std::pair<std::string, std::string> cases[] = {
      {"/music/a b/01 - 'x'.mp3", "01 - 'x'.mp3"},
      {"song.mp3", "song.mp3"},
      {"", ""},
      {"/", ""},
      {"/dir/", ""},
      {"/a\\b/c\nd", "c\nd"},
      {std::string("/x\0/y\xFF", 6), "y\xFF"},
      {"//-lead", "-lead"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(FileNamePart(in), out) << in;
}

}  // namespace
}  // namespace jb
