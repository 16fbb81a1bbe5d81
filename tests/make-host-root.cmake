# Installs the build into ROOT exactly as a user does: with the host
# toolchain profile when the build found its tools.  Made afresh each time.
#
#   cmake -DBUILD_DIR=<build> -DROOT=<dir> -P make-host-root.cmake

foreach(var BUILD_DIR ROOT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "make-host-root.cmake: -D${var}=... is required")
  endif()
endforeach()
file(REMOVE_RECURSE "${ROOT}")
execute_process(
  COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${ROOT}"
  RESULT_VARIABLE install_status
  OUTPUT_VARIABLE install_output
  ERROR_VARIABLE install_output)
if(NOT install_status EQUAL 0)
  message(FATAL_ERROR "cmake --install ${BUILD_DIR} failed:\n${install_output}")
endif()
