// Tests of the message formatter: the directives the messages use,
// positions, quoting and escaping, the line prefix.
#include "diagnostics/pretty-print.h"
#include "diagnostics/reporter-test-support.h"

#include <cerrno>
#include <clocale>
#include <cstring>
#include <gtest/gtest.h>
#include <string>

#include "diagnostics/diagnostic.h"

namespace {

// Formats into a printer that never writes to its stream.
std::string format_with(message_printer &pp, const char *format, ...) {
  std::va_list ap;
  va_start(ap, format);
  message_text text;
  text.format = format;
  text.args = &ap;
  text.saved_errno = errno;
  pp.format(&text);
  pp.output_formatted();
  va_end(ap);
  std::string result = pp.formatted_text();
  pp.clear_output();
  return result;
}

class formatter_test : public ::testing::Test {
protected:
  void SetUp() override {
    pp.sink.flush_enabled = false;
    open_quote = "'";
    close_quote = "'";
    diagnostic_initialize("vrk++");
  }
  message_printer pp;
};

// The directives the driver's messages use (the catalogue checks that a
// translation uses the same ones).
TEST_F(formatter_test, DirectivesAndSizes) {
  EXPECT_EQ(format_with(pp, "%d %u", -5, 4000000000u), "-5 4000000000");
  EXPECT_EQ(format_with(pp, "%ld %wu", -1L << 40, ~uint64_t(0)),
            "-1099511627776 18446744073709551615");
  EXPECT_EQ(format_with(pp, "%c%c", 'a', 'b'), "ab");
  EXPECT_EQ(format_with(pp, "100%% %s", "done"), "100% done");
  EXPECT_EQ(format_with(pp, "%s", static_cast<const char *>(nullptr)), "(null)");
}

TEST_F(formatter_test, QuotesAndTheirColour) {
  EXPECT_EQ(format_with(pp, "option %<-foo%> and %qs, it%'s", "bar"),
            "option '-foo' and 'bar', it's");
  pp.show_color = true;
  EXPECT_EQ(format_with(pp, "%<x%>"), "'\33[01m\33[Kx\33[m\33[K'");
  EXPECT_EQ(format_with(pp, "%qs", "y"), "'\33[01m\33[Ky\33[m\33[K'");
}

// Translations give the arguments in their own order.
TEST_F(formatter_test, Positions) {
  EXPECT_EQ(format_with(pp, "%2$s before %1$s", "one", "two"), "two before one");
  EXPECT_EQ(format_with(pp, "%2$d %1$s", "text", 12), "12 text");
}

TEST_F(formatter_test, PercentMUsesTheSavedErrno) {
  message_text text;
  std::va_list ap{};
  text.format = "failed: %m";
  text.args = &ap;
  text.saved_errno = ENOENT;
  errno = EACCES;
  pp.format(&text);
  pp.output_formatted();
  EXPECT_EQ(std::string(pp.formatted_text()), std::string("failed: ") + std::strerror(ENOENT));
}

TEST_F(formatter_test, QuotedTextEscapesWhatIsNotPrintable) {
  EXPECT_EQ(format_with(pp, "%qs", "a\tb"), "'a\\x09b'");
  EXPECT_EQ(format_with(pp, "%qs", "\x1b[31m"), "'\\x1b[31m'");
  EXPECT_EQ(format_with(pp, "%qs", "caf\xc3\xa9"), "'caf\xc3\xa9'");        // valid UTF-8
  EXPECT_EQ(format_with(pp, "%qs", "\xe2\x82"), "'\\xe2\\x82'");            // truncated
  EXPECT_EQ(format_with(pp, "%qs", "\xc0\xaf"), "'\\xc0\\xaf'");            // overlong
  EXPECT_EQ(format_with(pp, "%qs", "\xed\xa0\x80"), "'\\xed\\xa0\\x80'");   // surrogate
  EXPECT_EQ(format_with(pp, "%qs", "\xf0\x9f\x98\x80"), "'\xf0\x9f\x98\x80'");
  EXPECT_EQ(format_with(pp, "%qc", '\n'), "'\\x0a'");
  EXPECT_EQ(format_with(pp, "%s", "a\tb"), "a\tb"); // only quoting escapes
}

TEST_F(formatter_test, QuoteCharactersFollowTheLocale) {
  std::string saved = std::setlocale(LC_ALL, nullptr);
  if (std::setlocale(LC_ALL, "C.UTF-8") || std::setlocale(LC_ALL, "C.utf8")) {
    init_quote_chars();
    EXPECT_STREQ(open_quote, "\xe2\x80\x98");
    EXPECT_STREQ(close_quote, "\xe2\x80\x99");
    EXPECT_EQ(format_with(pp, "%<-x%>"), "\xe2\x80\x98-x\xe2\x80\x99");
  }
  std::setlocale(LC_ALL, "C");
  init_quote_chars();
  EXPECT_STREQ(open_quote, "'");
  EXPECT_STREQ(close_quote, "'");
  EXPECT_EQ(format_with(pp, "%<-x%>"), "'-x'");
  std::setlocale(LC_ALL, saved.c_str());
}

TEST_F(formatter_test, PrefixOncePerMessage) {
  pp.set_prefix(strdup("pfx: "));
  EXPECT_EQ(format_with(pp, "one"), "pfx: one");
  pp.set_prefix(strdup("pfx: "));
  pp.printf_into("%s", "");
  EXPECT_EQ(std::string(pp.formatted_text()), "pfx: ") << "an empty message still gets its prefix";
  pp.clear_output();
  pp.verbatim_into("%s", "plain");
  EXPECT_EQ(std::string(pp.formatted_text()), "plain");
}

TEST_F(formatter_test, NoWrapping) {
  std::string long_word(300, 'x');
  std::string text = "a " + long_word + " b";
  EXPECT_EQ(format_with(pp, "%s", text.c_str()), text);
}

TEST_F(formatter_test, BuffersUntilFlushThenWritesOnce) {
  std::FILE *out = std::tmpfile();
  ASSERT_NE(out, nullptr);
  message_printer p;
  p.sink.stream = out;
  p.printf_into("abc %d", 1);
  EXPECT_EQ(std::ftell(out), 0);
  p.newline_and_flush();
  EXPECT_EQ(std::string(p.formatted_text()), "");
  char buffer[32] = {};
  std::rewind(out);
  ASSERT_NE(std::fgets(buffer, sizeof buffer, out), nullptr);
  EXPECT_STREQ(buffer, "abc 1\n");
  std::fclose(out);
}

// An internal error after earlier errors would say "confused by earlier
// errors" instead; these start from a reporter with no counts.
class formatter_death_test : public formatter_test {
protected:
  void SetUp() override {
    reset_reporter_for_test();
    formatter_test::SetUp();
  }
};

TEST_F(formatter_death_test, MalformedFormatsAreInternalErrors) {
  const ::testing::ExitedWithCode ice(4);
  EXPECT_EXIT(format_with(pp, "%y", 1), ice, "internal compiler error: in ");
  // Mixed and out-of-range positions, doubled or unknown modifiers, a
  // precision, a lone trailing "%".
  for (const char *format : {"%1$s %s", "%2$s", "%31$s", "%qqs", "%wld", "%.3d", "trailing %"})
    EXPECT_EXIT(format_with(pp, format, "a", "b"), ice, "internal compiler error") << format;
}

} // namespace
