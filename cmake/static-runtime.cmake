# The shipped programs (vrk++, vrk and the archive-tool wrappers) are
# linked fully statically: the C library, and LLVM's C++ runtime (libc++,
# libc++abi, libunwind and the compiler-rt builtins).  A driver starts once
# per compile; with nothing for the dynamic loader to map, look up or
# relocate, a short run costs about a sixth less than with a shared C
# library, and half what it costs with the shared C++ runtime.
#
# The C library's static formatted output calls two binary128 comparisons
# that LLVM's x86-64 builtins leave out: runtime/binary128-compare.cc
# supplies them to every shipped program.  The unwinder and the C library
# are searched as a group, since each calls into the other.
#
# The unit tests and benchmarks link the machine's GoogleTest and Google
# Benchmark, which are built for the default runtime; they use a second
# build of the same sources (vrkcore), the programs the one made here
# (vrkcore_shipped).
#
#   -DVRK_STATIC_RUNTIME=ON|OFF   (default ON; OFF when the runtime is missing)

option(VRK_STATIC_RUNTIME "Link the programs with a static LLVM C++ runtime" ON)

set(VRK_SHIPPED_COMPILE_OPTIONS -stdlib=libc++ -fno-pie)
# clang links the compiler-rt builtins (an archive) by itself; the C++
# runtime and the unwinder it leaves out, and they are named here as
# archives, after the program's own objects.
set(VRK_SHIPPED_LINK_OPTIONS -stdlib=libc++ -nostdlib++ -rtlib=compiler-rt
    -unwindlib=none -static -Wl,-O1)
set(VRK_SHIPPED_LINK_LIBRARIES -l:libc++.a -l:libc++abi.a
    -Wl,--start-group -l:libunwind.a -lc -Wl,--end-group)
set(VRK_SHIPPED_RUNTIME_SOURCE ${CMAKE_CURRENT_LIST_DIR}/../runtime/binary128-compare.cc)

if(VRK_STATIC_RUNTIME)
  include(CheckCXXSourceCompiles)
  set(CMAKE_REQUIRED_FLAGS "${VRK_SHIPPED_COMPILE_OPTIONS}")
  string(REPLACE ";" " " CMAKE_REQUIRED_FLAGS "${CMAKE_REQUIRED_FLAGS}")
  set(CMAKE_REQUIRED_LINK_OPTIONS ${VRK_SHIPPED_LINK_OPTIONS})
  set(CMAKE_REQUIRED_LIBRARIES ${VRK_SHIPPED_LINK_LIBRARIES})
  set(probe "#include \"${VRK_SHIPPED_RUNTIME_SOURCE}\"\n")
  string(APPEND probe [[
    #include <cstdio>
    #include <string>
    #include <stdexcept>
    int main(int argc, char **) {
      try { if (argc > 5) throw std::runtime_error(std::string("x")); } catch (...) { return 1; }
      std::printf("%g", argc * 0.5);
      return 0;
    }]])
  check_cxx_source_compiles("${probe}" VRK_HAVE_STATIC_RUNTIME)
  unset(CMAKE_REQUIRED_FLAGS)
  unset(CMAKE_REQUIRED_LINK_OPTIONS)
  unset(CMAKE_REQUIRED_LIBRARIES)
  if(NOT VRK_HAVE_STATIC_RUNTIME)
    message(WARNING "The static LLVM C++ runtime or the static C library is missing "
            "(apt-get install libc++-14-dev libc++abi-14-dev libunwind-14-dev "
            "libclang-rt-14-dev libc6-dev); the programs link the default runtime dynamically")
    set(VRK_STATIC_RUNTIME OFF)
  endif()
endif()

# Compiles (and, for a program, links) `target` as a shipped one.
function(vrk_use_shipped_runtime target)
  if(NOT VRK_STATIC_RUNTIME)
    return()
  endif()
  set_target_properties(${target} PROPERTIES POSITION_INDEPENDENT_CODE OFF)
  target_compile_options(${target} PRIVATE ${VRK_SHIPPED_COMPILE_OPTIONS})
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    target_sources(${target} PRIVATE ${VRK_SHIPPED_RUNTIME_SOURCE})
    target_link_options(${target} PRIVATE ${VRK_SHIPPED_LINK_OPTIONS})
    target_link_libraries(${target} PRIVATE ${VRK_SHIPPED_LINK_LIBRARIES})
  elseif(type STREQUAL "STATIC_LIBRARY")
    # After the library itself on every link line that uses it.
    target_link_libraries(${target} INTERFACE ${VRK_SHIPPED_LINK_LIBRARIES})
  endif()
endfunction()
