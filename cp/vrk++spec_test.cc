// The C++ hook's rewriting of decoded command lines: which libraries are
// appended and in which order, which inputs are wrapped in "-x c++...",
// and which options are dropped.  The driver tests check, end to end, the
// libraries the linker finally sees: a plain .c input, the moved -lm/-lc,
// -pg, the bracketed static library, -static, -static-libvrk, -nostdlib++
// and -fcontracts.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "driver/lang-hook.h"
#include "options/option-table.h"
#include "options/opts-common.h"

namespace {

// One command-line element: an option with its argument, or an input.
struct item {
  option_index index;
  const char *arg = nullptr;
};

item in(const char *name) { return {OPTION_INPUT_FILE, name}; }

// Option text and argument run together ("-lm", "-xc++"), or the input.
std::string render(const decoded_option &d) {
  if (d.opt_index == OPTION_INPUT_FILE || d.opt_index == OPTION_PROGRAM_NAME)
    return d.arg;
  return std::string(option_table[d.opt_index].text) + (d.arg ? d.arg : "");
}

struct hook_case {
  std::vector<item> items;
  std::vector<std::string> words;  // after the program name
  int added;                       // library options the hook generated
};

const std::vector<std::string> runtime = {"-lstdc++", "-lm", "-shared-libvrk"};

std::vector<std::string> with_runtime(std::vector<std::string> words) {
  words.insert(words.end(), runtime.begin(), runtime.end());
  return words;
}

std::vector<hook_case> cases = {
    // .h and .i inputs are compiled as C++; a header alone needs no library.
    {{in("h.h"), in("p.i")},
     with_runtime({"-xc++-header", "h.h", "-xnone", "-xc++-cpp-output", "p.i", "-xnone"}), 2},
    {{in("h.h")}, {"-xc++-header", "h.h", "-xnone", "-shared-libvrk"}, 0},
    {{in("x.hpp"), in("x.hh"), in("y.tcc"), in("z.H")},
     {"x.hpp", "x.hh", "y.tcc", "z.H", "-shared-libvrk"}, 0},
    // A two-character name is no header; a one-character name is ignored.
    {{in(".h")}, with_runtime({".h"}), 2},
    {{in("x")}, {"x", "-shared-libvrk"}, 0},
    // The first -lm moves behind the C++ library, a second one stays.
    {{{OPT_l, "m"}, in("main.o"), {OPT_l, "m"}},
     {"main.o", "-lm", "-lstdc++", "-lm", "-shared-libvrk"}, 1},
    // Not linking the runtime: the user's libraries stay where they were.
    {{{OPT_c}, {OPT_l, "m"}, in("a.cc")}, {"-c", "-lm", "a.cc", "-shared-libvrk"}, 0},
    // -x: the next file is neither wrapped nor tested for a header; a C++
    // language asks for the library.
    {{{OPT_x, "c"}, in("f1.c"), in("f2.c")},
     with_runtime({"-xc", "f1.c", "-xc++", "f2.c", "-xnone"}), 2},
    {{{OPT_x, "c++"}, in("t.hpp")}, with_runtime({"-xc++", "t.hpp"}), 2},
    {{{OPT_Wl_, "-z"}, in("x.hpp")}, with_runtime({"-Wl,-z", "x.hpp"}), 2},
    {{}, {"-shared-libvrk"}, 0},
};

TEST(CxxHook, RewrittenCommandLines) {
  // Options that mean no linking: no library either.
  for (option_index stop : {OPT_S, OPT_E, OPT_r, OPT_M, OPT_MM, OPT_fsyntax_only, OPT_nostdlib,
                            OPT_nodefaultlibs})
    cases.push_back({{{stop}, in("a.cc")}, {option_table[stop].text, "a.cc", "-shared-libvrk"}, 0});
  for (const hook_case &c : cases) {
    unsigned count = static_cast<unsigned>(c.items.size()) + 1;
    auto *decoded = static_cast<decoded_option *>(std::calloc(count, sizeof(decoded_option)));
    decoded[0].opt_index = OPTION_PROGRAM_NAME;
    decoded[0].arg = decoded[0].orig_text = decoded[0].canonical[0] = "vrk++";
    decoded[0].canonical_count = 1;
    std::string trace;
    for (unsigned i = 1; i < count; i++) {
      const item &it = c.items[i - 1];
      if (it.index == OPTION_INPUT_FILE)
        make_input_file_option(it.arg, &decoded[i]);
      else
        generate_option(it.index, it.arg, 1, OPTF_DRIVER, &decoded[i]);
      trace += render(decoded[i]) + " ";
    }
    SCOPED_TRACE(trace);
    decoded_option *original = decoded;
    int added = 0;
    lang_specific_driver(&decoded, &count, &added);
    std::vector<std::string> words;
    for (unsigned j = 1; j < count; j++)
      words.push_back(render(decoded[j]));
    EXPECT_EQ(render(decoded[0]), "vrk++");
    EXPECT_EQ(words, c.words);
    EXPECT_EQ(added, c.added);
    if (decoded != original)
      std::free(decoded);
    std::free(original);
  }
}

} // namespace
