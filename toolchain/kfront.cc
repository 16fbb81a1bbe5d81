// kfront and kfrontxx of the host profile: the compiler proper, bridged to
// the machine's clang.  clang compiles for the target with -S (assembler
// text for the separate assembler) or preprocesses with -E; the input
// language comes from the program's personality and the specs' words.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "toolchain/bridge.h"
#include "toolchain/host-tools.h"

#ifndef VRK_KFRONT_CXX
#error "VRK_KFRONT_CXX must be 0 (kfront, C) or 1 (kfrontxx, C++)"
#endif

namespace {

constexpr bool cxx = VRK_KFRONT_CXX;
constexpr const char *program = cxx ? "kfrontxx" : "kfront";

const char *input_language(unsigned flags) {
  if (flags & WORD_ASM_WITH_CPP)
    return "assembler-with-cpp";
  if (flags & WORD_PREPROCESSED)
    return cxx ? "c++-cpp-output" : "cpp-output";
  return cxx ? "c++" : "c";
}

// The target a dependency file names when the specs give none: the object
// that the compile's base name stands for ("dir/x.c" gives "dir/x.o").
const char *default_dependency_target(const translation &t) {
  const char *base = captured_operand(t, WORD_DUMPBASE);
  const char *ext = captured_operand(t, WORD_DUMPBASE_EXT);
  if (!base)
    return nullptr;
  std::size_t length = std::strlen(base);
  if (ext && std::strlen(ext) <= length && std::strcmp(base + length - std::strlen(ext), ext) == 0)
    length -= std::strlen(ext);
  char *target = static_cast<char *>(std::malloc(length + 3));
  if (!target)
    return nullptr;
  std::memcpy(target, base, length);
  std::memcpy(target + length, ".o", 3);
  return target;
}

int answer_help(const translation &t) {
  word_list command = make_word_list(t.words.count + 2);
  push_word(command, host_tools::clang);
  push_word(command, host_tools::clang_target_option);
  for (int i = 0; i < t.words.count; i++)
    if (std::strncmp(t.words.items[i], "--", 2) == 0 &&
        (std::strcmp(t.words.items[i], "--help") == 0 || std::strcmp(t.words.items[i], "--version") == 0))
      push_word(command, t.words.items[i]);
  std::printf("%s: the compiler proper of the host toolchain profile, running %s\n", program,
              host_tools::clang);
  return run_host_tool(program, command, false);
}

} // namespace

int main(int argc, char **argv) {
  translation t = translate_words(kfront_table, host_variant::any, argc, argv, program);
  if (t.errors)
    return 1;
  if (t.flags & WORD_HELP)
    return answer_help(t);

  bool preprocess_only = t.flags & WORD_PREPROCESS_ONLY;
  word_list command = make_word_list(t.words.count + 11);
  push_word(command, host_tools::clang);
  push_word(command, host_tools::clang_target_option);
  // Assembler text for the binutils assembler: no directives that only
  // clang's own assembler knows.
  push_word(command, "-fno-integrated-as");
  if (!(t.flags & WORD_SYSROOT))
    push_word(command, "-nostdlibinc");
  if (!preprocess_only && !(t.flags & WORD_SYNTAX_ONLY))
    push_word(command, "-S");
  push_word(command, "-x");
  push_word(command, input_language(t.flags));
  if ((t.flags & WORD_DEBUG) && !(t.flags & WORD_DWARF_VERSION) && !preprocess_only)
    push_word(command, host_tools::default_dwarf);
  if ((t.flags & WORD_DEPENDENCIES) && !(t.flags & WORD_DEPENDENCY_TARGET)) {
    if (const char *target = default_dependency_target(t)) {
      push_word(command, "-MT");
      push_word(command, target);
    }
  }
  push_words(command, t.words);
  return run_host_tool(program, command, t.flags & WORD_VERBOSE);
}
