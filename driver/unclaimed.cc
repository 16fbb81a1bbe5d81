// Unclaimed switches and --completion= (main sequence steps 11 and 12).
#include "driver/unclaimed.h"

#include "diagnostics/diagnostic.h"
#include "driver/driver-state.h"
#include "driver/switches.h"
#include "options/opt-suggestions.h"

void report_unclaimed_switches(option_proposer &proposer) {
  for (int i = 0; i < saved_switch_count; i++) {
    const saved_switch &sw = saved_switches[i];
    if (sw.claimed)
      continue;
    if (const char *hint = proposer.suggest_option(sw.text))
      error_noloc("unrecognized command-line option %<-%s%>; did you mean %<-%s%>?", sw.text,
                  hint);
    else
      error_noloc("unrecognized command-line option %<-%s%>", sw.text);
  }
}

bool answer_completion(option_proposer &proposer) {
  if (!completion_prefix)
    return false;
  proposer.suggest_completion(completion_prefix);
  return true;
}
