// ldwrap: the linker wrapper of the host profile runs ld.lld, or the 64-bit
// Arm linker of the machine's binutils.  The link-time-optimisation words
// are the wrapper's own and end here; the words of this system's own
// vocabulary (hash style, emulation) become the host linkers' spellings.
#include "toolchain/word-rules.h"

namespace {

using enum word_action;
using enum word_match;

constexpr host_variant any = host_variant::any;
constexpr host_variant lld = host_variant::lld;
constexpr host_variant bfd = host_variant::bfd;

constexpr word_rule rules[] = {
    // The wrapper's own words.
    {"-plugin", exact, 1, drop, nullptr, 0, 0, any,
     "the link-time plugin; objects of the host profile carry machine code only"},
    {"-plugin-opt=", prefix, 0, drop, nullptr, 0, 0, any, "options of the link-time plugin"},
    {"-flto", exact, 0, drop, nullptr, 0, 0, any, "no intermediate code to optimise at link time"},
    {"-flto=", prefix, 0, drop, nullptr, 0, 0, any, "no intermediate code to optimise at link time"},
    {"-fno-lto", exact, 0, drop, nullptr, 0, 0, any, "the wrapper's only behaviour"},
    {"-fuse-ld=lld", exact, 0, drop, nullptr, WORD_USE_LLD, WORD_USE_BFD, any, "chooses ld.lld"},
    {"-fuse-ld=tradl", exact, 0, drop, nullptr, WORD_USE_BFD, WORD_USE_LLD, any,
     "chooses the traditional linker, the binutils one"},
    {"-fuse-ld=", prefix, 0, reject, nullptr, 0, 0, any,
     "the host profile has ld.lld and the traditional linker only"},

    // This system's vocabulary.
    {"--hash-style=zux", exact, 0, map, "--hash-style=gnu", 0, 0, any, "the host spelling"},
    {"-maarch64fbsd", exact, 0, map, "-maarch64elf_fbsd", 0, 0, lld,
     "ld.lld's 64-bit Arm emulation with the FreeBSD ABI mark"},
    {"-maarch64fbsd", exact, 0, map, "-maarch64elf", 0, 0, bfd, "the binutils 64-bit Arm emulation"},
    {"-V", exact, 0, map, "-v", WORD_VERBOSE, 0, any,
     "the version line; -V would make ld.lld stop without linking"},
    {"--target-help", exact, 0, map, "--help", WORD_HELP, 0, lld, "ld.lld has one help text"},

    // Known to pass as they are.
    {"-v", exact, 0, pass, nullptr, WORD_VERBOSE, 0, any, "the version line"},
    {"--help", exact, 0, pass, nullptr, WORD_HELP, 0, any, "the linker's help"},
    {"--version", exact, 0, pass, nullptr, WORD_HELP, 0, any, "the linker's banner"},
    {"--eh-frame-hdr", exact, 0, pass, nullptr, 0, 0, any, "unwind table index"},
    {"-Bshareable", exact, 0, pass, nullptr, 0, 0, any, "a shared object"},
    {"-Bstatic", exact, 0, pass, nullptr, 0, 0, any, "static libraries"},
    {"-Bdynamic", exact, 0, pass, nullptr, 0, 0, any, "shared libraries"},
    {"-rpath", exact, 1, pass, nullptr, 0, 0, any, "run-time search path"},
    {"-dynamic-linker", exact, 1, pass, nullptr, 0, 0, any, "program interpreter"},
    {"-X", exact, 0, pass, nullptr, 0, 0, any, "local symbols"},
    {"-EL", exact, 0, pass, nullptr, 0, 0, any, "little-endian"},
    {"-EB", exact, 0, pass, nullptr, 0, 0, any, "big-endian"},
    {"-o", exact, 1, pass, nullptr, 0, 0, any, "the output"},
    {"--fix-cortex-a53-835769", exact, 0, pass, nullptr, 0, 0, any, "erratum work-around"},
    {"--fix-cortex-a53-843419", exact, 0, pass, nullptr, 0, 0, any, "erratum work-around"},
};

} // namespace

const word_table ldwrap_table = {"ldwrap", rules, sizeof rules / sizeof rules[0]};
