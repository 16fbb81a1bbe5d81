// After the specs are read: switches that no spec claimed are reported as
// unrecognised (with a "did you mean" hint), and "--completion=" queries
// are answered.
#ifndef VRK_DRIVER_UNCLAIMED_H
#define VRK_DRIVER_UNCLAIMED_H

struct compilation;
struct option_proposer;

// Report every saved switch whose claimed flag is still false.  The run
// goes on; the errors make it fail.
void report_unclaimed_switches(const compilation &comp, option_proposer &proposer);

// With --completion=: print the completions of its argument and answer
// true (the run then ends with status 0); otherwise false.
bool answer_completion(const compilation &comp, option_proposer &proposer);

#endif
