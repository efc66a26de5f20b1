# Windows with the mingw-w64 cross compiler (Debian's g++-mingw-w64-x86-64 and
# g++-mingw-w64-i686). ZARN_MINGW_ARCH picks the target: x86_64 (the default) or i686.
if(NOT ZARN_MINGW_ARCH)
    set(ZARN_MINGW_ARCH x86_64)
endif()
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${ZARN_MINGW_ARCH})
set(CMAKE_C_COMPILER ${ZARN_MINGW_ARCH}-w64-mingw32-gcc)
set(CMAKE_CXX_COMPILER ${ZARN_MINGW_ARCH}-w64-mingw32-g++)
set(CMAKE_RC_COMPILER ${ZARN_MINGW_ARCH}-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${ZARN_MINGW_ARCH}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# The C++ runtime goes into each DLL and program, so that they need no DLL beyond the
# system's and the project's own.
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
