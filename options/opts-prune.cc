// Pruning of the decoded command line: options cancelled by a later option
// (the same option, its negative form, or another member of its ring of
// mutually exclusive options) are dropped, and the last
// -Wcomplain-wrong-lang and -fdiagnostics-color= move to the front so that
// they take effect before any other option is processed.
#include <cstdlib>
#include <cstring>
#include <vector>

#include "options/opts-common.h"
#include "support/xmalloc.h"

namespace {

// Whether the entry can cancel or be cancelled: a real option without
// errors other than the wrong language, with a ring, and not joined unless
// it is its own (positive-only) ring.
bool cancellable(const decoded_option &d) {
  if (d.opt_index >= option_count || (d.errors & ~std::uint32_t(OPTERR_WRONG_LANG)))
    return false;
  const option_record &r = option_table[d.opt_index];
  if (r.neg_index < 0)
    return false;
  if (r.flags & OPTF_JOINED)
    return (r.attrs & attr_no_negative) && option_index(r.neg_index) == d.opt_index;
  return true;
}

}  // namespace

void prune_options(decoded_option **decoded_options, unsigned *decoded_options_count) {
  unsigned old_count = *decoded_options_count;
  decoded_option *old = *decoded_options;

  // Walking backwards, `cancelled[i]` tells whether some later entry's ring
  // walk (from its neg_index round to itself) reaches option i; that keeps
  // the whole pass linear in the number of entries.
  std::vector<unsigned char> cancelled(option_count, 0);
  std::vector<unsigned char> keep(old_count, 1);
  long last_complain = -1, last_color = -1;

  for (unsigned k = old_count; k-- > 0;) {
    const decoded_option &d = old[k];
    if (d.opt_index >= option_count || (d.errors & ~std::uint32_t(OPTERR_WRONG_LANG)))
      continue;
    if (d.opt_index == OPT_Wcomplain_wrong_lang || d.opt_index == OPT_fdiagnostics_color_) {
      long &last = d.opt_index == OPT_Wcomplain_wrong_lang ? last_complain : last_color;
      if (last < 0)
        last = long(k);
      keep[k] = 0;
      continue;
    }
    if (!cancellable(d))
      continue;
    if (cancelled[d.opt_index])
      keep[k] = 0;
    // Every later-surviving or not, this entry cancels its ring before it.
    option_index next = option_index(option_table[d.opt_index].neg_index);
    for (std::size_t steps = 0; steps <= option_count; ++steps) {
      if (next >= option_count)
        break;
      cancelled[next] = 1;
      if (next == d.opt_index)
        break;
      int following = option_table[next].neg_index;
      if (following < 0)
        break;
      next = option_index(following);
    }
  }

  auto *fresh = static_cast<decoded_option *>(
      xmalloc((old_count > 0 ? old_count : 1) * sizeof(decoded_option)));
  unsigned count = 0;
  unsigned first = 0;
  if (old_count > 0 && old[0].opt_index == OPTION_PROGRAM_NAME) {
    fresh[count++] = old[0];
    first = 1;
  }
  if (last_complain >= 0)
    fresh[count++] = old[last_complain];
  if (last_color >= 0)
    fresh[count++] = old[last_color];
  for (unsigned k = first; k < old_count; ++k)
    if (keep[k])
      fresh[count++] = old[k];

  std::free(old);
  *decoded_options = fresh;
  *decoded_options_count = count;
}
