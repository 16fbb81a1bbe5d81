// The diagnostic texts that come from outside: VRK_COLORS and VRK_URLS
// values, and arbitrary bytes quoted by the message printer ("%qs" of a
// file name, wrapped lines).  The input is the VRK_COLORS value, then
// after a first NUL the VRK_URLS value, then after a second NUL the text
// to quote.  The colour table is put back after every input.
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "diagnostics/diagnostic-color.h"
#include "diagnostics/pretty-print.h"
#include "fuzz/fuzz-support.h"

namespace {

std::vector<color_entry> default_table;

void restore_color_table() {
  for (std::size_t i = 0; i < color_table_size; i++) {
    if (color_table[i].allocated)
      std::free(const_cast<char *>(color_table[i].start));
    color_table[i] = default_table[i];
  }
}

std::string piece(const std::uint8_t *&data, std::size_t &size) {
  std::string text = fuzz_text(data, size);
  std::size_t used = text.size() < size ? text.size() + 1 : size;
  data += used;
  size -= used;
  return text;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  fuzz_initialize();
  default_table.assign(color_table, color_table + color_table_size);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  std::string colors = piece(data, size);
  std::string urls = piece(data, size);
  std::string quoted(reinterpret_cast<const char *>(data), size);

  setenv("VRK_COLORS", colors.c_str(), 1);
  setenv("VRK_URLS", urls.c_str(), 1);
  bool on = color_mode_init(DIAGNOSTICS_COLOR_ALWAYS);
  diagnostic_url_format format = url_format_init(DIAGNOSTICS_URLS_ALWAYS);

  message_printer pp(colors.size() % 3 == 0 ? 0 : 20);
  pp.sink.flush_enabled = false;
  pp.show_color = on;
  pp.url_format = format;
  for (std::size_t i = 0; i < color_table_size; i++)
    pp.put_text(color_start(on, color_table[i].name));
  pp.put_text(color_start(on, colors.c_str()));
  pp.put_text(color_end(on));
  pp.begin_url(urls.c_str());
  pp.put_quoted(quoted.data(), quoted.size());
  pp.end_url();
  pp.verbatim_into("%qs and %s", quoted.c_str(), colors.c_str());
  pp.put_text(quoted.c_str());
  pp.clear_output();

  restore_color_table();
  return 0;
}
