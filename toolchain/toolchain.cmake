# The host toolchain profile: kfront, kfrontxx, as and ldwrap, bridged to
# this machine's clang, 64-bit Arm binutils and ld.lld.  Installed into
# libexec/vrk/<target>/<version>/ when the host tools were found; the
# archive tools of binutils are linked where vrk-ar, vrk-nm and vrk-ranlib
# look first.
#
#   -DVRK_HOST_PROFILE=AUTO|ON|OFF   install the profile (AUTO: when found)
#   -DVRK_HOST_LINKER=lld|bfd        the linker ldwrap runs by default

set(VRK_HOST_PROFILE AUTO CACHE STRING "Install the host toolchain profile (AUTO, ON or OFF)")
set(VRK_HOST_LINKER lld CACHE STRING "The linker ldwrap runs by default (lld or bfd)")
set_property(CACHE VRK_HOST_LINKER PROPERTY STRINGS lld bfd)
if(NOT VRK_HOST_LINKER MATCHES "^(lld|bfd)$")
  message(FATAL_ERROR "VRK_HOST_LINKER must be lld or bfd, not '${VRK_HOST_LINKER}'")
endif()

set(host_triple aarch64-linux-gnu)
find_program(VRK_HOST_CLANG NAMES clang clang-14 DOC "The host profile's compiler")
find_program(VRK_HOST_AS NAMES ${host_triple}-as DOC "The host profile's assembler")
find_program(VRK_HOST_LLD NAMES ld.lld ld.lld-14 DOC "ld.lld for ldwrap")
find_program(VRK_HOST_BFD NAMES ${host_triple}-ld.bfd ${host_triple}-ld DOC "The binutils linker for ldwrap")
foreach(tool ar nm ranlib objcopy)
  find_program(VRK_HOST_${tool} NAMES ${host_triple}-${tool} DOC "The binutils ${tool}")
endforeach()

# A tool that is missing is configured as an empty path: the program then
# says so when it runs, instead of running something else.
set(host_missing)
foreach(var VRK_HOST_CLANG VRK_HOST_AS VRK_HOST_LLD VRK_HOST_BFD VRK_HOST_ar VRK_HOST_nm VRK_HOST_ranlib
        VRK_HOST_objcopy)
  if(NOT ${var})
    list(APPEND host_missing ${var})
    set(${var} "")
  endif()
endforeach()
set(host_linker_path ${VRK_HOST_LLD})
if(VRK_HOST_LINKER STREQUAL "bfd")
  set(host_linker_path ${VRK_HOST_BFD})
endif()

if(VRK_HOST_CLANG AND VRK_HOST_AS AND host_linker_path)
  set(host_found TRUE)
else()
  set(host_found FALSE)
endif()
if(VRK_HOST_PROFILE STREQUAL "ON" AND NOT host_found)
  message(FATAL_ERROR "VRK_HOST_PROFILE=ON but host tools are missing: ${host_missing}\n"
          "Install them with: apt-get install clang lld binutils-${host_triple}")
endif()
if(VRK_HOST_PROFILE STREQUAL "OFF")
  set(VRK_HOST_INSTALL FALSE)
else()
  set(VRK_HOST_INSTALL ${host_found})
endif()
if(VRK_HOST_INSTALL)
  message(STATUS "Host toolchain profile: installed (linker ${VRK_HOST_LINKER})")
else()
  message(STATUS "Host toolchain profile: not installed (missing: ${host_missing})")
endif()

configure_file(${PROJECT_SOURCE_DIR}/toolchain/host-tools.h.in
               ${PROJECT_BINARY_DIR}/generated/toolchain/host-tools.h @ONLY)

add_library(vrkbridge STATIC
  toolchain/bridge.cc toolchain/kfront-rules.cc toolchain/as-rules.cc toolchain/ldwrap-rules.cc)

set(VRK_HOST_PROGRAM_DIR ${PROJECT_BINARY_DIR}/toolchain)
function(vrk_host_program target name source)
  add_executable(${target} ${source})
  target_link_libraries(${target} PRIVATE vrkbridge)
  # The programs use the C library only; a child starts once per compile,
  # so nothing else is loaded.
  target_link_options(${target} PRIVATE -Wl,--as-needed)
  set_target_properties(${target} PROPERTIES OUTPUT_NAME ${name}
    RUNTIME_OUTPUT_DIRECTORY ${VRK_HOST_PROGRAM_DIR})
  if(VRK_HOST_INSTALL)
    install(TARGETS ${target} RUNTIME DESTINATION libexec/vrk/${VRK_MACHINE_DIR})
  endif()
endfunction()

vrk_host_program(vrk_host_kfront kfront toolchain/kfront.cc)
target_compile_definitions(vrk_host_kfront PRIVATE VRK_KFRONT_CXX=0)
vrk_host_program(vrk_host_kfrontxx kfrontxx toolchain/kfront.cc)
target_compile_definitions(vrk_host_kfrontxx PRIVATE VRK_KFRONT_CXX=1)
vrk_host_program(vrk_host_as as toolchain/as.cc)
vrk_host_program(vrk_host_ldwrap ldwrap toolchain/ldwrap.cc)

