# 32-bit Windows executables with mingw-w64 (posix threads): the product.
set(TSM_MINGW_TRIPLET i686-w64-mingw32)
set(TSM_WINE_LOADER wine)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# Doubles in SSE2 registers, as on x86-64: the x87 unit's extended precision
# would round sizes, speeds and RoundNumber's steps differently from the
# tested 64-bit build.
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
