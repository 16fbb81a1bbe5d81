// The message printer's format language: splitting a format into chunks,
// converting the arguments in argument order (so that translations may
// reorder them with "%N$"), and writing the chunks out.
#include "diagnostics/pretty-print.h"

#include <cinttypes>
#include <cstdint>
#include <cstring>

#include "diagnostics/diagnostic.h"
#include "support/error-text.h"

namespace {

// What one argument slot of a message is used for.
struct argument_use {
  int chunk = -1;            // the chunk this argument is converted into
  bool is_precision = false; // the int of a ".*" precision for that chunk
};

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Reads "N$" at `p`; answers N (from 1) or 0 when there is no position.
int read_position(const char *&p) {
  if (!is_digit(*p))
    return 0;
  long n = 0;
  while (is_digit(*p)) {
    n = n * 10 + (*p++ - '0');
    vrk_assert(n <= max_message_arguments);
  }
  vrk_assert(*p == '$' && n >= 1);
  ++p;
  return static_cast<int>(n);
}

// The text of a directive that takes no argument, or null.
bool expand_plain_directive(std::string &out, char c, const message_text *text,
                            bool show_color) {
  switch (c) {
  case '%':
    out += '%';
    return true;
  case '<':
    out += open_quote;
    out += color_start(show_color, "quote");
    return true;
  case '>':
    out += color_end(show_color);
    out += close_quote;
    return true;
  case '\'':
    out += close_quote;
    return true;
  case 'R':
    out += color_end(show_color);
    return true;
  case 'm':
    out += error_text(text->saved_errno);
    return true;
  default:
    return false;
  }
}

// Phase 1 of formatting: literal text and argument-less directives go into
// the current literal chunk; each argument directive gets a chunk of its
// own, and the argument slot it reads is recorded.
struct format_splitter {
  std::vector<message_chunk> &chunks;
  const message_text *text;
  bool show_color;
  int url_format;
  argument_use uses[max_message_arguments];
  int next_sequential = 0;
  bool any_positional = false, any_sequential = false;

  void split() {
    chunks.emplace_back();
    for (const char *p = text->format; *p;) {
      if (*p != '%') {
        const char *start = p;
        while (*p && *p != '%')
          ++p;
        chunks.back().text.append(start, p - start);
        continue;
      }
      ++p;
      if (expand_plain_directive(chunks.back().text, *p, text, show_color)) {
        ++p;
      } else if (*p == '}') {
        ++p;
        end_hyperlink(chunks.back().text);
      } else {
        argument_directive(p);
      }
    }
  }

  void end_hyperlink(std::string &out) const {
    switch (url_format) {
    case URL_FORMAT_NONE:
      break;
    case URL_FORMAT_ST:
      out += "\33]8;;\33\\";
      break;
    case URL_FORMAT_BEL:
      out += "\33]8;;\a";
      break;
    default:
      vrk_unreachable();
    }
  }

  // The flags "q", "w", "l", "+" and "#" at P, each at most once ("l"
  // twice).
  static void read_flags(const char *&p, message_chunk &chunk) {
    for (;; ++p) {
      if (*p == 'q') {
        vrk_assert(!chunk.quote);
        chunk.quote = true;
      } else if (*p == 'w') {
        vrk_assert(!chunk.wide && chunk.long_count == 0);
        chunk.wide = true;
      } else if (*p == 'l') {
        vrk_assert(!chunk.wide && chunk.long_count < 2);
        ++chunk.long_count;
      } else if (*p == '+') {
        vrk_assert(!chunk.plus);
        chunk.plus = true;
      } else if (*p == '#') {
        vrk_assert(!chunk.hash);
        chunk.hash = true;
      } else {
        return;
      }
    }
  }

