// Classifying the inputs through the compilers table and running the spec
// of every input.
#include "driver/infiles.h"

#include <cstring>

#include "diagnostics/diagnostic.h"
#include "driver/compare-debug.h"
#include "process/temp-files.h"
#include "spec/interpreter.h"

bool check_inputs(compilation &comp) {
  int input_count = comp.inputs.count();
  if (input_count == comp.implicit_library_count)
    fatal_error(UNKNOWN_LOCATION, "no input files");
  if (seen_error())
    return true;

  comp.output_files.assign(static_cast<std::size_t>(input_count), nullptr);
  comp.explicit_link_files.assign(static_cast<std::size_t>(input_count), 0);

  bool combine = comp.output_given || comp.options.x_flag_wpa;
  int compiled_count = 0;
  compiler_entry *remembered = nullptr;
  for (int i = 0; i < input_count; i++) {
    input_entry &in = comp.inputs[i];
    compiler_entry *row = lookup_compiler(comp, in.name, in.language);
    if (row) {
      if (!row->combinable)
        combine = false;
      if (compiled_count == 0 || row == remembered || !in.language ||
          std::strcmp(in.language, "*") == 0) {
        compiled_count++;
        remembered = row;
      }
      in.compiler = row;
    } else {
      if (!(compiled_count != 0 && remembered && in.language && std::strcmp(in.language, "*") != 0))
        comp.explicit_link_files[static_cast<std::size_t>(i)] = 1;
      in.compiler = nullptr;
    }
    in.compiled = false;
    in.preprocessed = false;
  }

  if (!combine && comp.stops_before_link && comp.output_given && compiled_count > 1)
    fatal_error(UNKNOWN_LOCATION,
                "cannot specify %<-o%> with %<-c%>, %<-S%> or %<-E%> with multiple files");
  return false;
}

namespace {

void fail_input() {
  delete_failure_files();
  diagnostic_count(kind_error)++;
  forget_failure_files();
}

// Run the spec of input I; true when it succeeded.
bool compile_input(spec_interpreter &interp, int i) {
  compare_debug_state &cd = interp.comp.compare_debug;
  input_entry &in = interp.comp.inputs[i];
  const compiler_entry *row = interp.input.compiler;
  if (row->spec[0] == '#') {
    error_noloc("%s: %s compiler not installed on this system", in.name, row->spec + 1);
    return false;
  }

  if (cd.mode)
    cd.release_dumps();
  provenance_scope from(interp.trace, spec_origin::compilers_row, row->key, row->spec);
  int value = interp.run_spec(row->spec);
  in.compiled = true;
  if (value < 0) {
    if (cd.mode)
      cd.release_dumps();
    return false;
  }
  if (!cd.mode || !cd.dumps[0]) {
    cd.release_dumps();
    return true;
  }
  return compare_debug_second_compilation(interp, in.name, row->spec);
}

} // namespace

void do_spec_on_infiles(spec_interpreter &interp) {
  compilation &comp = interp.comp;
  int input_count = comp.inputs.count();
  for (int i = 0; i < input_count; i++) {
    input_entry &in = comp.inputs[i];
    interp.input.number = i;
    interp.set_current_input(in.name);
    if (in.compiled)
      continue;
    comp.output_files[static_cast<std::size_t>(i)] = in.name;
    // Looked up again rather than taken from in.compiler so that an
    // unknown language is reported by this pass too; the row found is
    // otherwise the same.
    interp.input.compiler = lookup_compiler(comp, in.name, in.language);
    if (!interp.input.compiler) {
      comp.explicit_link_files[static_cast<std::size_t>(i)] = 1;
      forget_failure_files();
      continue;
    }
    if (compile_input(interp, i))
      forget_failure_files();
    else
      fail_input();
  }

  for (int i = 0; i < input_count; i++) {
    const input_entry &in = comp.inputs[i];
    if (in.compiler || (in.language && in.language[0] != '*')) {
      interp.set_current_input(in.name);
      break;
    }
  }

  if (seen_error())
    return;
  interp.input.number = input_count;
}
