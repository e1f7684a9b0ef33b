# Applies the project's warning flags to a target.
function(somatrix_warnings target)
  target_compile_options(${target} PRIVATE ${SOMATRIX_WARNINGS})
endfunction()

# Adds a build step to <target> that fails when a file in one of the folders (relative to the
# source root) includes a Qt header. Runs on every build, so a new include is caught at once.
function(somatrix_forbid_qt target)
  set(check ${target}_no_qt)
  add_custom_target(${check}
    COMMAND ${CMAKE_COMMAND} -DROOT=${PROJECT_SOURCE_DIR} "-DDIRS=${ARGN}"
            -P ${PROJECT_SOURCE_DIR}/cmake/CheckNoQt.cmake
    COMMENT "Checking that ${target} includes no Qt header"
    VERBATIM)
  add_dependencies(${target} ${check})
endfunction()
