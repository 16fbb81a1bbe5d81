// Whether an address lies in the program's own read-only image (its code
// and constant data, string literals among them): what is there cannot
// change while the program runs.
#ifndef VRK_SUPPORT_READ_ONLY_IMAGE_H
#define VRK_SUPPORT_READ_ONLY_IMAGE_H

bool in_read_only_image(const void *address);

#endif
