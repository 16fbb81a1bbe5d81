// The C++ hook's rewriting of decoded command lines: which libraries are
// appended and in which order, which inputs are wrapped in "-x c++...",
// and which options are dropped.
#include <gtest/gtest.h>

#include <cstdlib>
#include <initializer_list>
#include <string>
#include <vector>

#include "driver/lang-hook.h"
#include "options/option-table.h"
#include "options/opts-common.h"

namespace {

// One command-line element: an option with its argument, or an input.
struct item {
  option_index index;
  const char *arg;
  std::int64_t value = 1;
};

item in(const char *name) { return {OPTION_INPUT_FILE, name}; }

// Option text and argument run together ("-lm", "-xc++"), or the input.
std::string render(const decoded_option &d) {
  if (d.opt_index == OPTION_INPUT_FILE || d.opt_index == OPTION_PROGRAM_NAME)
    return d.arg;
  return std::string(option_table[d.opt_index].text) + (d.arg ? d.arg : "");
}

struct hook_result {
  std::vector<std::string> words;
  int added;
};

hook_result run_hook(std::initializer_list<item> items) {
  unsigned count = static_cast<unsigned>(items.size()) + 1;
  auto *decoded = static_cast<decoded_option *>(std::calloc(count, sizeof(decoded_option)));
  decoded[0].opt_index = OPTION_PROGRAM_NAME;
  decoded[0].arg = decoded[0].orig_text = decoded[0].canonical[0] = "vrk++";
  decoded[0].canonical_count = 1;
  unsigned i = 1;
  for (const item &it : items) {
    if (it.index == OPTION_INPUT_FILE)
      make_input_file_option(it.arg, &decoded[i++]);
    else
      generate_option(it.index, it.arg, it.value, OPTF_DRIVER, &decoded[i++]);
  }
  decoded_option *original = decoded;
  int added = 0;
  lang_specific_driver(&decoded, &count, &added);
  hook_result r{{}, added};
  EXPECT_EQ(render(decoded[0]), "vrk++");
  for (unsigned j = 1; j < count; j++)
    r.words.push_back(render(decoded[j]));
  if (decoded != original)
    std::free(decoded);
  std::free(original);
  return r;
}

using words = std::vector<std::string>;

TEST(CxxHook, CSourceIsCompiledAsCxxAndLinkedWithTheRuntime) {
  hook_result r = run_hook({in("a.c")});
  EXPECT_EQ(r.words, (words{"-xc++", "a.c", "-xnone", "-lstdc++", "-lm", "-shared-libvrk"}));
  EXPECT_EQ(r.added, 2);
  EXPECT_EQ(run_hook({in("h.h"), in("p.i")}).words,
            (words{"-xc++-header", "h.h", "-xnone", "-xc++-cpp-output", "p.i", "-xnone",
                   "-lstdc++", "-lm", "-shared-libvrk"}));
  // A header alone is wrapped but needs no library.
  EXPECT_EQ(run_hook({in("h.h")}).words, (words{"-xc++-header", "h.h", "-xnone", "-shared-libvrk"}));
}

TEST(CxxHook, NoLibrariesWhenNotLinking) {
  for (option_index stop : {OPT_c, OPT_S, OPT_E, OPT_r, OPT_M, OPT_MM, OPT_fsyntax_only,
                            OPT_nostdlib, OPT_nodefaultlibs}) {
    hook_result r = run_hook({{stop, nullptr}, in("a.cc")});
    EXPECT_EQ(r.words.back(), "-shared-libvrk") << option_table[stop].text;
    EXPECT_EQ(r.words.size(), 3u) << option_table[stop].text;
    EXPECT_EQ(r.added, 0);
  }
  // -nostdlib++ is also dropped.
  EXPECT_EQ(run_hook({{OPT_nostdlib__, nullptr}, in("a.o")}).words,
            (words{"a.o", "-shared-libvrk"}));
}

TEST(CxxHook, HeadersAloneNeedNoLibrary) {
  EXPECT_EQ(run_hook({in("x.hpp")}).words, (words{"x.hpp", "-shared-libvrk"}));
  EXPECT_EQ(run_hook({in("x.hh"), in("y.tcc"), in("z.H")}).words,
            (words{"x.hh", "y.tcc", "z.H", "-shared-libvrk"}));
  // A two-character name is no header; a one-character name is ignored.
  EXPECT_EQ(run_hook({in(".h")}).words, (words{".h", "-lstdc++", "-lm", "-shared-libvrk"}));
  EXPECT_EQ(run_hook({in("x")}).words, (words{"x", "-shared-libvrk"}));
}

TEST(CxxHook, UserMathAndCLibrariesMoveBehindTheRuntime) {
  EXPECT_EQ(run_hook({in("main.o"), {OPT_l, "m"}}).words,
            (words{"main.o", "-lstdc++", "-lm", "-shared-libvrk"}));
  EXPECT_EQ(run_hook({{OPT_l, "c"}, {OPT_l, "m"}, in("main.o"), {OPT_l, "m"}}).words,
            (words{"main.o", "-lm", "-lstdc++", "-lm", "-lc", "-shared-libvrk"}));
  // Not linking the runtime: the user's libraries stay where they were.
  EXPECT_EQ(run_hook({{OPT_c, nullptr}, {OPT_l, "m"}, in("a.cc")}).words,
            (words{"-c", "-lm", "a.cc", "-shared-libvrk"}));
  hook_result profiled = run_hook({{OPT_pg, nullptr}, in("main.o")});
  EXPECT_EQ(profiled.words, (words{"-pg", "main.o", "-lstdc++", "-lm_p", "-shared-libvrk"}));
}

TEST(CxxHook, StaticRuntimeIsBracketed) {
  EXPECT_EQ(run_hook({{OPT_static_libstdc__, nullptr}, in("f.o")}).words,
            (words{"f.o", "-Wl,-Bstatic", "-lstdc++", "-Wl,-Bdynamic", "-lm", "-shared-libvrk"}));
  EXPECT_EQ(run_hook({{OPT_static_libstdc__, nullptr}, {OPT_static, nullptr}, in("f.o")}).words,
            (words{"-static", "f.o", "-lstdc++", "-lm"}));
  EXPECT_EQ(run_hook({{OPT_static_libvrk, nullptr}, in("f.o")}).words,
            (words{"-static-libvrk", "f.o", "-lstdc++", "-lm"}));
}

TEST(CxxHook, LanguageOptionSkipsTheNextFile) {
  // f1 is neither wrapped nor looked at for the header test; f2 is.
  EXPECT_EQ(run_hook({{OPT_x, "c"}, in("f1.c"), in("f2.c")}).words,
            (words{"-xc", "f1.c", "-xc++", "f2.c", "-xnone", "-lstdc++", "-lm", "-shared-libvrk"}));
  EXPECT_EQ(run_hook({{OPT_x, "c++"}, in("t.hpp")}).words,
            (words{"-xc++", "t.hpp", "-lstdc++", "-lm", "-shared-libvrk"}));
}

TEST(CxxHook, LinkerOptionsAndContracts) {
  EXPECT_EQ(run_hook({{OPT_Wl_, "-z"}, in("x.hpp")}).words,
            (words{"-Wl,-z", "x.hpp", "-lstdc++", "-lm", "-shared-libvrk"}));
  hook_result r = run_hook({{OPT_fcontracts, nullptr}, in("f.o")});
  EXPECT_EQ(r.words,
            (words{"-fcontracts", "f.o", "-lstdc++exp", "-lstdc++", "-lm", "-shared-libvrk"}));
  EXPECT_EQ(r.added, 3);
}

TEST(CxxHook, EmptyCommandLine) {
  hook_result r = run_hook({});
  EXPECT_EQ(r.words, (words{"-shared-libvrk"}));
  EXPECT_EQ(r.added, 0);
}

} // namespace
