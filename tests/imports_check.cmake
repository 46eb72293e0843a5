# Checks a built exe: it is of the expected machine type and imports only
# DLLs that every Windows from 7 on has, so it runs as a single file (no
# MinGW runtime DLL beside it).
#   cmake -DOBJDUMP=... -DEXE=... -DFORMAT=pei-i386|pei-x86-64 -P imports_check.cmake
foreach(var OBJDUMP EXE FORMAT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "imports_check: ${var} not given")
  endif()
endforeach()

# objdump's words are translated in other locales.
execute_process(COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C ${OBJDUMP} -p ${EXE}
                OUTPUT_VARIABLE dump RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "imports_check: ${OBJDUMP} -p ${EXE} failed (${status})")
endif()

if(NOT dump MATCHES "file format ([^\n]+)\n")
  message(FATAL_ERROR "imports_check: no file format in the dump of ${EXE}")
endif()
string(STRIP "${CMAKE_MATCH_1}" format)
if(NOT format STREQUAL FORMAT)
  message(FATAL_ERROR "imports_check: ${EXE} is ${format}, expected ${FORMAT}")
endif()

set(windows_dlls kernel32.dll user32.dll gdi32.dll comdlg32.dll shell32.dll ole32.dll
    oleaut32.dll advapi32.dll comctl32.dll shlwapi.dll version.dll msvcrt.dll)
string(REGEX MATCHALL "DLL Name: [^\n]+" lines "${dump}")
if(NOT lines)
  message(FATAL_ERROR "imports_check: ${EXE} shows no imports at all")
endif()
set(foreign "")
foreach(line IN LISTS lines)
  string(REGEX REPLACE "^DLL Name: " "" dll "${line}")
  string(STRIP "${dll}" dll)
  string(TOLOWER "${dll}" dll)
  list(FIND windows_dlls "${dll}" at)
  if(at EQUAL -1)
    list(APPEND foreign "${dll}")
  endif()
  message(STATUS "${EXE} imports ${dll}")
endforeach()
if(foreign)
  message(FATAL_ERROR "imports_check: ${EXE} imports DLLs that Windows does not have: ${foreign}")
endif()
