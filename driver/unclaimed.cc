// Unclaimed switches and --completion= (main sequence steps 11 and 12).
#include "driver/unclaimed.h"

#include "compilation/compilation.h"
#include "diagnostics/diagnostic.h"
#include "options/opt-suggestions.h"

void report_unclaimed_switches(const compilation &comp, option_proposer &proposer) {
  for (const saved_switch &sw : comp.switches) {
    if (sw.claimed)
      continue;
    if (const char *hint = proposer.suggest_option(sw.text))
      error_noloc("unrecognized command-line option %<-%s%>; did you mean %<-%s%>?", sw.text,
                  hint);
    else
      error_noloc("unrecognized command-line option %<-%s%>", sw.text);
  }
}

bool answer_completion(const compilation &comp, option_proposer &proposer) {
  if (!comp.completion_prefix)
    return false;
  proposer.suggest_completion(comp.completion_prefix);
  return true;
}
