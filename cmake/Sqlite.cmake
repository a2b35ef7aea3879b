# The pinned SQLite amalgamation fetched by tools/fetch-deps.sh, one static library per build.
set(KV_SQLITE_DIR ${CMAKE_SOURCE_DIR}/.deps/sqlite-3.53.2)
if(NOT EXISTS ${KV_SQLITE_DIR}/sqlite3.c)
  message(FATAL_ERROR "SQLite sources missing: run tools/fetch-deps.sh")
endif()

add_library(sqlite3 STATIC ${KV_SQLITE_DIR}/sqlite3.c)
target_include_directories(sqlite3 SYSTEM PUBLIC ${KV_SQLITE_DIR})
target_compile_definitions(sqlite3 PUBLIC
  SQLITE_OMIT_LOAD_EXTENSION
  SQLITE_DEFAULT_FOREIGN_KEYS=0
  SQLITE_DQS=3    # the stored statements quote texts with double quotes
  # Reads through a memory map of the whole file (up to 8 GiB, a register
  # of a million orders and more): a read call per page costs three times
  # the time of the pass itself under Wine. The mapped pages are the
  # file's, which the system shares and drops as it needs.
  SQLITE_MAX_MMAP_SIZE=8589934592
  SQLITE_DEFAULT_MMAP_SIZE=8589934592)
# Third-party code: built optimised, without our warnings or sanitizers.
target_compile_options(sqlite3 PRIVATE -O2 -w)
set_target_properties(sqlite3 PROPERTIES POSITION_INDEPENDENT_CODE ON)
if(NOT WIN32)
  find_package(Threads REQUIRED)
  target_link_libraries(sqlite3 PUBLIC Threads::Threads ${CMAKE_DL_LIBS} m)
endif()
