// Conditional groups of the spec language (%{...}, also behind %W{ and
// %@{), matching of their conditions against the saved switches, the input
// suffix and the input language, switch liveness, writing switches back as
// arguments, and the claiming of the switches that specs mention.
#ifndef VRK_SPEC_BRACES_H
#define VRK_SPEC_BRACES_H

// The groups themselves are interpreted by spec_interpreter::process_braces
// (P after "{"), and a switch is written back by
// spec_interpreter::emit_switch.

class switch_list;

// Whether saved switch INDEX of SWITCHES is live (not overridden by a
// later switch nor removed by a self spec).  PREFIX_LENGTH is the length of the matched
// prefix, -1 when the whole switch is meant; 0 and 1 always answer true
// without recording anything.
bool switch_is_live(switch_list &switches, int index, int prefix_length);

// Whether some live saved switch matches the atom ATOM (LENGTH characters),
// with the two-word -D/-U rule.
bool switch_matches(switch_list &switches, const char *atom, int length, bool starred);

// Mark as claimed every switch of SWITCHES that SPEC mentions (recognised
// ones only, or any matching one when USER_SET); returns how many were not
// claimed before.
int claim_spec_switches(switch_list &switches, const char *spec, bool user_set);

#endif
