# Lays out an installation tree that runs without a real toolchain: installs
# the build into ROOT (as a user would, relocated away from the configured
# prefix), then puts the stand-in program there under every name the specs
# and the wrappers run.
#
#   cmake -DBUILD_DIR=<build> -DROOT=<dir> -DSTANDIN=<standin binary>
#         -DTARGET=<target> -DVERSION=<version> -P make-test-root.cmake
#
# The tree is made afresh every time, so nothing from an earlier install or
# an earlier test run is left in it.

foreach(var BUILD_DIR ROOT STANDIN TARGET VERSION)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "make-test-root.cmake: -D${var}=... is required")
  endif()
endforeach()
if(NOT EXISTS "${STANDIN}")
  message(FATAL_ERROR "make-test-root.cmake: stand-in ${STANDIN} not built")
endif()

# Programs the driver's specs run, found along its program prefixes.
set(toolchain_programs kfront kfrontxx kfrontlto tolv1 as ld ldwrap ltorelay objcopy)
# System tools the wrappers run; tests put this directory on PATH.
set(system_tools ar nm ranlib)

# The plain installation first, as a user makes it.
include(${CMAKE_CURRENT_LIST_DIR}/make-host-root.cmake)

# The stand-ins are this tree's toolchain: the host profile's archive tools
# (which the wrappers would find before PATH) and its runtime objects and
# libraries (which the link would find) are taken out again; its programs
# in libexec are replaced below.
file(REMOVE_RECURSE "${ROOT}/${TARGET}")
file(GLOB host_runtime "${ROOT}/lib/vrk/${TARGET}/${VERSION}/crt*.o"
     "${ROOT}/lib/vrk/${TARGET}/${VERSION}/libvrk*.a")
if(host_runtime)
  file(REMOVE ${host_runtime})
endif()

set(libexec "${ROOT}/libexec/vrk/${TARGET}/${VERSION}")
file(MAKE_DIRECTORY "${libexec}" "${ROOT}/fakebin")
foreach(name IN LISTS toolchain_programs)
  file(COPY_FILE "${STANDIN}" "${libexec}/${name}")
endforeach()
foreach(name IN LISTS system_tools)
  file(COPY_FILE "${STANDIN}" "${ROOT}/fakebin/${name}")
endforeach()

# The linking step and the wrappers only look for the link-time plugin; the
# stand-ins never load it.  Keep the installed one when there is one.
if(NOT EXISTS "${libexec}/libltohook.so")
  file(WRITE "${libexec}/libltohook.so" "stand-in plugin\n")
endif()

message(STATUS "test installation ready in ${ROOT}")
