// The usage text of --help, one catalogue entry per option line: the option
// padded to column 27, then its description; continuation lines are
// indented by 27 blanks.
#include "driver/queries.h"

const char *const usage_lines_head[] = {
    // TRANSLATORS: a usage line is two blanks, the option as typed (not
    // translated), blanks up to column 28, then the description; each
    // continuation line starts with 27 blanks.  Keep the layout.
    N_("  -pass-exit-codes         Exit with highest error code from a phase.\n"),
    N_("  --help                   Display this information.\n"),
    N_("  --target-help            Display target specific command line options (including assembler and linker options).\n"),
};
const int usage_lines_head_count = 3;

const char *const usage_lines_tail[] = {
    // TRANSLATORS: a usage line is two blanks, the option as typed (not
    // translated), blanks up to column 28, then the description; each
    // continuation line starts with 27 blanks.  Keep the layout.
    N_("  --version                Display compiler version information.\n"),
    N_("  -dumpspecs               Display all of the built in spec strings.\n"),
    N_("  -dumpversion             Display the version of the compiler.\n"),
    N_("  -dumpmachine             Display the compiler's target processor.\n"),
    N_("  -foffload=<targets>      Specify offloading targets.\n"),
    N_("  -print-search-dirs       Display the directories in the compiler's search path.\n"),
    N_("  -print-libvrk-file-name  Display the name of the compiler's companion library.\n"),
    N_("  -print-file-name=<lib>   Display the full path to library <lib>.\n"),
    N_("  -print-prog-name=<prog>  Display the full path to compiler component <prog>.\n"),
    N_("  -print-multiarch         Display the target's normalized ZUX triplet, used as\n                           a component in the library path.\n"),
    N_("  -print-multi-directory   Display the root directory for versions of libvrk.\n"),
    N_("  -print-multi-lib         Display the mapping between command line options and\n                           multiple library search directories.\n"),
    N_("  -print-multi-os-directory Display the relative path to OS libraries.\n"),
    N_("  -print-sysroot           Display the target libraries directory.\n"),
    N_("  -print-sysroot-headers-suffix Display the sysroot suffix used to find headers.\n"),
    N_("  -Wa,<options>            Pass comma-separated <options> on to the assembler.\n"),
    N_("  -Wp,<options>            Pass comma-separated <options> on to the preprocessor.\n"),
    N_("  -Wl,<options>            Pass comma-separated <options> on to the linker.\n"),
    N_("  -Xassembler <arg>        Pass <arg> on to the assembler.\n"),
    N_("  -Xpreprocessor <arg>     Pass <arg> on to the preprocessor.\n"),
    N_("  -Xlinker <arg>           Pass <arg> on to the linker.\n"),
    N_("  -save-temps              Do not delete intermediate files.\n"),
    N_("  -save-temps=<arg>        Do not delete intermediate files.\n"),
    N_("  -no-canonical-prefixes   Do not canonicalize paths when building relative\n                           prefixes to other vrk components.\n"),
    N_("  -pipe                    Use pipes rather than intermediate files.\n"),
    N_("  -time                    Time the execution of each subprocess.\n"),
    N_("  -specs=<file>            Override built-in specs with the contents of <file>.\n"),
    N_("  -std=<standard>          Assume that the input sources are for <standard>.\n"),
    N_("  --sysroot=<directory>    Use <directory> as the root directory for headers\n                           and libraries.\n"),
    N_("  -B <directory>           Add <directory> to the compiler's search paths.\n"),
    N_("  -v                       Display the programs invoked by the compiler.\n"),
    N_("  -###                     Like -v but options quoted and commands not executed.\n"),
    N_("  -plan=json               Like -### but print the plan as a JSON document.\n"),
    N_("  -E                       Preprocess only; do not compile, assemble or link.\n"),
    N_("  -S                       Compile only; do not assemble or link.\n"),
    N_("  -c                       Compile and assemble, but do not link.\n"),
    N_("  -o <file>                Place the output into <file>.\n"),
    N_("  -pie                     Create a dynamically linked position independent\n                           executable.\n"),
    N_("  -shared                  Create a shared library.\n"),
    N_("  -x <language>            Specify the language of the following input files.\n                           Permissible languages include: c c++ assembler none\n                           'none' means revert to the default behavior of\n                           guessing the language based on the file's extension.\n"),
};
const int usage_lines_tail_count = 40;
