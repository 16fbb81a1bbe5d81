# Extracts the message template of the "vrk" text domain from the sources.
#
#   cmake -DSOURCE_DIR=<src> -DOUTPUT=<file.pot> -DXGETTEXT=<xgettext>
#         -DPYTHON=<python3> [-DCOMPARE=<committed.pot>] -P update-pot.cmake
#
# Writes OUTPUT; with COMPARE, fails when OUTPUT differs from COMPARE in
# anything but its creation date (the committed template is out of date).
#
# Three kinds of message, three passes that join one template:
#  1. formats for the message formatter (%qs, %<, %m, positions ...), the
#     arguments of the reporter's entry points: marked no-c-format, since
#     they are not printf formats; check-formats.py holds the translations
#     to the formatter's own rules;
#  2. texts the code translates itself with translate() and N_() (printf
#     formats, usage lines, kind labels) and the plain printf formats of
#     notice_text: c-format where they are formats;
#  3. messages kept in data (option descriptions, spec strings), found by
#     data-messages.py.
# Locations carry file names without line numbers, so the template changes
# only when messages do.

foreach(var SOURCE_DIR OUTPUT XGETTEXT PYTHON)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "update-pot.cmake: -D${var}=... is required")
  endif()
endforeach()

# The programs' sources, relative to the source tree, in a fixed order.
set(sources)
foreach(dir support diagnostics options process compilation spec driver config common cp wrappers)
  file(GLOB_RECURSE found RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/${dir}/*.cc" "${SOURCE_DIR}/${dir}/*.h")
  list(APPEND sources ${found})
endforeach()
# Tests and the option-table generator (a build tool) speak to developers.
list(FILTER sources EXCLUDE REGEX "(_test\\.cc|test-support\\.h)$|^options/optgen/")
list(SORT sources)
file(GLOB opt_sources RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/options/*.opt")
list(SORT opt_sources)

set(work "${OUTPUT}.work")
file(REMOVE "${work}")

function(run)
  execute_process(COMMAND ${ARGN} WORKING_DIRECTORY "${SOURCE_DIR}"
                  RESULT_VARIABLE status ERROR_VARIABLE errors)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${ARGN}\nfailed:\n${errors}")
  endif()
endfunction()

set(common_options
  --from-code=UTF-8 --add-comments=TRANSLATORS: --add-location=file
  --package-name=vrk --package-version=13.2.0
  --msgid-bugs-address=https://bugs.tolv.example/vrk/
  "--copyright-holder=The vrk developers"
  -o "${work}")

# Pass 1: entry point, position of the format (of both formats for the
# plural ones).
set(entry_points
  fatal_error:2 internal_error:1 internal_error_no_backtrace:1 error_at:2
  error_noloc:1 warning_at:3 warning_noloc:2 warning_n:4,5 inform:2
  inform_n:3,4 pedwarn:3 permerror:2 sorry_noloc:1 G_:1)
set(pass1 ${XGETTEXT} --language=C++ -k ${common_options})
foreach(entry IN LISTS entry_points)
  string(REGEX MATCH "^[^:]+" name "${entry}")
  string(REGEX MATCHALL "[0-9]+" positions "${entry}")
  list(APPEND pass1 "--keyword=${entry}")
  foreach(position IN LISTS positions)
    list(APPEND pass1 "--flag=${name}:${position}:no-c-format")
  endforeach()
endforeach()
run(${pass1} ${sources})

run(${XGETTEXT} --language=C++ -k --join-existing ${common_options}
    --keyword=translate:1 --keyword=translate_plural:1,2 --keyword=N_:1
    --keyword=notice_text:2 --flag=notice_text:2:c-format
    ${sources})

set(data "${OUTPUT}.data.po")
run(${PYTHON} "${SOURCE_DIR}/po/data-messages.py" "${data}" ${opt_sources} ${sources})
run(${XGETTEXT} --language=PO --join-existing ${common_options} "${data}")
file(REMOVE "${data}")

file(READ "${work}" made)

if(DEFINED COMPARE)
  file(READ "${COMPARE}" committed)
  string(REGEX REPLACE "\"POT-Creation-Date:[^\n]*\n" "" made "${made}")
  string(REGEX REPLACE "\"POT-Creation-Date:[^\n]*\n" "" committed "${committed}")
  file(RENAME "${work}" "${OUTPUT}")
  if(NOT made STREQUAL committed)
    message(FATAL_ERROR
      "${COMPARE} is out of date: the messages in the sources changed.\n"
      "Regenerate it with: cmake --build build --target vrk-pot\n"
      "and bring the translations up to date (msgmerge --update po/LANG.po po/vrk.pot).\n"
      "New template for comparison: ${OUTPUT}")
  endif()
else()
  file(RENAME "${work}" "${OUTPUT}")
endif()
