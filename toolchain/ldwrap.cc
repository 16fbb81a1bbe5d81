// ldwrap of the host profile: the linker wrapper runs ld.lld, or the 64-bit
// Arm linker of binutils (the traditional one).  The choice, strongest
// first: -fuse-ld=lld or -fuse-ld=tradl on the link line, the environment
// variable VRK_HOST_LINKER ("lld" or "bfd"), the build's default.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "toolchain/bridge.h"
#include "toolchain/host-tools.h"

namespace {

constexpr const char *program = "ldwrap";

bool parse_linker_name(const char *name, host_variant &variant) {
  if (std::strcmp(name, "lld") == 0)
    variant = host_variant::lld;
  else if (std::strcmp(name, "bfd") == 0)
    variant = host_variant::bfd;
  else
    return false;
  return true;
}

bool choose_linker(int argc, char **argv, host_variant &variant) {
  if (!parse_linker_name(host_tools::default_linker, variant))
    variant = host_variant::lld;
  if (const char *name = std::getenv("VRK_HOST_LINKER"); name && *name) {
    if (!parse_linker_name(name, variant)) {
      bridge_error(program, "VRK_HOST_LINKER must be 'lld' or 'bfd', not '%s'", name);
      return false;
    }
  }
  // The link line's own choice; the table says which words choose what.
  for (int i = 1; i < argc; i++) {
    const word_rule *rule = lookup_word_rule(ldwrap_table, host_variant::any, argv[i]);
    if (rule && (rule->sets & WORD_USE_LLD))
      variant = host_variant::lld;
    else if (rule && (rule->sets & WORD_USE_BFD))
      variant = host_variant::bfd;
  }
  return true;
}

} // namespace

int main(int argc, char **argv) {
  host_variant variant;
  if (!choose_linker(argc, argv, variant))
    return 1;
  translation t = translate_words(ldwrap_table, variant, argc, argv, program);
  if (t.errors)
    return 1;
  const char *linker = variant == host_variant::lld ? host_tools::lld : host_tools::bfd;
  if (!*linker) {
    bridge_error(program, "no %s linker was found when this toolchain was built",
                 variant == host_variant::lld ? "ld.lld" : "binutils");
    return 1;
  }
  if (t.flags & WORD_HELP)
    std::printf("ldwrap: the linker wrapper of the host toolchain profile, running %s\n", linker);
  word_list command = make_word_list(t.words.count + 1);
  push_word(command, linker);
  push_words(command, t.words);
  return run_host_tool(program, command, t.flags & WORD_VERBOSE);
}
