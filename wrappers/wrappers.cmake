# The archive-tool wrappers vrk-ar, vrk-nm and vrk-ranlib: one source built
# three times with a different personality.  Their own code is the static
# library vrkwrap; from vrkcore they pull only the process library,
# relocation and support pieces they use.

file(GLOB VRK_WRAP_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/wrappers/*.cc)
list(FILTER VRK_WRAP_SOURCES EXCLUDE REGEX "(_test|/wrapper-main|/ltohook)\\.cc$")
add_library(vrkwrap STATIC ${VRK_WRAP_SOURCES})
target_link_libraries(vrkwrap PUBLIC vrkcore)
if(VRK_SHIPPED)
  add_library(vrkwrap${VRK_SHIPPED} STATIC ${VRK_WRAP_SOURCES})
  target_link_libraries(vrkwrap${VRK_SHIPPED} PUBLIC vrkcore${VRK_SHIPPED})
  vrk_use_shipped_runtime(vrkwrap${VRK_SHIPPED})
endif()

foreach(tool ar nm ranlib)
  add_executable(vrk-${tool} wrappers/wrapper-main.cc)
  target_compile_definitions(vrk-${tool} PRIVATE VRK_WRAPPER_PERSONALITY="${tool}")
  target_link_libraries(vrk-${tool} PRIVATE vrkwrap${VRK_SHIPPED})
  vrk_use_shipped_runtime(vrk-${tool})
endforeach()

# The link-time-optimisation plugin the wrappers hand to the tools.
add_library(ltohook SHARED wrappers/ltohook.cc)
set_target_properties(ltohook PROPERTIES OUTPUT_NAME ltohook CXX_VISIBILITY_PRESET hidden)

install(TARGETS vrk-ar vrk-nm vrk-ranlib RUNTIME DESTINATION bin)
install(TARGETS ltohook LIBRARY DESTINATION libexec/vrk/${VRK_MACHINE_DIR})

# The wrapper unit tests run the built programs; the test program is made
# later by the root list, so the dependency is added once it exists.
function(vrk_wrapper_test_dependencies)
  if(TARGET unit_wrappers)
    add_dependencies(unit_wrappers vrk-ar vrk-nm vrk-ranlib ltohook)
  endif()
endfunction()
cmake_language(DEFER CALL vrk_wrapper_test_dependencies)
