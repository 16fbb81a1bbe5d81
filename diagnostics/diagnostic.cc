// The diagnostic reporter: decides whether and as what a diagnostic is
// shown, builds its line prefix, counts it and takes the action its kind
// requires (nothing, exit status 1, or the bug-report notice and status 4).
#include "diagnostics/diagnostic-reporter.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "diagnostics/backtrace.h"
#include "diagnostics/intl.h"
#include "support/configuration.h"
#include "support/error-exit.h"
#include "support/text.h"
#include "support/xmalloc.h"

diagnostic_reporter global_reporter;

const diagnostic_kind_info diagnostic_kind_table[kind_last_diagnostic_kind + 1] = {
    {"", nullptr},                                   // kind_unspecified
    {"", nullptr},                                   // kind_ignored
    // TRANSLATORS: the kind labels follow the program name and its colon
    // at the start of a line; keep the colon and the trailing blank.
    {N_("fatal error: "), "error"},                  // kind_fatal
    {N_("internal compiler error: "), "error"},      // kind_ice
    {N_("error: "), "error"},                        // kind_error
    {N_("sorry, unimplemented: "), "error"},         // kind_sorry
    {N_("warning: "), "warning"},                    // kind_warning
    {N_("anachronism: "), "warning"},                // kind_anachronism
    {N_("note: "), "note"},                          // kind_note
    {N_("debug: "), "note"},                         // kind_debug
    {N_("path: "), "path"},                          // kind_path
    {N_("pedwarn: "), nullptr},                      // kind_pedwarn
    {N_("permerror: "), nullptr},                    // kind_permerror
    {N_("error: "), nullptr},                        // kind_werror
    {N_("internal compiler error: "), "error"},      // kind_ice_no_backtrace
    {"must-not-happen", nullptr},                    // bound
};

// The path of this file as the build recorded it; other source names are
// shown relative to what they share with it.
static const char reporter_source_path[] = __FILE__;

static void diagnostic_default_starter(diagnostic_reporter *reporter, diagnostic_record *record) {
  // Driver diagnostics carry no position, so there is no include chain to
  // report before the line.
  reporter->msg_printer->set_prefix(diagnostic_build_prefix(reporter, record));
}

static void diagnostic_default_finisher(diagnostic_reporter *reporter, diagnostic_record *,
                                        diagnostic_kind) {
  message_printer *pp = reporter->msg_printer;
  char *saved = pp->take_prefix();
  pp->newline_and_flush();
  pp->set_prefix(saved);
}

static void diagnostic_default_final_hook(diagnostic_reporter *reporter) {
  if (reporter->kind_counts[kind_werror] == 0 || !reporter->msg_printer)
    return;
  message_printer *pp = reporter->msg_printer;
  char *saved = pp->take_prefix();
  pp->verbatim_into(reporter->warnings_as_errors
                        ? translate("%s: all warnings being treated as errors")
                        : translate("%s: some warnings being treated as errors"),
                    reporter->program_name);
  pp->newline_and_flush();
  pp->set_prefix(saved);
}

void diagnostic_initialize(const char *program_name) {
  diagnostic_reporter *r = &global_reporter;
  // Set up again (tests do): the name of the earlier set-up is ours.
  if (r->initialized)
    std::free(const_cast<char *>(r->program_name));
  r->program_name = xstrdup(program_name ? program_name : "");
  delete r->msg_printer;
  r->msg_printer = new message_printer(0);
  r->line_starter = diagnostic_default_starter;
  r->line_finisher = diagnostic_default_finisher;
  r->final_hook = diagnostic_default_final_hook;
  r->initialized = true;
}

// Diagnostics may be issued before the driver has set the reporter up (or
// after the final step released the printer); they still have to print.
void diagnostic_ensure_printer(diagnostic_reporter *r) {
  if (!r->initialized)
    diagnostic_initialize(r == &global_reporter ? program_invocation_short_name : "");
  if (!r->msg_printer)
    r->msg_printer = new message_printer(0);
}

expanded_location diagnostic_expand_location(const diagnostic_reporter *reporter, location_t loc) {
  if (loc == UNKNOWN_LOCATION || !reporter->location_expander)
    return {};
  return reporter->location_expander(loc);
}