# objcopy splits debug information for -gsplit-dwarf; it takes the specs'
# words as they are, so the binutils program stands under the name itself.
if(VRK_HOST_INSTALL AND VRK_HOST_objcopy)
  install(CODE "
    set(dir \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/libexec/vrk/${VRK_MACHINE_DIR}\")
    file(MAKE_DIRECTORY \"\${dir}\")
    file(CREATE_LINK \"${VRK_HOST_objcopy}\" \"\${dir}/objcopy\" SYMBOLIC)")
endif()

# The wrappers look for ar, nm and ranlib in <prefix>/<target>/bin first.
if(VRK_HOST_INSTALL)
  foreach(tool ar nm ranlib)
    if(VRK_HOST_${tool})
      install(CODE "
        set(dir \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${VRK_TARGET}/bin\")
        file(MAKE_DIRECTORY \"\${dir}\")
        file(CREATE_LINK \"${VRK_HOST_${tool}}\" \"\${dir}/${tool}\" SYMBOLIC)")
    endif()
  endforeach()
endif()

# The runtime support that a program linked statically against the target's
# C library with --sysroot needs from the toolchain: start and end objects
# and the libraries the link line names (libvrk: out-of-line atomics and
# 128-bit float comparisons; libvrk_eh: the unwinder entry points).  Built
# for the target with the host compiler, installed where the link finds
# them (lib/vrk/<target>/<version>/).
if(VRK_HOST_CLANG AND VRK_HOST_ar)
  set(rt_src ${PROJECT_SOURCE_DIR}/toolchain/runtime)
  set(rt_dir ${PROJECT_BINARY_DIR}/toolchain/runtime)
  file(MAKE_DIRECTORY ${rt_dir})
  set(rt_flags --target=aarch64-unknown-freebsd15.0 -O2 -fPIC -ffreestanding
      -fno-stack-protector -fno-asynchronous-unwind-tables -nostdlibinc)
  set(rt_outputs)
  function(vrk_runtime_object out source)
    add_custom_command(OUTPUT ${rt_dir}/${out}
      COMMAND ${VRK_HOST_CLANG} ${rt_flags} ${ARGN} -c ${rt_src}/${source} -o ${rt_dir}/${out}
      DEPENDS ${rt_src}/${source} VERBATIM)
    set(rt_outputs ${rt_outputs} ${rt_dir}/${out} PARENT_SCOPE)
  endfunction()
  vrk_runtime_object(crtbegin.o crtbegin.S)
  vrk_runtime_object(crtbeginT.o crtbegin.S)
  vrk_runtime_object(crtbeginS.o crtbegin.S -DVRK_CRT_SHARED)
  vrk_runtime_object(crtend.o crtend.S)
  vrk_runtime_object(crtendS.o crtend.S)
  vrk_runtime_object(outline-atomics.o outline-atomics.S)
  vrk_runtime_object(tf-compare.o tf-compare.c)
  vrk_runtime_object(unwind.o unwind.c)
  add_custom_command(OUTPUT ${rt_dir}/libvrk.a
    COMMAND ${CMAKE_COMMAND} -E rm -f ${rt_dir}/libvrk.a
    COMMAND ${VRK_HOST_ar} rcs ${rt_dir}/libvrk.a ${rt_dir}/outline-atomics.o ${rt_dir}/tf-compare.o
    DEPENDS ${rt_dir}/outline-atomics.o ${rt_dir}/tf-compare.o VERBATIM)
  add_custom_command(OUTPUT ${rt_dir}/libvrk_eh.a
    COMMAND ${CMAKE_COMMAND} -E rm -f ${rt_dir}/libvrk_eh.a
    COMMAND ${VRK_HOST_ar} rcs ${rt_dir}/libvrk_eh.a ${rt_dir}/unwind.o
    DEPENDS ${rt_dir}/unwind.o VERBATIM)
  add_custom_target(vrk_runtime ALL DEPENDS
    ${rt_dir}/crtbegin.o ${rt_dir}/crtbeginT.o ${rt_dir}/crtbeginS.o ${rt_dir}/crtend.o
    ${rt_dir}/crtendS.o ${rt_dir}/libvrk.a ${rt_dir}/libvrk_eh.a)
  if(VRK_HOST_INSTALL)
    install(FILES ${rt_dir}/crtbegin.o ${rt_dir}/crtbeginT.o ${rt_dir}/crtbeginS.o
                  ${rt_dir}/crtend.o ${rt_dir}/crtendS.o ${rt_dir}/libvrk.a ${rt_dir}/libvrk_eh.a
            DESTINATION lib/vrk/${VRK_MACHINE_DIR})
  endif()
endif()
