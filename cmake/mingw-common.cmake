# MinGW-w64 cross compilers from Debian's packages, the win32 thread model: the posix one links
# winpthreads, which imports GetTickCount64, and Windows XP refuses to start a program that does.
# The program has one thread and needs none of the posix runtime.
set(CMAKE_C_COMPILER ${ORV_TRIPLE}-gcc-win32)
set(CMAKE_CXX_COMPILER ${ORV_TRIPLE}-g++-win32)
set(CMAKE_RC_COMPILER ${ORV_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${ORV_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# The test programs run under Wine, each build in a prefix of its own; the 64-bit loader hands a
# 32-bit program to the 32-bit one, in a 64-bit prefix, as 64-bit Windows does (WoW64).
if(ORV_TRIPLE STREQUAL "x86_64-w64-mingw32")
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh win64)
else()
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh win32)
endif()
