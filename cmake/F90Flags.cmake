# Compiler flags shared by the library build and the fuzz build (which
# compiles the same sources with clang): one definition of each.
#
# F90_FP_FLAGS         x87 arithmetic; never reassociate or contract.
# F90_SSE2_FLAGS       the double-double sources (real16/ and complex32/
#                      folders): their error-free transforms are exact only
#                      when each step is an IEEE double operation.
# F90_SANITIZE_FLAGS   AddressSanitizer and UndefinedBehaviorSanitizer.
# f90_double_double_sources(<src>...) gives the sources of a real16/ or
#                      complex32/ folder among <src> the SSE2 flags.
set(F90_FP_FLAGS -mfpmath=387 -fno-fast-math -ffp-contract=off -fno-strict-aliasing)
set(F90_SSE2_FLAGS -msse2 -mfpmath=sse -ffp-contract=off)
set(F90_SANITIZE_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=undefined
                       -fno-omit-frame-pointer)

function(f90_double_double_sources)
  foreach(src IN LISTS ARGN)
    if(src MATCHES "/(real16|complex32)/")
      set_source_files_properties(${src} PROPERTIES COMPILE_OPTIONS "${F90_SSE2_FLAGS}")
    endif()
  endforeach()
endfunction()
