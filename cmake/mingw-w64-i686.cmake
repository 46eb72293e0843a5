# Cross build for 32-bit Windows with MinGW-w64 (the -posix flavour, which
# has std::thread). The exe runs on 32- and 64-bit Windows 7 to 11.
# Everything is linked statically: one exe, no DLL beyond Windows' own.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(_triple i686-w64-mingw32)
find_program(CMAKE_C_COMPILER ${_triple}-gcc-posix)
find_program(CMAKE_CXX_COMPILER ${_triple}-g++-posix)
find_program(CMAKE_RC_COMPILER ${_triple}-windres)
foreach(_tool CMAKE_C_COMPILER CMAKE_CXX_COMPILER CMAKE_RC_COMPILER)
  if(NOT ${_tool})
    message(FATAL_ERROR "${_tool}: MinGW-w64 i686 (posix) not found; "
                        "install g++-mingw-w64-i686-posix (scripts/setup.sh does)")
  endif()
endforeach()

set(CMAKE_FIND_ROOT_PATH /usr/${_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Tests run through Wine, with the project's private prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-exec.sh)
