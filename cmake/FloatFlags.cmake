# Refuses compile flags that let the compiler change floating-point results (fused multiply-add,
# fast maths, reassociation): replays must play with the same bits in every build.
#
#   cinder_check_float_flags()              checks the flag variables and every target's options
#   cmake -DFLAGS="..." -P FloatFlags.cmake  checks one string (for the tests of this check)

cmake_policy(SET CMP0057 NEW)  # IN_LIST, also when run as a script

set(CINDER_FORBIDDEN_FLOAT_FLAGS
  "-ffast-math" "-Ofast" "-ffp-contract=fast" "-ffp-contract=on" "-ffp-contract=fast-honor-pragmas"
  "-funsafe-math-optimizations" "-fassociative-math" "-freciprocal-math" "-fexcess-precision=fast"
  "-ffp-model=fast" "-ffp-model=aggressive" "-mfpmath=387")

# Fails configuration naming WHERE if TEXT (a flag string or list) holds a forbidden flag.
function(cinder_refuse_float_flags where text)
  string(REPLACE ";" " " text "${text}")
  separate_arguments(words UNIX_COMMAND "${text}")
  foreach(word IN LISTS words)
    if(word IN_LIST CINDER_FORBIDDEN_FLOAT_FLAGS)
      message(FATAL_ERROR "${where} holds ${word}: it changes floating-point results, and replays would "
                          "no longer play the same in every build. Remove it.")
    endif()
  endforeach()
endfunction()

function(cinder_collect_targets dir out)
  get_property(targets DIRECTORY "${dir}" PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY "${dir}" PROPERTY SUBDIRECTORIES)
  foreach(sub IN LISTS subdirs)
    cinder_collect_targets("${sub}" more)
    list(APPEND targets ${more})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

# Call at the end of the top-level CMakeLists.txt, once every target exists.
function(cinder_check_float_flags)
  string(TOUPPER "${CMAKE_BUILD_TYPE}" config)
  foreach(var CMAKE_CXX_FLAGS CMAKE_CXX_FLAGS_${config})
    cinder_refuse_float_flags("${var}" "${${var}}")
  endforeach()
  cinder_collect_targets("${CMAKE_SOURCE_DIR}" targets)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "INTERFACE_LIBRARY" OR type STREQUAL "UTILITY")
      continue()
    endif()
    get_target_property(options ${target} COMPILE_OPTIONS)
    if(options)
      cinder_refuse_float_flags("the compile options of ${target}" "${options}")
    endif()
    # What must be there: contraction off (the compiler takes the last -ffp-contract it sees).
    if(NOT "-ffp-contract=off" IN_LIST options)
      message(FATAL_ERROR "${target} is compiled without -ffp-contract=off")
    endif()
  endforeach()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE AND DEFINED FLAGS)
  cinder_refuse_float_flags("FLAGS" "${FLAGS}")
endif()
