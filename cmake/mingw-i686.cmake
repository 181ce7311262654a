# Cross build for 32-bit Windows; tests run under 32-bit Wine.
set(TMS_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TMS_WINE_RUNNER wine-run.sh)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
