# 64-bit Windows executables from the same sources, for running the Windows
# tests under Wine on machines that execute 64-bit code only (no IA-32
# emulation, so 32-bit Wine cannot start).
set(TSM_MINGW_TRIPLET x86_64-w64-mingw32)
set(TSM_WINE_LOADER /usr/lib/wine/wine64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
