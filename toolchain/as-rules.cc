// as: the assembler of the host profile is the 64-bit Arm assembler of the
// machine's binutils, which speaks the assembler options of the specs as
// they are.  The rows name them so that the table says what is known to
// pass; user words from -Wa and -Xassembler pass as well.
#include "toolchain/word-rules.h"

namespace {

using enum word_action;
using enum word_match;

constexpr host_variant any = host_variant::any;

constexpr word_rule rules[] = {
    {"-EL", exact, 0, pass, nullptr, 0, 0, any, "little-endian output"},
    {"-EB", exact, 0, pass, nullptr, 0, 0, any, "big-endian output"},
    {"-march=", prefix, 0, pass, nullptr, 0, 0, any, "architecture and extensions"},
    {"-mcpu=", prefix, 0, pass, nullptr, 0, 0, any, "processor"},
    {"-mabi=", prefix, 0, pass, nullptr, 0, 0, any, "data model"},
    {"--gdwarf-", prefix, 0, pass, nullptr, 0, 0, any, "DWARF version of the line table"},
    {"--gdwarf2", exact, 0, pass, nullptr, 0, 0, any, "DWARF version of the line table"},
    {"--compress-debug-sections=", prefix, 0, pass, nullptr, 0, 0, any, "compression"},
    {"--debug-prefix-map", exact, 1, pass, nullptr, 0, 0, any, "file name rewriting"},
    {"-I", exact, 1, pass, nullptr, 0, 0, any, "include directory"},
    {"-W", exact, 0, pass, nullptr, 0, 0, any, "no warnings"},
    {"-v", exact, 0, pass, nullptr, WORD_VERBOSE, 0, any, "the assembler's banner, and the host command"},
    {"-o", exact, 1, pass, nullptr, 0, 0, any, "the object file"},
    {"--help", exact, 0, pass, nullptr, WORD_HELP, 0, any, "the assembler's help"},
    {"--target-help", exact, 0, pass, nullptr, WORD_HELP, 0, any, "the assembler's target help"},
    {"--version", exact, 0, pass, nullptr, WORD_HELP, 0, any, "the assembler's banner"},
};

} // namespace

const word_table as_table = {"as", rules, sizeof rules / sizeof rules[0]};
