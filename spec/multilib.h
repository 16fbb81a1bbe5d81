// Multilib selection: the library variant that fits the user's switches,
// and the sysroot suffixes computed at the same point of start-up.
//
// The tables are the named specs multilib, multilib_reuse,
// multilib_matches, multilib_exclusions, multilib_defaults,
// multilib_options and multilib_extra (spec/spec-list.h), so a specs file
// can replace them.
#ifndef VRK_SPEC_MULTILIB_H
#define VRK_SPEC_MULTILIB_H

#include <cstddef>
#include <cstdio>

struct compilation;
class spec_interpreter;

// The built-in multilib tables of this build (". ;", defaults
// "mabi=lp64", no matches, exclusions or reuse rules), installed before
// the command line is processed.
void init_multilib_tables();

// The run's sysroot suffix from sysroot_suffix_spec; when a system root
// is set, the link spec becomes "%(sysroot_spec) " and its old value; then
// the sysroot headers suffix from sysroot_hdrs_suffix_spec.  More than one
// word from a suffix spec is an error (not fatal).
void settle_sysroot_suffixes(spec_interpreter &in);

// Whether the multilib option TEXT (LENGTH characters, no "-") is in
// effect: implied by a switch through multilib_matches, or a default that
// no alternative of its multilib_options group overrides.  The answer
// comes from a cache built on the first call.
bool multilib_option_used(compilation &comp, const char *text, std::size_t length);
// Whether TEXT is one of the default options parsed by select_multilib.
bool multilib_option_default(const compilation &comp, const char *text, std::size_t length);

// Choose the multilib, OS multilib and multiarch directories of the run's
// search paths (each null when none applies).  Malformed tables are fatal
// errors.
void select_multilib(compilation &comp);

// The -print-multi-lib listing: one line per variant, "dir;@opt@opt".
void print_multilib_listing(compilation &comp, std::FILE *stream);

#endif
