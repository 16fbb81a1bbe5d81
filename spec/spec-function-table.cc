// The spec functions of this build, in their search order.
#include "spec/spec-function-table.h"

#include "common/config/aarch64/aarch64-common.h"
#include "config/aarch64/driver-aarch64.h"
#include "spec/spec-functions.h"

namespace {

// The processor functions know nothing of specs.
const char *local_cpu_detect(spec_interpreter &, int argc, const char **argv) {
  return host_detect_local_cpu(argc, argv);
}

const char *rewrite_mcpu(spec_interpreter &, int argc, const char **argv) {
  return aarch64_rewrite_mcpu(argc, argv);
}

} // namespace

const spec_function builtin_spec_functions[] = {
    {"getenv", getenv_spec_function},
    {"if-exists", if_exists_spec_function},
    {"if-exists-else", if_exists_else_spec_function},
    {"if-exists-then-else", if_exists_then_else_spec_function},
    {"sanitize", sanitize_spec_function},
    {"replace-outfile", replace_outfile_spec_function},
    {"remove-outfile", remove_outfile_spec_function},
    {"version-compare", version_compare_spec_function},
    {"include", include_spec_function},
    {"find-file", find_file_spec_function},
    {"find-plugindir", find_plugindir_spec_function},
    {"print-asm-header", print_asm_header_spec_function},
    {"compare-debug-dump-opt", compare_debug_dump_opt_spec_function},
    {"compare-debug-self-opt", compare_debug_self_opt_spec_function},
    {"pass-through-libs", pass_through_libs_spec_function},
    {"dumps", dumps_spec_function},
    {"gt", greater_than_spec_function},
    {"debug-level-gt", debug_level_greater_than_spec_function},
    {"dwarf-version-gt", dwarf_version_greater_than_spec_function},
    {"fortran-preinclude-file", fortran_preinclude_file_spec_function},
    {"local_cpu_detect", local_cpu_detect},
    {"rewrite_mcpu", rewrite_mcpu},
};

const int builtin_spec_function_count =
    static_cast<int>(sizeof builtin_spec_functions / sizeof builtin_spec_functions[0]);
