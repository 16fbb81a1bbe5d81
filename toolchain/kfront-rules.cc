// kfront and kfrontxx: the words the specs hand the compiler proper, as the
// host compiler (clang, driven with -S or -E) spells them.  The first row
// that matches a word decides; more specific rows come first.
#include "toolchain/word-rules.h"

namespace {

using enum word_action;
using enum word_match;

constexpr host_variant any = host_variant::any;

constexpr word_rule rules[] = {
    // Modes and inputs.
    {"-E", exact, 0, pass, nullptr, WORD_PREPROCESS_ONLY, 0, any, "preprocess only"},
    {"-M", exact, 0, pass, nullptr, WORD_PREPROCESS_ONLY, 0, any, "dependencies only"},
    {"-MM", exact, 0, pass, nullptr, WORD_PREPROCESS_ONLY, 0, any, "dependencies only"},
    {"-fpreprocessed", exact, 0, drop, nullptr, WORD_PREPROCESSED, 0, any,
     "the input language becomes the preprocessed one (-x cpp-output, -x c++-cpp-output)"},
    {"-lang-asm", exact, 0, drop, nullptr, WORD_ASM_WITH_CPP, 0, any,
     "the input language becomes -x assembler-with-cpp"},
    {"-fsyntax-only", exact, 0, pass, nullptr, WORD_SYNTAX_ONLY, 0, any, "no -S"},
    {"--output-pch", exact, 1, reject, nullptr, 0, 0, any,
     "precompiled headers of the host compiler are not this system's"},

    // The compiler proper's own bookkeeping: names of dump files and
    // messages the host compiler does not write.
    {"-quiet", exact, 0, drop, nullptr, 0, 0, any, "the host compiler is quiet unless -v"},
    {"-version", exact, 0, map, "-v", WORD_VERBOSE, 0, any, "the host compiler's banner"},
    {"-v", exact, 0, pass, nullptr, WORD_VERBOSE, 0, any, "also echoes the host command"},
    {"-dumpbase", exact, 1, drop, nullptr, WORD_DUMPBASE, 0, any,
     "names dump files; gives the default dependency target"},
    {"-dumpbase-ext", exact, 1, drop, nullptr, WORD_DUMPBASE_EXT, 0, any,
     "names dump files; gives the default dependency target"},
    {"-dumpdir", exact, 1, drop, nullptr, 0, 0, any, "names dump files, which the host compiler does not write"},
    {"-auxbase", exact, 1, drop, nullptr, 0, 0, any, "names auxiliary files"},
    {"-auxbase-strip", exact, 1, drop, nullptr, 0, 0, any, "names auxiliary files"},
    {"-imultilib", exact, 1, drop, nullptr, 0, 0, any, "this build has no multilibs"},
    {"-imultiarch", exact, 1, drop, nullptr, 0, 0, any, "this build has no multiarch directories"},
    {"-iprefix", exact, 1, pass, nullptr, 0, 0, any, "the installation's prefix for -iwithprefix"},
    {"-o", exact, 1, pass, nullptr, 0, 0, any, "assembler text, or preprocessed text under -E"},
    {"-isysroot", exact, 1, pass, nullptr, WORD_SYSROOT, 0, any, "system headers come from the root"},
    {"--sysroot", exact, 1, pass, nullptr, WORD_SYSROOT, 0, any, "system headers come from the root"},
    {"--sysroot=", prefix, 0, pass, nullptr, WORD_SYSROOT, 0, any, "system headers come from the root"},

    // Preprocessor words of this system.
    {"-MD", exact, 1, map, "-MD -MF $1", WORD_DEPENDENCIES, 0, any, "the file is an operand here"},
    {"-MMD", exact, 1, map, "-MMD -MF $1", WORD_DEPENDENCIES, 0, any, "the file is an operand here"},
    {"-MT", exact, 1, pass, nullptr, WORD_DEPENDENCY_TARGET, 0, any, "names the target"},
    {"-MQ", exact, 1, pass, nullptr, WORD_DEPENDENCY_TARGET, 0, any, "names the target"},
    {"-MT", prefix, 0, pass, nullptr, WORD_DEPENDENCY_TARGET, 0, any, "names the target"},
    {"-MQ", prefix, 0, pass, nullptr, WORD_DEPENDENCY_TARGET, 0, any, "names the target"},
    {"-Mmodules", exact, 0, drop, nullptr, 0, 0, any, "no module dependencies without modules"},
    {"-Mno-modules", exact, 0, drop, nullptr, 0, 0, any, "the host compiler's default"},
    {"-fpch-preprocess", exact, 0, drop, nullptr, 0, 0, any,
     "marks where a precompiled header was used; none is"},
    {"-fdirectives-only", exact, 0, drop, nullptr, 0, 0, any,
     "fully preprocessed text is as good an input for the later compile"},
    {"-fno-directives-only", exact, 0, drop, nullptr, 0, 0, any, "the host compiler's default"},
    {"-fworking-directory", exact, 0, drop, nullptr, 0, 0, any,
     "the host compiler records the working directory itself"},
    {"-fno-working-directory", exact, 0, drop, nullptr, 0, 0, any, "only affects -E line markers"},
    {"-remap", exact, 0, drop, nullptr, 0, 0, any, "short-name file systems only"},
    {"-traditional-cpp", exact, 0, reject, nullptr, 0, 0, any,
     "the host preprocessor has no traditional mode"},

    // Debug information.  The driver tells the assembler DWARF version 5
    // unless a version is named, so the compiler is told the same.
    {"-g0", exact, 0, pass, nullptr, 0, WORD_DEBUG, any, "no debug information"},
    {"-gtoggle", exact, 0, reject, nullptr, 0, 0, any, "only used by -fcompare-debug"},
    {"-gzux-pubnames", exact, 0, map, "-ggnu-pubnames", 0, 0, any, "the host spelling"},
    {"-gz=zlib-zux", exact, 0, reject, nullptr, 0, 0, any,
     "the host compiler has no section-name compression"},
    {"-gsplit-dwarf", prefix, 0, reject, nullptr, 0, 0, any,
     "the host compiler names the split file after the input, the specs after the output"},
    {"-gz", prefix, 0, pass, nullptr, 0, 0, any, "compression only"},
    {"-gno-", prefix, 0, pass, nullptr, 0, 0, any, "does not change the level"},
    {"-gdwarf-", prefix, 0, pass, nullptr, WORD_DEBUG | WORD_DWARF_VERSION, 0, any, "names the version"},
    {"-gdwarf", exact, 0, pass, nullptr, WORD_DEBUG, 0, any, "level 2"},
    {"-g", exact, 0, pass, nullptr, WORD_DEBUG, 0, any, "level 2"},
    {"-g1", exact, 0, pass, nullptr, WORD_DEBUG, 0, any, "level 1"},
    {"-g2", exact, 0, pass, nullptr, WORD_DEBUG, 0, any, "level 2"},
    {"-g3", exact, 0, pass, nullptr, WORD_DEBUG, 0, any, "level 3"},
    {"-ggdb", prefix, 0, pass, nullptr, WORD_DEBUG, 0, any, "a level"},

    // Dialects and extensions of this system, in the host's spelling.
    {"-std=zux89", exact, 0, map, "-std=gnu89", 0, 0, any, "the host spelling"},
    {"-std=zux90", exact, 0, map, "-std=gnu89", 0, 0, any, "the host spelling"},
    {"-std=zux99", exact, 0, map, "-std=gnu99", 0, 0, any, "the host spelling"},
    {"-std=zux9x", exact, 0, map, "-std=gnu99", 0, 0, any, "the host spelling"},
    {"-std=zux11", exact, 0, map, "-std=gnu11", 0, 0, any, "the host spelling"},
    {"-std=zux1x", exact, 0, map, "-std=gnu11", 0, 0, any, "the host spelling"},
    {"-std=zux17", exact, 0, map, "-std=gnu17", 0, 0, any, "the host spelling"},
    {"-std=zux18", exact, 0, map, "-std=gnu17", 0, 0, any, "the host spelling"},
    {"-std=zux2x", exact, 0, map, "-std=gnu2x", 0, 0, any, "the host spelling"},
    {"-std=zux++98", exact, 0, map, "-std=gnu++98", 0, 0, any, "the host spelling"},
    {"-std=zux++03", exact, 0, map, "-std=gnu++98", 0, 0, any, "the host spelling"},
    {"-std=zux++0x", exact, 0, map, "-std=gnu++11", 0, 0, any, "the host spelling"},
    {"-std=zux++11", exact, 0, map, "-std=gnu++11", 0, 0, any, "the host spelling"},
    {"-std=zux++1y", exact, 0, map, "-std=gnu++14", 0, 0, any, "the host spelling"},
    {"-std=zux++14", exact, 0, map, "-std=gnu++14", 0, 0, any, "the host spelling"},
    {"-std=zux++1z", exact, 0, map, "-std=gnu++17", 0, 0, any, "the host spelling"},
    {"-std=zux++17", exact, 0, map, "-std=gnu++17", 0, 0, any, "the host spelling"},
    {"-std=zux++2a", exact, 0, map, "-std=gnu++20", 0, 0, any, "the host spelling"},
    {"-std=zux++20", exact, 0, map, "-std=gnu++20", 0, 0, any, "the host spelling"},
    {"-std=zux++2b", exact, 0, map, "-std=gnu++2b", 0, 0, any, "the host spelling"},
    {"-std=zux++23", exact, 0, map, "-std=gnu++2b", 0, 0, any, "the host spelling"},
    {"-fzux-keywords", exact, 0, map, "-fgnu-keywords", 0, 0, any, "the host spelling"},
    {"-fno-zux-keywords", exact, 0, map, "-fno-gnu-keywords", 0, 0, any, "the host spelling"},
    {"-fzux89-inline", exact, 0, map, "-fgnu89-inline", 0, 0, any, "the host spelling"},
    {"-fno-zux89-inline", exact, 0, map, "-fno-gnu89-inline", 0, 0, any, "the host spelling"},
    {"-fzux-unique", exact, 0, drop, nullptr, 0, 0, any,
     "the host compiler gives such data ordinary weak binding, which links the same"},
    {"-fno-zux-unique", exact, 0, drop, nullptr, 0, 0, any, "the host compiler's only behaviour"},
    {"-fzux-tm", exact, 0, reject, nullptr, 0, 0, any, "the host compiler has no transactional memory"},
    {"-fzux-runtime", exact, 0, reject, nullptr, 0, 0, any, "no Objective-C in this build"},

    // Target words the host compiler knows by other means.
    {"-mabi=lp64", exact, 0, drop, nullptr, 0, 0, any, "the host compiler's only 64-bit Arm data model"},
    {"-mabi=", prefix, 0, reject, nullptr, 0, 0, any, "the host compiler supports lp64 only"},

    // Link-time optimisation: objects carry machine code only.
    {"-flto", exact, 0, drop, nullptr, 0, 0, any,
     "objects get machine code only; the program is the same, optimised per unit"},
    {"-flto=", prefix, 0, drop, nullptr, 0, 0, any,
     "objects get machine code only; the program is the same, optimised per unit"},
    {"-fno-lto", exact, 0, drop, nullptr, 0, 0, any, "the bridge's only behaviour"},
    {"-ffat-lto-objects", exact, 0, drop, nullptr, 0, 0, any, "objects get machine code anyway"},
    {"-fno-fat-lto-objects", exact, 0, drop, nullptr, 0, 0, any, "objects get machine code anyway"},

    // What the host compiler cannot do.
    {"-fcompare-debug-second", exact, 0, reject, nullptr, 0, 0, any,
     "the host compiler writes no final-insns dump"},
    {"-fcompare-debug", prefix, 0, reject, nullptr, 0, 0, any,
     "the host compiler writes no final-insns dump"},
    {"-fdump-final-insns", prefix, 0, reject, nullptr, 0, 0, any,
     "the host compiler writes no final-insns dump"},
    {"-aux-info", exact, 1, reject, nullptr, 0, 0, any, "the host compiler writes no prototype listing"},
    {"-fplugin", prefix, 0, reject, nullptr, 0, 0, any, "plugins of this system do not load into the host compiler"},
    {"-iplugindir=", prefix, 0, reject, nullptr, 0, 0, any,
     "plugins of this system do not load into the host compiler"},
    {"-p", exact, 0, map, "-pg", 0, 0, any, "profiling calls; the specs say -p for both -p and -pg"},
    {"--param", exact, 1, drop, nullptr, 0, 0, any,
     "tuning limits of this system's optimiser; the host compiler has its own"},
    {"--param=", prefix, 0, drop, nullptr, 0, 0, any,
     "tuning limits of this system's optimiser; the host compiler has its own"},

    {"-fuse-ld=", prefix, 0, drop, nullptr, 0, 0, any, "chooses the linker; read by ldwrap"},

    // Help and version: the host compiler answers, nothing is compiled.
    {"--help", exact, 0, pass, nullptr, WORD_HELP, 0, any, "the host compiler's help"},
    {"--version", exact, 0, pass, nullptr, WORD_HELP, 0, any, "the host compiler's banner"},
    {"--target-help", exact, 0, map, "--help", WORD_HELP, 0, any, "the host help lists target options too"},
    {"--help=", prefix, 0, map, "--help", WORD_HELP, 0, any, "the host help has no sections"},
};

} // namespace

const word_table kfront_table = {"kfront", rules, sizeof rules / sizeof rules[0]};
