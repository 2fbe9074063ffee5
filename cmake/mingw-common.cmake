# Shared by the mingw tool-chain files; they set TSM_MINGW_TRIPLET and
# TSM_WINE_LOADER first.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${TSM_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TSM_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TSM_MINGW_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TSM_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# ctest runs the test executables through Wine, in a prefix of the build tree.
set(CMAKE_CROSSCOMPILING_EMULATOR
    "${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run;--loader;${TSM_WINE_LOADER};--prefix;${CMAKE_BINARY_DIR}/wineprefix")
