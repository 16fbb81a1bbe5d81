// The message printer: formats messages in the diagnostic format language
// (printf-like, plus quoting, colours, hyperlinks, %m, positional
// arguments), keeps a line prefix, optionally wraps lines, and writes whole
// lines to its stream.
#ifndef VRK_DIAGNOSTICS_PRETTY_PRINT_H
#define VRK_DIAGNOSTICS_PRETTY_PRINT_H

#include <cstdarg>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "diagnostics/diagnostic-color.h"

// The locale's quotation marks (ASCII apostrophes until init_quote_chars).
// Process-wide like the locale they come from.
extern const char *open_quote;
extern const char *close_quote;

// Choose open_quote/close_quote for the current locale and catalogue.
// Call after setlocale and bindtextdomain.
void init_quote_chars();
// Start-up step of the driver, in two calls.  set_message_locale takes the
// locale categories of character types and messages from the environment
// and tells whether messages can be translated at all (the message locale
// is neither "C" nor "POSIX", and a "C.<charset>" one only with LANGUAGE
// set); bind_message_catalogue then binds the "vrk"
// catalogue to `locale_dir`, selects it and calls init_quote_chars.
bool set_message_locale();
void bind_message_catalogue(const char *locale_dir);

// Whether the locale's character set is UTF-8 (any letter case).
bool locale_is_utf8();

// When the prefix is written.
enum prefix_rule_kind : int {
  PREFIX_ONCE = 0,
  PREFIX_NEVER = 1,
  PREFIX_EVERY_LINE = 2,
};

inline constexpr int max_message_arguments = 30;
inline constexpr int max_message_chunks = 60;

// A message ready for formatting: the translated format, its arguments, the
// errno saved when the message was made (for %m) and data for decoders.
struct message_text {
  const char *format = nullptr;
  std::va_list *args = nullptr;
  int saved_errno = 0;
  void *extra = nullptr;
  void *location = nullptr;
};

// One piece of a message during formatting: literal text, or the directive
// of one argument (then converted in place to that argument's text).
struct message_chunk {
  std::string text;      // literal text, or the converted argument
  std::string directive; // flags, precision and conversion; empty for literals
  char conversion = 0;   // 0 for literal text
  int long_count = 0;
  bool wide = false, quote = false, plus = false, hash = false;
  int precision = -1;    // for %s: at most this many bytes; negative: all
};

struct chunk_set {
  std::vector<message_chunk> chunks;
};

struct output_sink {
  std::string formatted;        // text waiting for the next flush
  std::string *target = &formatted; // elsewhere while arguments are converted
  std::vector<std::unique_ptr<chunk_set>> pending; // newest last
  int line_length = 0;
  char digit_buffer[128] = {};
  std::FILE *stream = stderr;
  bool flush_enabled = true;
};

class message_printer;

// Handles directives the printer does not know.  Answers false to decline.
// It reads its arguments from `text->args` and may clear `*quote`.
using format_decoder_fn = bool (*)(message_printer *pp, message_text *text,
                                   const char *directive, int long_count, bool wide,
                                   bool plus, bool hash, bool *quote);

class message_printer {
public:
  explicit message_printer(int line_limit = 0);
  message_printer(const message_printer &) = delete;
  message_printer &operator=(const message_printer &) = delete;
  ~message_printer();

  output_sink sink;
  char *prefix = nullptr; // owned
  int max_line = 0;
  int indent_skip = 0;
  int line_limit = 0;
  int prefix_rule = PREFIX_ONCE;
  format_decoder_fn format_decoder = nullptr;
  bool prefix_emitted = false;
  bool needs_newline = false;
  bool show_color = false;
  int url_format = URL_FORMAT_NONE;

  // Takes ownership of `new_prefix` (may be null).
  void set_prefix(char *new_prefix);
  char *take_prefix();
  void set_line_limit(int n);

  void put_char(char c);
  void put_text(const char *text);
  void put_text(const char *text, std::size_t length);
  void put_text_range(const char *start, const char *end);
  void put_space() { put_char(' '); }
  void put_newline();
  void put_indent();
  void put_quoted(const char *text, std::size_t length);
  // Writes the prefix now when at the start of a line (per prefix_rule).
  void maybe_emit_prefix();

  void begin_url(const char *url);
  void end_url();

  void format(message_text *text);
  void output_formatted();
  void format_verbatim(message_text *text);
  void printf_into(const char *fmt, ...);
  void verbatim_into(const char *fmt, ...);

  void flush();
  void newline_and_flush();
  // The formatted text so far (kept in the sink).
  const char *formatted_text() const { return sink.formatted.c_str(); }
  void clear_output() { sink.formatted.clear(); sink.line_length = 0; }
  // Give up any conversion in progress (an internal error raised while
  // formatting) so that the next message reaches the formatted text with
  // the normal line settings.
  void abandon_formatting();

private:
  void recompute_max_line();
  int room_left() const { return max_line - sink.line_length; }
  bool wrapping() const { return line_limit > 0; }
  void append_raw(const char *start, std::size_t length);
  void write_to_stream();
  void convert_argument(message_text *text, message_chunk &chunk);
  void put_number(const char *printf_format, ...);

  struct saved_output {
    std::string *target;
    int line_length, line_limit, prefix_rule;
  };
  int converting_depth_ = 0;
  saved_output outermost_{};
};

// Escape `length` bytes of `text` as put_quoted does, appending to `out`.
void quote_bytes(std::string &out, const char *text, std::size_t length);

#endif
