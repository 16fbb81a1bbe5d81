# Manual pages: vrk++(1) (vrk(1) includes it) and vrk-ar(1) (vrk-nm(1) and
# vrk-ranlib(1) include it), written in roff.
install(FILES
  ${PROJECT_SOURCE_DIR}/doc/vrk++.1 ${PROJECT_SOURCE_DIR}/doc/vrk.1
  ${PROJECT_SOURCE_DIR}/doc/vrk-ar.1 ${PROJECT_SOURCE_DIR}/doc/vrk-nm.1
  ${PROJECT_SOURCE_DIR}/doc/vrk-ranlib.1
  DESTINATION share/man/man1)
