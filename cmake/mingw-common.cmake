# Cross build for Windows with MinGW-w64, shared by the 32- and 64-bit tool
# chain files, which set TMS_MINGW_TRIPLE (i686-w64-mingw32 or
# x86_64-w64-mingw32), CMAKE_SYSTEM_PROCESSOR and TMS_WINE_RUNNER. The POSIX
# thread model provides the std::mutex that GoogleTest needs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${TMS_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TMS_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TMS_MINGW_TRIPLE}-windres)
set(CMAKE_DLLTOOL ${TMS_MINGW_TRIPLE}-dlltool)
set(CMAKE_FIND_ROOT_PATH /usr/${TMS_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Test programs run through Wine, in a prefix of the build's own.
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/${TMS_WINE_RUNNER}")
