# tsm_site_library(<name> <site host> <player host>): the object that tells
# the program which remote sites it talks to. The product uses the cache
# variables; tests build their own with the addresses of their local servers.
function(tsm_site_library name site_host player_host)
  add_library(${name} OBJECT ${PROJECT_SOURCE_DIR}/src/http/site.cpp)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src)
  target_compile_definitions(${name} PRIVATE
    TSM_SITE_HOST="${site_host}" TSM_PLAYER_HOST="${player_host}")
endfunction()
