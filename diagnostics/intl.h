// Message-catalogue access for every user-visible text.  Texts are looked
// up in the "vrk" text domain whatever domain the process selected, so a
// library user cannot redirect the driver's messages by accident.
#ifndef VRK_DIAGNOSTICS_INTL_H
#define VRK_DIAGNOSTICS_INTL_H

#include <libintl.h>

// Marks a text for extraction into the catalogue without translating it
// where it stands (texts kept in tables are translated where they are used).
#define N_(msgid) msgid
#define G_(msgid) msgid

inline const char *translate(const char *msgid) {
  return msgid && *msgid ? dgettext("vrk", msgid) : msgid;
}

// The catalogue's plural rule chooses between the two forms for `n`.
inline const char *translate_plural(const char *singular, const char *plural,
                                    unsigned long n) {
  return dngettext("vrk", singular, plural, n);
}

#endif
