// as of the host profile: the machine's 64-bit Arm assembler from binutils.
#include <cstdio>

#include "toolchain/bridge.h"
#include "toolchain/host-tools.h"

int main(int argc, char **argv) {
  translation t = translate_words(as_table, host_variant::any, argc, argv, "as");
  if (t.errors)
    return 1;
  if (t.flags & WORD_HELP)
    std::printf("as: the assembler of the host toolchain profile, running %s\n", host_tools::assembler);
  word_list command = make_word_list(t.words.count + 1);
  push_word(command, host_tools::assembler);
  push_words(command, t.words);
  return run_host_tool("as", command, t.flags & WORD_VERBOSE);
}
