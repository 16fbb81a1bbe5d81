// The system's error descriptions for messages and the child's exec
// failure line.
#ifndef VRK_SUPPORT_ERROR_TEXT_H
#define VRK_SUPPORT_ERROR_TEXT_H

// The system's description of an error number, or
// "undocumented error #<n>" when the system has none.  The result stays
// valid until the next call.
const char *error_text(int errnum);

#endif