char *diagnostic_build_prefix(diagnostic_reporter *r, const diagnostic_record *record) {
  vrk_assert(record->kind >= 0 && record->kind < kind_last_diagnostic_kind);
  bool show = r->msg_printer && r->msg_printer->show_color;
  const diagnostic_kind_info &info = diagnostic_kind_table[record->kind];
  const char *text = translate(info.label);
  const char *kind_start = info.color_name ? color_start(show, info.color_name) : "";
  const char *kind_end = info.color_name ? color_end(show) : "";

  expanded_location where = diagnostic_expand_location(r, record->location);
  const char *file = where.file ? where.file : r->program_name;
  char line_column[32] = "";
  if (where.file && where.line != 0 && std::strcmp(where.file, translate("<built-in>")) != 0) {
    // Columns count from 1; a column of 0 or less is none.
    int column = r->column_shown && where.column > 0 ? where.column : -1;
    if (column >= 0)
      std::snprintf(line_column, sizeof line_column, ":%d:%d", where.line, column);
    else
      std::snprintf(line_column, sizeof line_column, ":%d", where.line);
  }
  char *locus = xasprintf("%s%s%s:%s", color_start(show, "locus"), file, line_column, color_end(show));
  char *result = xasprintf("%s %s%s%s", locus, kind_start, text, kind_end);
  std::free(locus);
  return result;
}

[[noreturn]] static void diagnostic_ice_action(diagnostic_reporter *r, diagnostic_kind kind) {
  int frames = kind == kind_ice ? print_backtrace(stderr) : 0;
  if (r->bug_report_mode)
    notice_text(stderr, "Please submit a full bug report, with preprocessed source.\n");
  else
    notice_text(stderr, "Please submit a full bug report, with preprocessed source "
                        "(by using -freport-bug).\n");
  if (frames > 0)
    notice_text(stderr, "Please include the complete backtrace with any bug report.\n");
  char *location = concat("<", config::bug_report_url, ">", nullptr);
  notice_text(stderr, "See %s for instructions.\n", location);
  std::free(location);
  exit_after_error(4);
}

void diagnostic_action_after_output(diagnostic_reporter *r, diagnostic_kind kind) {
  switch (kind) {
  case kind_warning:
  case kind_anachronism:
  case kind_note:
  case kind_debug:
    return;
  case kind_error:
  case kind_sorry:
    if (r->errors_are_fatal) {
      notice_text(stderr, "compilation terminated due to -Wfatal-errors.\n");
      diagnostic_finish(r);
      exit_after_error(1);
    }
    return;
  case kind_fatal:
    diagnostic_finish(r);
    notice_text(stderr, "compilation terminated.\n");
    exit_after_error(1);
  case kind_ice:
  case kind_ice_no_backtrace:
    diagnostic_ice_action(r, kind);
  default:
    vrk_unreachable();
  }
}

static void diagnostic_check_error_limit(diagnostic_reporter *r) {
  if (r->error_limit <= 0)
    return;
  int errors = r->kind_counts[kind_error] + r->kind_counts[kind_sorry] + r->kind_counts[kind_werror];
  if (errors >= r->error_limit) {
    notice_text(stderr, "compilation terminated due to -fmax-errors=%u.\n",
                static_cast<unsigned>(r->error_limit));
    diagnostic_finish(r);
    exit_after_error(1);
  }
}

