# Cross build for 64-bit Windows; tests run under 64-bit Wine.
set(TMS_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TMS_WINE_RUNNER wine64-run.sh)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
