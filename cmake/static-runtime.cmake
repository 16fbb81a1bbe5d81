# The shipped programs (vrk++, vrk and the archive-tool wrappers) link the
# C++ runtime statically, LLVM's: libc++, libc++abi, libunwind and the
# compiler-rt builtins, and are not position independent, so that the
# dynamic loader binds the C library alone at start-up and has no
# relocations of the programs' own to apply.  A driver starts once per
# compile; this halves what a short run costs.
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
    -unwindlib=none -no-pie -Wl,--as-needed -Wl,-O1)
set(VRK_SHIPPED_LINK_LIBRARIES -l:libc++.a -l:libc++abi.a -l:libunwind.a)

if(VRK_STATIC_RUNTIME)
  include(CheckCXXSourceCompiles)
  set(CMAKE_REQUIRED_FLAGS "${VRK_SHIPPED_COMPILE_OPTIONS}")
  string(REPLACE ";" " " CMAKE_REQUIRED_FLAGS "${CMAKE_REQUIRED_FLAGS}")
  set(CMAKE_REQUIRED_LINK_OPTIONS ${VRK_SHIPPED_LINK_OPTIONS})
  set(CMAKE_REQUIRED_LIBRARIES ${VRK_SHIPPED_LINK_LIBRARIES})
  check_cxx_source_compiles([[
    #include <string>
    #include <stdexcept>
    int main(int argc, char **) {
      try { if (argc > 5) throw std::runtime_error(std::string("x")); } catch (...) { return 1; }
      return 0;
    }]] VRK_HAVE_STATIC_LLVM_RUNTIME)
  unset(CMAKE_REQUIRED_FLAGS)
  unset(CMAKE_REQUIRED_LINK_OPTIONS)
  unset(CMAKE_REQUIRED_LIBRARIES)
  if(NOT VRK_HAVE_STATIC_LLVM_RUNTIME)
    message(WARNING "The static LLVM C++ runtime is missing (apt-get install libc++-14-dev "
            "libc++abi-14-dev libunwind-14-dev libclang-rt-14-dev); the programs link the "
            "default runtime dynamically")
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
    target_link_options(${target} PRIVATE ${VRK_SHIPPED_LINK_OPTIONS})
    target_link_libraries(${target} PRIVATE ${VRK_SHIPPED_LINK_LIBRARIES})
  elseif(type STREQUAL "STATIC_LIBRARY")
    # After the library itself on every link line that uses it.
    target_link_libraries(${target} INTERFACE ${VRK_SHIPPED_LINK_LIBRARIES})
  endif()
endfunction()
