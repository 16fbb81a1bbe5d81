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

// False once set_message_locale has found that no catalogue can apply (the
// C locale): texts then stand as they are, and the catalogue library is
// spared its search for catalogues that cannot exist.
extern bool message_catalogue_possible;

inline const char *translate(const char *msgid) {
  return msgid && *msgid && message_catalogue_possible ? dgettext("vrk", msgid) : msgid;
}

// The catalogue's plural rule chooses between the two forms for `n`.
inline const char *translate_plural(const char *singular, const char *plural,
                                    unsigned long n) {
  if (!message_catalogue_possible)
    return n == 1 ? singular : plural;
  return dngettext("vrk", singular, plural, n);
}

#endif
