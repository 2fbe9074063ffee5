# 32-bit Windows executables with mingw-w64 (posix threads): the product.
set(TSM_MINGW_TRIPLET i686-w64-mingw32)
set(TSM_WINE_LOADER wine)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
