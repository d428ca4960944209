# The warnings the project's own code is built with: link kelvane_warnings to each target.
#
# Warnings become errors only where asked for: CMAKE_COMPILE_WARNING_AS_ERROR for the
# compiler and CMAKE_LINK_WARNING_AS_ERROR for the link step (link-time optimisation warns
# there). The presets CI uses switch both on; `cmake --compile-no-warning-as-error` or
# -DCMAKE_COMPILE_WARNING_AS_ERROR=OFF -DCMAKE_LINK_WARNING_AS_ERROR=OFF switch them off.
include(CheckLinkerFlag)

add_library(kelvane_warnings INTERFACE)
if(MSVC)
  target_compile_options(kelvane_warnings INTERFACE /W4 /utf-8)
else()
  target_compile_options(kelvane_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wconversion -Wshadow)
endif()

# CMake 3.30 and later know CMAKE_LINK_WARNING_AS_ERROR themselves.
if(CMAKE_LINK_WARNING_AS_ERROR AND CMAKE_VERSION VERSION_LESS 3.30)
  if(MSVC)
    target_link_options(kelvane_warnings INTERFACE /WX)
  else()
    # The compiler driver's -Werror covers what it reports while linking (LTO); the
    # linker's own switch is spelled differently by each linker, so it is used only where
    # the linker takes it (GNU ld, gold, lld).
    target_link_options(kelvane_warnings INTERFACE -Werror)
    check_linker_flag(CXX "LINKER:--fatal-warnings" KELVANE_LINKER_FATAL_WARNINGS)
    if(KELVANE_LINKER_FATAL_WARNINGS)
      target_link_options(kelvane_warnings INTERFACE LINKER:--fatal-warnings)
    endif()
  endif()
endif()
