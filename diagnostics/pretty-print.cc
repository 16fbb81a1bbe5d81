// The message printer's output side: the sink, the prefix, line wrapping,
// quoting, hyperlinks and flushing, plus the locale's quotation marks.
#include "diagnostics/pretty-print.h"

#include <cerrno>
#include <cstdlib>
#include <clocale>
#include <cstring>
#include <langinfo.h>
#include <strings.h>

#include "diagnostics/diagnostic.h"
#include "diagnostics/intl.h"
#include "support/xmalloc.h"

const char *open_quote = "'";
const char *close_quote = "'";

bool locale_is_utf8() {
  const char *codeset = nl_langinfo(CODESET);
  return codeset && (strcasecmp(codeset, "utf-8") == 0 || strcasecmp(codeset, "utf8") == 0);
}

void init_quote_chars() {
  // TRANSLATORS: the opening quotation mark put around quoted names in
  // messages; the untranslated grave accent means the default marks.
  open_quote = translate("`");
  // TRANSLATORS: the closing quotation mark.
  close_quote = translate("'");
  if (std::strcmp(open_quote, "`") == 0 && std::strcmp(close_quote, "'") == 0) {
    // The catalogue has no quotation marks of its own: use the typographic
    // ones where the terminal can show them, apostrophes elsewhere.
    if (locale_is_utf8()) {
      open_quote = "\xe2\x80\x98";
      close_quote = "\xe2\x80\x99";
    } else {
      open_quote = "'";
    }
  }
}

bool message_catalogue_possible = true;

namespace {

// Whether messages in locale NAME could be translated: never in "C" and
// "POSIX", whatever LANGUAGE says; in C.UTF-8 and its kin only LANGUAGE
// can ask for a catalogue, since none is made for the C locale.
bool translatable_locale(const char *name) {
  const char *language = std::getenv("LANGUAGE");
  return name && std::strcmp(name, "C") != 0 && std::strcmp(name, "POSIX") != 0 &&
         (std::strncmp(name, "C.", 2) != 0 || (language && *language));
}

// The message locale the environment names, as setlocale would take it.
const char *message_locale_named() {
  for (const char *var : {"LC_ALL", "LC_MESSAGES", "LANG"})
    if (const char *value = std::getenv(var); value && *value)
      return value;
  return "C";
}

}  // namespace

bool set_message_locale() {
  std::setlocale(LC_CTYPE, "");
  // The message category is set only when it could translate: otherwise
  // it stays "C", which is what setting it would give, and the locale
  // files are not read for it.
  message_catalogue_possible = translatable_locale(message_locale_named()) &&
                               translatable_locale(std::setlocale(LC_MESSAGES, ""));
  return message_catalogue_possible;
}

void bind_message_catalogue(const char *locale_dir) {
  bindtextdomain("vrk", locale_dir);
  textdomain("vrk");
  init_quote_chars();
}

message_printer::message_printer(int limit) : line_limit(limit) { recompute_max_line(); }

message_printer::~message_printer() { std::free(prefix); }

void message_printer::recompute_max_line() {
  max_line = line_limit;
  if (wrapping() && prefix_rule == PREFIX_EVERY_LINE && prefix &&
      line_limit - static_cast<int>(std::strlen(prefix)) < 32)
    max_line = line_limit + 32;
}

void message_printer::set_prefix(char *new_prefix) {
  std::free(prefix);
  prefix = new_prefix;
  recompute_max_line();
  indent_skip = 0;
  prefix_emitted = false;
}

char *message_printer::take_prefix() {
  char *result = prefix;
  prefix = nullptr;
  return result;
}

void message_printer::set_line_limit(int n) {
  line_limit = n;
  recompute_max_line();
}

void message_printer::append_raw(const char *start, std::size_t length) {
  sink.target->append(start, length);
  const void *last_newline = memrchr(start, '\n', length);
  if (last_newline)
    sink.line_length = static_cast<int>(start + length - static_cast<const char *>(last_newline) - 1);
  else
    sink.line_length += static_cast<int>(length);
}

void message_printer::maybe_emit_prefix() {
  // Without a prefix nothing marks the start of a line, and the line length
  // would stay 0: continuation indentation would then pile up.
  if (sink.line_length != 0 || !prefix || !*prefix)
    return;
  switch (prefix_rule) {
  case PREFIX_NEVER:
    break;
  case PREFIX_ONCE:
    if (prefix_emitted) {
      put_indent();
    } else {
      indent_skip += 3;
      append_raw(prefix, std::strlen(prefix));
      prefix_emitted = true;
    }
    break;
  case PREFIX_EVERY_LINE:
    append_raw(prefix, std::strlen(prefix));
    prefix_emitted = true;
    break;
  }
}

void message_printer::put_text_range(const char *start, const char *end) {
  if (start == end)
    return;
  if (sink.line_length == 0) {
    maybe_emit_prefix();
    if (wrapping())
      while (start != end && (*start == ' ' || *start == '\t'))
        ++start;
  }
  append_raw(start, end - start);
}

