# The archive-tool wrappers vrk-ar, vrk-nm and vrk-ranlib: one source built
# three times with a different personality.
