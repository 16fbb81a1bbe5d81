// Spec functions over the run's own state: sanitizer settings, the output
// files of the inputs, the dump-name options of the current input, and the
// libraries passed through to the link-time plugin.
#include <algorithm>
#include <cstring>
#include <string>

#include "compilation/compilation.h"
#include "diagnostics/diagnostic.h"
#include "options/sanitizer-args.h"
#include "spec/interpreter.h"
#include "spec/spec-functions.h"
#include "support/text.h"

namespace {

struct sanitizer_test {
  const char *kind;
  unsigned mask;
};

// Bits of the sanitize word of -fsanitize= (options/sanitizer-args).
constexpr sanitizer_test sanitizer_bits[] = {
    {"address", SANITIZE_USER_ADDRESS},
    {"hwaddress", 0x20000000u},
    {"kernel-address", SANITIZE_KERNEL_ADDRESS},
    {"kernel-hwaddress", 0x40000000u},
    {"thread", 0x8u},
};
constexpr unsigned undefined_sanitizer_bits = SANITIZE_UNDEFINED_ALL;
// Leak checking is only a separate tool without address or thread checks.
constexpr unsigned leak_test_mask = 0x19u;
constexpr unsigned leak_bit = 0x10u;

void append_quoted(std::string &out, const char *text, std::size_t length) {
  if (length == 0) {
    out += "%\"";
    return;
  }
  for (std::size_t i = 0; i < length; i++) {
    char c = text[i];
    if (c == ' ' || c == '\t' || c == '\n' || c == '|' || c == '%' || c == '\\')
      out += '\\';
    out += c;
  }
}

} // namespace

char *quote_spec_argument(const char *text) {
  std::string out;
  append_quoted(out, text, std::strlen(text));
  return xstrdup(out.c_str());
}

const char *sanitize_spec_function(spec_interpreter &in, int argc, const char **argv) {
  if (argc != 1)
    return nullptr;
  unsigned sanitize = static_cast<unsigned>(in.comp.options.x_flag_sanitize);
  unsigned trap = static_cast<unsigned>(in.comp.options.x_flag_sanitize_trap);
  const char *kind = argv[0];
  for (const sanitizer_test &t : sanitizer_bits)
    if (std::strcmp(kind, t.kind) == 0)
      return (sanitize & t.mask) ? "" : nullptr;
  if (std::strcmp(kind, "undefined") == 0)
    return (sanitize & ~trap & undefined_sanitizer_bits) ? "" : nullptr;
  if (std::strcmp(kind, "leak") == 0)
    return (sanitize & leak_test_mask) == leak_bit ? "" : nullptr;
  return nullptr;
}

const char *replace_outfile_spec_function(spec_interpreter &in, int argc, const char **argv) {
  vrk_assert(argc == 2);
  for (const char *&slot : in.comp.output_files)
    if (slot && std::strcmp(slot, argv[0]) == 0)
      slot = xstrdup(argv[1]);
  return nullptr;
}

const char *remove_outfile_spec_function(spec_interpreter &in, int argc, const char **argv) {
  vrk_assert(argc == 1);
  for (const char *&slot : in.comp.output_files)
    if (slot && std::strcmp(slot, argv[0]) == 0)
      slot = nullptr;
  return nullptr;
}

const char *pass_through_libs_spec_function(spec_interpreter &in, int argc, const char **argv) {
  std::string out = " ";
  for (int i = 0; i < argc; i++) {
    const char *arg = argv[i];
    if (std::strncmp(arg, "-l", 2) == 0) {
      const char *name = arg + 2;
      if (!*name) {
        // "-l" "z": the library name is the next word.
        if (++i >= argc)
          break;
        name = argv[i];
      }
      out += "-plugin-opt=-pass-through=-l";
      out += name;
      out += ' ';
    } else {
      std::size_t length = std::strlen(arg);
      if (length >= 2 && std::strcmp(arg + length - 2, ".a") == 0) {
        out += "-plugin-opt=-pass-through=";
        out += arg;
        out += ' ';
      }
    }
  }
  return xstrdup(out.c_str());
}

const char *dumps_spec_function(spec_interpreter &in, int argc, const char **argv) {
  if (argc > 1)
    fatal_error(UNKNOWN_LOCATION, "too many arguments for %%:dumps");
  const compilation &comp = in.comp;
  const char *aux_dir = comp.aux_dir, *aux_base = comp.aux_base;
  const char *aux_base_ext = comp.aux_base_ext, *output_stem = comp.output_stem;
  int output_stem_length = comp.output_stem_length;
  const char *input_base = in.input.base;
  int input_base_length = in.input.base_length, input_stem_length = in.input.stem_length;
  bool second_compilation = comp.compare_debug.mode < 0;

  const char *ext = nullptr;
  if (aux_base_ext)
    ext = aux_base_ext;
  else if (aux_base && *aux_base)
    ext = "";
  else if (argc == 1)
    ext = argv[0];

  std::string out;
  if (aux_dir) {
    out += " -dumpdir ";
    append_quoted(out, aux_dir, std::strlen(aux_dir));
  }

  std::string ext_text;
  if (ext) {
    ext_text = ext;
  } else if (input_base && input_base_length > input_stem_length) {
    ext_text.assign(input_base + input_stem_length,
                    static_cast<std::size_t>(input_base_length - input_stem_length));
  }

  // The base, and the position from which its tail is compared with the
  // extension (npos: nothing to compare, so nothing is cut either).
  std::string base;
  std::size_t compare_from = std::string::npos;
  if (aux_base && *aux_base) {
    base = aux_base;
    std::size_t stem = output_stem_length > 0 ? static_cast<std::size_t>(output_stem_length) : 0;
    compare_from = stem < base.size() ? stem : base.size();
  } else if (output_stem && output_stem_length > 0) {
    // The link rule leaves a stem of length 0: it names only the link's
    // own outputs, never a compilation's.
    base.assign(output_stem,
                std::min(static_cast<std::size_t>(output_stem_length), std::strlen(output_stem)));
  } else if (input_base) {
    base.assign(input_base, static_cast<std::size_t>(input_base_length));
    compare_from = static_cast<std::size_t>(input_stem_length);
    if (compare_from > base.size())
      compare_from = base.size();
  }

  if (second_compilation || compare_from == std::string::npos ||
      base.compare(compare_from, std::string::npos, ext_text) != 0) {
    if (compare_from != std::string::npos)
      base.resize(compare_from);
    if (second_compilation)
      base += ".gk";
    base += ext_text;
  }

  out += " -dumpbase ";
  append_quoted(out, base.data(), base.size());
  if (!ext_text.empty()) {
    out += " -dumpbase-ext ";
    append_quoted(out, ext_text.data(), ext_text.size());
  }
  return xstrdup(out.c_str());
}