void message_printer::put_text(const char *text, std::size_t length) {
  const char *p = text, *end = text + length;
  if (!wrapping()) {
    put_text_range(p, end);
    return;
  }
  while (p != end) {
    const char *word = p;
    while (p != end && *p != ' ' && *p != '\n')
      ++p;
    if (p != word) {
      if (sink.line_length > 0 && p - word > room_left())
        put_newline();
      put_text_range(word, p);
    }
    if (p != end) {
      if (*p == ' ')
        put_space();
      else
        put_newline();
      ++p;
    }
  }
}

void message_printer::put_text(const char *text) { put_text(text, std::strlen(text)); }

void message_printer::put_char(char c) {
  if (wrapping() && room_left() <= 0 && (static_cast<unsigned char>(c) & 0xc0) != 0x80) {
    put_newline();
    if (c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r')
      return;
  }
  put_text_range(&c, &c + 1);
}

void message_printer::put_newline() {
  append_raw("\n", 1);
  sink.line_length = 0;
  needs_newline = false;
}

void message_printer::put_indent() {
  for (int i = 0; i < indent_skip; ++i)
    append_raw(" ", 1);
}

// The length of the valid UTF-8 sequence at `p` (at most `left` bytes), or 0.
// Up to six-byte forms are accepted; overlong forms and surrogates are not.
static std::size_t utf8_sequence_length(const unsigned char *p, std::size_t left) {
  unsigned char lead = *p;
  std::size_t n = 0;
  while (n < 8 && (lead & (0x80 >> n)))
    ++n;
  if (n < 2 || n > 6 || n > left)
    return 0;
  unsigned long value = lead & (0x7f >> n);
  for (std::size_t i = 1; i < n; ++i) {
    if ((p[i] & 0xc0) != 0x80)
      return 0;
    value = (value << 6) | (p[i] & 0x3f);
  }
  static const unsigned long smallest[7] = {0, 0, 0x80, 0x800, 0x10000, 0x200000, 0x4000000};
  if (value < smallest[n] || (value >= 0xd800 && value <= 0xdfff))
    return 0;
  return n;
}

void quote_bytes(std::string &out, const char *text, std::size_t length) {
  const unsigned char *p = reinterpret_cast<const unsigned char *>(text);
  const unsigned char *end = p + length;
  while (p < end) {
    if (*p >= 0x20 && *p < 0x7f) {
      out.push_back(static_cast<char>(*p++));
      continue;
    }
    if (std::size_t n = utf8_sequence_length(p, end - p)) {
      out.append(reinterpret_cast<const char *>(p), n);
      p += n;
      continue;
    }
    static const char hex[] = "0123456789abcdef";
    out.push_back('\\');
    out.push_back('x');
    out.push_back(hex[*p >> 4]);
    out.push_back(hex[*p & 0xf]);
    ++p;
  }
}

void message_printer::put_quoted(const char *text, std::size_t length) {
  std::string escaped;
  quote_bytes(escaped, text, length);
  put_text(escaped.data(), escaped.size());
}

void message_printer::begin_url(const char *url) {
  switch (url_format) {
  case URL_FORMAT_NONE:
    return;
  case URL_FORMAT_ST:
    put_text("\33]8;;");
    put_text(url);
    put_text("\33\\");
    return;
  case URL_FORMAT_BEL:
    put_text("\33]8;;");
    put_text(url);
    put_text("\a");
    return;
  default:
    vrk_unreachable();
  }
}

void message_printer::end_url() {
  switch (url_format) {
  case URL_FORMAT_NONE:
    return;
  case URL_FORMAT_ST:
    put_text("\33]8;;\33\\");
    return;
  case URL_FORMAT_BEL:
    put_text("\33]8;;\a");
    return;
  default:
    vrk_unreachable();
  }
}

void message_printer::write_to_stream() {
  // One write per flush: the whole line (or lines) at once.
  if (!sink.formatted.empty())
    std::fwrite(sink.formatted.data(), 1, sink.formatted.size(), sink.stream);
  sink.formatted.clear();
  std::fflush(sink.stream);
}

void message_printer::flush() {
  indent_skip = 0;
  prefix_emitted = false;
  if (sink.flush_enabled)
    write_to_stream();
}

void message_printer::newline_and_flush() {
  put_newline();
  flush();
  needs_newline = false;
}

void message_printer::format_verbatim(message_text *text) {
  int saved_limit = line_limit, saved_rule = prefix_rule;
  set_line_limit(0);
  prefix_rule = PREFIX_NEVER;
  format(text);
  output_formatted();
  prefix_rule = saved_rule;
  set_line_limit(saved_limit);
}

void message_printer::printf_into(const char *fmt, ...) {
  int saved_errno = errno;
  std::va_list ap;
  va_start(ap, fmt);
  message_text text{fmt, &ap, saved_errno};
  format(&text);
  output_formatted();
  va_end(ap);
}

void message_printer::verbatim_into(const char *fmt, ...) {
  int saved_errno = errno;
  std::va_list ap;
  va_start(ap, fmt);
  message_text text{fmt, &ap, saved_errno};
  format_verbatim(&text);
  va_end(ap);
}
