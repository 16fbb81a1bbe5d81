# Message catalogues of the "vrk" text domain.
#
# po/vrk.pot is the template, extracted from the sources by the target
# vrk-pot (po/update-pot.cmake); po/<lang>.po are the translations.  Every
# build compiles each translation with msgfmt --check into
# locale/<lang>/LC_MESSAGES/vrk.mo; the installation puts it under
# share/locale/, where the driver finds it relative to its own location.
#
# Tests: the committed template matches the sources (po-template-current),
# every translation translates every message of the template and nothing
# else (po-<lang>-complete, po-<lang>-no-stale), and keeps the arguments of
# the message formatter's formats (po-<lang>-formats; msgfmt --check does
# that for the printf formats).

set(VRK_LINGUAS de)

find_program(VRK_MSGFMT msgfmt)
find_program(VRK_XGETTEXT xgettext)
find_program(VRK_MSGCMP msgcmp)
find_package(Python3 COMPONENTS Interpreter)
foreach(var VRK_MSGFMT VRK_XGETTEXT VRK_MSGCMP Python3_EXECUTABLE)
  if(NOT ${var})
    message(FATAL_ERROR
      "The message catalogues need gettext's msgfmt, xgettext and msgcmp and "
      "python3; not found: ${var}.\nInstall them with: apt-get install gettext python3")
  endif()
endforeach()

set(vrk_catalogues)
foreach(lang IN LISTS VRK_LINGUAS)
  set(dir ${PROJECT_BINARY_DIR}/locale/${lang}/LC_MESSAGES)
  add_custom_command(OUTPUT ${dir}/vrk.mo
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    COMMAND ${VRK_MSGFMT} --check -o ${dir}/vrk.mo ${PROJECT_SOURCE_DIR}/po/${lang}.po
    DEPENDS ${PROJECT_SOURCE_DIR}/po/${lang}.po
    COMMENT "Compiling the ${lang} message catalogue"
    VERBATIM)
  list(APPEND vrk_catalogues ${dir}/vrk.mo)
  install(FILES ${dir}/vrk.mo DESTINATION share/locale/${lang}/LC_MESSAGES)
endforeach()
add_custom_target(vrk-catalogues ALL DEPENDS ${vrk_catalogues})

set(vrk_pot_command ${CMAKE_COMMAND}
  -DSOURCE_DIR=${PROJECT_SOURCE_DIR}
  -DXGETTEXT=${VRK_XGETTEXT}
  -DPYTHON=${Python3_EXECUTABLE})
add_custom_target(vrk-pot
  COMMAND ${vrk_pot_command} -DOUTPUT=${PROJECT_SOURCE_DIR}/po/vrk.pot
          -P ${PROJECT_SOURCE_DIR}/po/update-pot.cmake
  COMMENT "Extracting the message template po/vrk.pot"
  VERBATIM)

if(VRK_BUILD_TESTS)
  file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/po)
  add_test(NAME po-template-current
    COMMAND ${vrk_pot_command} -DOUTPUT=${PROJECT_BINARY_DIR}/po/vrk.pot
            -DCOMPARE=${PROJECT_SOURCE_DIR}/po/vrk.pot
            -P ${PROJECT_SOURCE_DIR}/po/update-pot.cmake)
  foreach(lang IN LISTS VRK_LINGUAS)
    # Every message of the template has a translation that is not fuzzy...
    add_test(NAME po-${lang}-complete
      COMMAND ${VRK_MSGCMP} ${PROJECT_SOURCE_DIR}/po/${lang}.po ${PROJECT_SOURCE_DIR}/po/vrk.pot)
    # ...and the translation has no message that the template lacks.
    add_test(NAME po-${lang}-no-stale
      COMMAND ${VRK_MSGCMP} --use-untranslated ${PROJECT_SOURCE_DIR}/po/vrk.pot
              ${PROJECT_SOURCE_DIR}/po/${lang}.po)
    add_test(NAME po-${lang}-formats
      COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/po/check-formats.py
              ${PROJECT_SOURCE_DIR}/po/${lang}.po)
  endforeach()
endif()