  // A precision ".N" or ".*" (".*N$") at P, only before "s"; returns the
  // argument slot of a "*" precision, or -1.  *POSITION may be set by it.
  int read_precision(const char *&p, message_chunk &chunk, int *position) {
    if (*p != '.')
      return -1;
    ++p;
    int precision_slot = -1;
    if (*p == '*') {
      ++p;
      int precision_position = read_position(p);
      if (precision_position) {
        // "%N+1$.*N$s": the text follows its precision.
        vrk_assert(*position == 0 || *position == precision_position + 1);
        vrk_assert(precision_position < max_message_arguments);
        *position = precision_position + 1;
        precision_slot = precision_position - 1;
      } else {
        vrk_assert(*position == 0);
        precision_slot = next_sequential++;
        any_sequential = true;
      }
    } else {
      vrk_assert(is_digit(*p));
      int n = 0;
      while (is_digit(*p)) {
        n = n * 10 + (*p++ - '0');
        vrk_assert(n < 1000000);
      }
      chunk.precision = n;
    }
    vrk_assert(*p == 's');
    return precision_slot;
  }

  // A directive that converts an argument, at P just after the "%".
  void argument_directive(const char *&p) {
    message_chunk chunk;
    int position = read_position(p);
    const char *flags_start = p;
    read_flags(p, chunk);
    chunk.directive.assign(flags_start, p - flags_start);
    int precision_slot = read_precision(p, chunk, &position);
    vrk_assert(*p != '\0' && !std::strchr("%<>'Rm}", *p));
    chunk.conversion = *p++;
    chunk.directive += chunk.conversion;

    int slot;
    if (position) {
      any_positional = true;
      slot = position - 1;
    } else {
      any_sequential = true;
      slot = next_sequential++;
    }
    // Either every directive of a message has a position or none has.
    vrk_assert(!(any_positional && any_sequential));
    vrk_assert(slot < max_message_arguments && uses[slot].chunk < 0);
    int chunk_index = static_cast<int>(chunks.size());
    uses[slot].chunk = chunk_index;
    if (precision_slot >= 0) {
      vrk_assert(uses[precision_slot].chunk < 0);
      uses[precision_slot].chunk = chunk_index;
      uses[precision_slot].is_precision = true;
    }
    chunks.push_back(std::move(chunk));
    chunks.emplace_back();
    vrk_assert(static_cast<int>(chunks.size()) <= max_message_chunks);
  }
};

} // namespace

void message_printer::format(message_text *text) {
  sink.pending.push_back(std::make_unique<chunk_set>());
  chunk_set &set = *sink.pending.back();
  std::vector<message_chunk> &chunks = set.chunks;
  format_splitter splitter{chunks, text, show_color, url_format};
  splitter.split();
  const argument_use *uses = splitter.uses;

  // Phase 2: convert the arguments in argument order, out of the way of the
  // formatted text, without wrapping or prefix.
  saved_output saved{sink.target, sink.line_length, line_limit, prefix_rule};
  if (converting_depth_++ == 0)
    outermost_ = saved;
  set_line_limit(0);
  prefix_rule = PREFIX_NEVER;

  int slot_count = 0;
  for (int i = 0; i < max_message_arguments; ++i)
    if (uses[i].chunk >= 0)
      slot_count = i + 1;
  for (int i = 0; i < slot_count; ++i) {
    // An unused slot would leave the types of later arguments unknown.
    vrk_assert(uses[i].chunk >= 0);
    message_chunk &chunk = chunks[uses[i].chunk];
    if (uses[i].is_precision)
      chunk.precision = va_arg(*text->args, int);
    else
      convert_argument(text, chunk);
  }

  if (converting_depth_ > 0)
    --converting_depth_;
  sink.target = saved.target;
  sink.line_length = saved.line_length;
  prefix_rule = saved.prefix_rule;
  set_line_limit(saved.line_limit);
  indent_skip = 0;
  prefix_emitted = false;

}

void message_printer::abandon_formatting() {
  if (converting_depth_ == 0)
    return;
  converting_depth_ = 0;
  sink.target = outermost_.target;
  sink.line_length = outermost_.line_length;
  prefix_rule = outermost_.prefix_rule;
  set_line_limit(outermost_.line_limit);
}

void message_printer::put_number(const char *printf_format, ...) {
  std::va_list ap;
  va_start(ap, printf_format);
  int n = std::vsnprintf(sink.digit_buffer, sizeof sink.digit_buffer, printf_format, ap);
  va_end(ap);
  if (n > 0)
    put_text(sink.digit_buffer);
}

