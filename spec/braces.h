// Conditional groups of the spec language (%{...}, also behind %W{ and
// %@{), matching of their conditions against the saved switches, the input
// suffix and the input language, switch liveness, writing switches back as
// arguments, and the claiming of the switches that specs mention.
#ifndef VRK_SPEC_BRACES_H
#define VRK_SPEC_BRACES_H

// P is the text after "{".  Returns the position after the closing "}",
// or null when interpreting a body failed.
const char *process_braces(const char *p);

// Whether saved switch INDEX is live (not overridden by a later switch nor
// removed by a self spec).  PREFIX_LENGTH is the length of the matched
// prefix, -1 when the whole switch is meant; 0 and 1 always answer true
// without recording anything.
bool switch_is_live(int index, int prefix_length);

// Write saved switch INDEX (with its "-" unless OMIT_NAME) and its
// arguments as arguments; marks it claimed.
void emit_switch(int index, bool omit_name);

// Whether some live saved switch matches the atom ATOM (LENGTH characters),
// with the two-word -D/-U rule.
bool switch_matches(const char *atom, int length, bool starred);

// Mark as claimed every switch that SPEC mentions (recognised ones only,
// or any matching one when USER_SET).
void claim_spec_switches(const char *spec, bool user_set);

#endif
