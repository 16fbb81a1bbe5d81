// Tests of the sanitizer list parser: bits, negation, the shared address
// bit, the rejected and unsupported names, and misspelling hints.
#include "options/sanitizer-args.h"

#include "options/opts-test-support.h"

namespace {

class sanitizer_args : public diagnostics_fixture {};

std::uint32_t sanitize(const char *text, std::uint32_t flags = 0, bool positive = true) {
  return parse_sanitizer_options(text, UNKNOWN_LOCATION, SANITIZE_OPTION_SANITIZE, flags,
                                 positive);
}
std::uint32_t trap(const char *text, std::uint32_t flags = 0, bool positive = true) {
  return parse_sanitizer_options(text, UNKNOWN_LOCATION, SANITIZE_OPTION_TRAP, flags, positive);
}

TEST_F(sanitizer_args, NamesSetAndClearBits) {
  EXPECT_EQ(sanitize("address", 0x037E7FE3u, false), 0x037E7FE0u);
  // With kernel-address still selected, the shared bit comes back.
  EXPECT_EQ(sanitize("address", sanitize("address,kernel-address"), false), 0x00000005u);
  EXPECT_EQ(sanitize("all", 0x037E7FE3u, false), 0u);
  EXPECT_EQ(sanitize(""), 0u);
  EXPECT_EQ(sanitize(",address"), 3u);
  EXPECT_EQ(sanitize("address,,thread,"), 11u);
  EXPECT_EQ(diagnostics(), "");
}

TEST_F(sanitizer_args, RejectedNamesAndHints) {
  EXPECT_EQ(sanitize("all"), 0u);
  EXPECT_EQ(diagnostics(), "vrk++: error: '-fsanitize=all' option is not valid\n");
  EXPECT_EQ(trap("all"), 0x03FFFFE0u);
  EXPECT_EQ(trap("vptr"), 0u);
  EXPECT_EQ(diagnostics(), "vrk++: error: '-fsanitize-trap=vptr' is not supported\n");
  // The trap column only restricts suggestions.
  EXPECT_EQ(trap("thread"), 8u);
  // The rest of the list applies after a bad item.
  EXPECT_EQ(sanitize("foobar,thread"), 8u);
  EXPECT_EQ(diagnostics(),
            "vrk++: error: unrecognized argument to '-fsanitize=' option: 'foobar'\n");
  sanitize("adress", 0, false);
  EXPECT_EQ(diagnostics(), "vrk++: error: unrecognized argument to '-fno-sanitize=' option: "
                           "'adress'; did you mean 'address'?\n");
  // Trap suggestions skip names that cannot trap.
  trap("threa");
  EXPECT_EQ(diagnostics(),
            "vrk++: error: unrecognized argument to '-fsanitize-trap=' option: 'threa'\n");
  // "al" is close to "all", which -fsanitize= never suggests.
  sanitize("al");
  EXPECT_EQ(diagnostics(), "vrk++: error: unrecognized argument to '-fsanitize=' option: 'al'\n");
  // Matching is case-sensitive and whole-item.
  EXPECT_EQ(sanitize("Address,addressx"), 0u);
  EXPECT_EQ(errors(), 8);
}

}  // namespace