// Converts one argument directive into `chunk.text`.
void message_printer::convert_argument(message_text *text, message_chunk &chunk) {
  std::string converted;
  sink.target = &converted;
  sink.line_length = 0;
  std::va_list &ap = *text->args;
  bool quote = chunk.quote;

  // Integer conversions share the size rules: int, long, long long, 64-bit.
  auto put_signed = [&] {
    if (chunk.wide)
      put_number("%" PRId64, va_arg(ap, int64_t));
    else if (chunk.long_count == 2)
      put_number("%lld", va_arg(ap, long long));
    else if (chunk.long_count == 1)
      put_number("%ld", va_arg(ap, long));
    else
      put_number("%d", va_arg(ap, int));
  };
  auto put_unsigned = [&](char conversion) {
    char spec[8] = "%";
    std::size_t n = 1;
    if (chunk.wide && conversion == 'x')
      spec[n++] = '#';
    if (chunk.wide || chunk.long_count == 2) {
      spec[n++] = 'l';
      spec[n++] = 'l';
    } else if (chunk.long_count == 1) {
      spec[n++] = 'l';
    }
    spec[n++] = conversion;
    spec[n] = '\0';
    if (chunk.wide)
      put_number(spec, static_cast<unsigned long long>(va_arg(ap, uint64_t)));
    else if (chunk.long_count == 2)
      put_number(spec, va_arg(ap, unsigned long long));
    else if (chunk.long_count == 1)
      put_number(spec, va_arg(ap, unsigned long));
    else
      put_number(spec, va_arg(ap, unsigned int));
  };

  switch (chunk.conversion) {
  case 'c': {
    char c = static_cast<char>(va_arg(ap, int));
    if (quote)
      put_quoted(&c, 1);
    else
      put_char(c);
    break;
  }
  case 'd':
  case 'i':
    put_signed();
    break;
  case 'u':
  case 'o':
  case 'x':
    put_unsigned(chunk.conversion);
    break;
  case 'f':
    put_number("%f", va_arg(ap, double));
    break;
  case 'p':
    put_number("%p", va_arg(ap, void *));
    break;
  case 's': {
    const char *s = va_arg(ap, const char *);
    if (!s)
      s = "(null)";
    std::size_t length =
        chunk.precision >= 0 ? strnlen(s, static_cast<std::size_t>(chunk.precision)) : std::strlen(s);
    if (quote)
      put_quoted(s, length);
    else
      put_text(s, length);
    break;
  }
  case 'r':
    put_text(color_start(show_color, va_arg(ap, const char *)));
    break;
  case '{':
    begin_url(va_arg(ap, const char *));
    break;
  case 'Z': {
    const int *values = va_arg(ap, const int *);
    unsigned count = va_arg(ap, unsigned);
    for (unsigned i = 0; i < count; ++i) {
      if (i)
        put_text(", ");
      put_number("%i", values[i]);
    }
    break;
  }
  case '@': {
    const int *event = va_arg(ap, const int *);
    put_text(color_start(show_color, "path"));
    put_number("(%i)", *event + 1);
    put_text(color_end(show_color));
    break;
  }
  default:
    // The decoder may take over the quoting (by clearing `quote`).
    vrk_assert(format_decoder &&
               format_decoder(this, text, chunk.directive.c_str(), chunk.long_count, chunk.wide,
                              chunk.plus, chunk.hash, &quote));
    break;
  }

  chunk.text.clear();
  if (quote) {
    chunk.text += open_quote;
    chunk.text += color_start(show_color, "quote");
  }
  chunk.text += converted;
  if (quote) {
    chunk.text += color_end(show_color);
    chunk.text += close_quote;
  }
}

void message_printer::output_formatted() {
  vrk_assert(!sink.pending.empty());
  std::unique_ptr<chunk_set> set = std::move(sink.pending.back());
  sink.pending.pop_back();
  maybe_emit_prefix();
  for (const message_chunk &chunk : set->chunks)
    put_text(chunk.text.data(), chunk.text.size());
}