bool report_diagnostic(diagnostic_reporter *r, diagnostic_record *record) {
  diagnostic_ensure_printer(r);
  message_printer *pp = r->msg_printer;
  diagnostic_kind requested = record->kind;

  if (record->kind == kind_warning || record->kind == kind_pedwarn) {
    if (r->warnings_inhibited)
      return false;
    if (record->kind == kind_pedwarn) {
      record->kind = r->pedwarns_as_errors ? kind_error : kind_warning;
      requested = record->kind;
    }
  }

  if (r->report_depth > 0) {
    bool ice = record->kind == kind_ice || record->kind == kind_ice_no_backtrace;
    if (ice && r->report_depth == 1) {
      pp->abandon_formatting();
      pp->newline_and_flush();
    } else {
      if (r->report_depth < 3) {
        pp->abandon_formatting();
        pp->newline_and_flush();
      }
      notice_text(stderr, "internal compiler error: error reporting routines re-entered.\n");
      diagnostic_action_after_output(r, kind_ice);
      std::fflush(stderr);  // standard error may be buffered (under -###)
      std::abort();
    }
  }

  if (r->warnings_as_errors && record->kind == kind_warning)
    record->kind = kind_error;

  record->message.extra = record;
  if (record->kind == kind_ignored)
    return false;

  if (record->kind != kind_ice && record->kind != kind_note)
    diagnostic_check_error_limit(r);

  ++r->report_depth;

  if (record->kind == kind_ice || record->kind == kind_ice_no_backtrace) {
    // A fault after earlier errors is most likely their consequence.
    if (r->kind_counts[kind_error] > 0 || r->kind_counts[kind_sorry] > 0) {
      expanded_location where = diagnostic_expand_location(r, record->location);
      notice_text(stderr, "%s:%d: confused by earlier errors, bailing out\n",
                  where.file ? where.file : r->program_name, where.line);
      exit_after_error(4);
    }
  }

  if (record->kind == kind_error && requested == kind_warning)
    ++r->kind_counts[kind_werror];
  else if (record->kind >= 0 && record->kind < kind_last_diagnostic_kind)
    ++r->kind_counts[record->kind];

  pp->format(&record->message);
  if (r->line_starter)
    r->line_starter(r, record);
  pp->output_formatted();
  if (r->line_finisher)
    r->line_finisher(r, record, record->kind);

  diagnostic_action_after_output(r, record->kind);

  record->message.extra = nullptr;
  --r->report_depth;
  return true;
}

void diagnostic_finish(diagnostic_reporter *r) {
  if (r->final_hook)
    r->final_hook(r);
  delete r->msg_printer;
  r->msg_printer = nullptr;
}

void diagnostic_finish() { diagnostic_finish(&global_reporter); }

void set_color_mode(diagnostic_reporter *r, int value) {
  diagnostic_ensure_printer(r);
  r->msg_printer->show_color = color_mode_init(value < 0 ? DIAGNOSTICS_COLOR_AUTO : value);
}

void set_url_mode(diagnostic_reporter *r, int value) {
  diagnostic_ensure_printer(r);
  r->msg_printer->url_format = url_format_init(value < 0 ? DIAGNOSTICS_URLS_AUTO : value);
}

void diagnostic_color_init(int value) { set_color_mode(&global_reporter, value); }
void diagnostic_urls_init(int value) { set_url_mode(&global_reporter, value); }

void diagnostic_set_bug_report_mode(bool on) { global_reporter.bug_report_mode = on; }

int &diagnostic_count(diagnostic_kind kind) {
  vrk_assert(kind >= 0 && kind < kind_last_diagnostic_kind);
  return global_reporter.kind_counts[kind];
}

bool seen_error() {
  const int *counts = global_reporter.kind_counts;
  return counts[kind_error] || counts[kind_sorry] || counts[kind_werror] || counts[kind_fatal] ||
         counts[kind_ice] || counts[kind_ice_no_backtrace];
}

const char *shortened_source_name(const char *file) {
  if (!file)
    return "";
  const char *p = file;
  while (std::strncmp(p, "../", 3) == 0)
    p += 3;
  if (p != file && *p != '/')
    return p;
  if (file[0] != '/')
    return file;
  // Cut the part shared with this file's recorded path back to the start
  // of the component in which the two first differ.
  std::size_t i = 0;
  std::size_t component = 0;
  while (file[i] && file[i] == reporter_source_path[i]) {
    if (file[i] == '/')
      component = i + 1;
    ++i;
  }
  return file + component;
}

void abort_at_source(const char *file, int line, const char *function) {
  if (global_reporter.msg_printer)
    internal_error("in %s, at %s:%d", function, shortened_source_name(file), line);
  notice_text(stderr, "internal compiler error: ");
  notice_text(stderr, "in %s, at %s:%d", function, shortened_source_name(file), line);
  notice_text(stderr, "\n");
  print_backtrace(stderr);
  std::fflush(stderr);  // standard error may be buffered (under -###)
  std::abort();
}
