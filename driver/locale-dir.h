// Where the driver's message catalogues are: the "share/locale" directory
// of the installation it runs from, found like its other directories so
// that a moved tree still speaks the user's language.
#ifndef VRK_DRIVER_LOCALE_DIR_H
#define VRK_DRIVER_LOCALE_DIR_H

// The catalogue directory for a driver started as ARGV0, or, when
// EXEC_PREFIX (the value of VRK_EXEC_PREFIX) is set, for the installation
// whose "lib/vrk/" directory it names.  RESOLVE_LINKS as for the search
// prefixes (off under -no-canonical-prefixes).  The configured directory
// when the driver runs from its configured place or cannot be placed.
// The text stays allocated for the rest of the process.
const char *installed_locale_dir(const char *argv0, const char *exec_prefix, bool resolve_links);

#endif
