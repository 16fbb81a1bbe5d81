// Option decoding of arbitrary argument vectors (one word per line of the
// input) with the driver's class mask, then reporting and dispatch as the
// command line gets them: decoding errors, enumerated and integer
// arguments, the common and target handlers (sanitizer and debug-format
// arguments among them).  The driver's own handler only accepts, since it
// acts on the run (queries that print and exit, files to read).
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "diagnostics/diagnostic-reporter.h"
#include "fuzz/fuzz-support.h"
#include "options/option-table.h"
#include "options/opts-common.h"
#include "options/opts.h"

namespace {

bool accept(option_values *, option_values *, const decoded_option *, unsigned, int, location_t,
            const option_handler_set *, diagnostic_reporter *) {
  return true;
}

option_handler_set handlers() {
  option_handler_set h{};
  h.unknown_option_callback = [](const decoded_option *, void *) { return true; };
  h.wrong_lang_callback = [](const decoded_option *, unsigned, void *) {};
  h.target_option_override_hook = aarch64_handle_option;
  h.num_handlers = 3;
  h.handlers[0] = {accept, OPTF_DRIVER};
  h.handlers[1] = {common_handle_option, OPTF_COMMON};
  h.handlers[2] = {target_handle_option, OPTF_TARGET};
  return h;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  fuzz_initialize();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  std::string text = fuzz_text(data, size);
  std::vector<std::string> words;
  std::size_t start = 0;
  for (;;) {
    std::size_t end = text.find('\n', start);
    words.push_back(text.substr(start, end == std::string::npos ? end : end - start));
    if (end == std::string::npos)
      break;
    start = end + 1;
  }
  // decode_command_line may replace a word of the vector ("--param").
  std::vector<const char *> argv{"vrk++"};
  for (const std::string &w : words)
    argv.push_back(w.c_str());
  argv.push_back(nullptr);

  static const option_handler_set h = handlers();
  option_values values, set;
  init_options_struct(&values, &set);
  decoded_option *decoded = nullptr;
  unsigned count = 0;
  fuzz_run([&] {
    decode_command_line(static_cast<unsigned>(argv.size() - 1), argv.data(), OPTF_DRIVER,
                        &decoded, &count);
    for (unsigned i = 1; i < count; i++)
      if (decoded[i].opt_index != OPTION_INPUT_FILE)
        read_cmdline_option(&values, &set, &decoded[i], UNKNOWN_LOCATION, OPTF_DRIVER, &h,
                            &global_reporter);
  });
  std::free(decoded);
  std::memset(global_reporter.kind_counts, 0, sizeof global_reporter.kind_counts);
  return 0;
}
