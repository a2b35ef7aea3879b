# The PostgreSQL client library, one target `kvpq` for both builds. Natively
# it is the system's libpq (libpq-dev). For Windows, tools/build-pq.sh builds
# static OpenSSL and libpq with this build's compiler from the Debian sources
# tools/fetch-deps.sh leaves in .deps/ (the newest of each, should an older
# copy remain), once per build folder; they link into the executable, so no
# DLL comes with them.
add_library(kvpq INTERFACE)
if(NOT WIN32)
  find_package(PostgreSQL REQUIRED)
  target_include_directories(kvpq SYSTEM INTERFACE ${PostgreSQL_INCLUDE_DIRS})
  target_link_libraries(kvpq INTERFACE ${PostgreSQL_LIBRARIES})
  return()
endif()

function(kv_newest_dep var pattern)
  file(GLOB found LIST_DIRECTORIES true ${CMAKE_SOURCE_DIR}/.deps/${pattern})
  list(FILTER found INCLUDE REGEX "[0-9]$")
  list(SORT found COMPARE NATURAL ORDER DESCENDING)
  if(found)
    list(GET found 0 dir)
  endif()
  if(NOT found OR NOT EXISTS ${dir}/.verified)
    message(FATAL_ERROR "${pattern} sources missing: run tools/fetch-deps.sh")
  endif()
  set(${var} ${dir} PARENT_SCOPE)
endfunction()
kv_newest_dep(KV_PG_SRC postgresql-15.*)
kv_newest_dep(KV_SSL_SRC openssl-3.0.*)

set(KV_PQ_DIR ${CMAKE_BINARY_DIR}/pq)
set(launcher "")
if(KV_CCACHE)
  set(launcher ${KV_CCACHE})
endif()
# Link order: libpq before the libraries it calls.
set(KV_PQ_LIBS pq pgcommon_shlib pgport_shlib ssl crypto)
list(TRANSFORM KV_PQ_LIBS REPLACE "(.+)" "${KV_PQ_DIR}/lib/lib\\1.a" OUTPUT_VARIABLE KV_PQ_FILES)
add_custom_command(
  OUTPUT ${KV_PQ_FILES} ${KV_PQ_DIR}/include/libpq-fe.h
  COMMAND ${CMAKE_SOURCE_DIR}/tools/build-pq.sh ${KV_PQ_DIR} ${KV_SSL_SRC} ${KV_PG_SRC}
          ${CMAKE_C_COMPILER} ${launcher}
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/build-pq.sh ${KV_PG_SRC}/.verified ${KV_SSL_SRC}/.verified
  COMMENT "Building OpenSSL and libpq for Windows (a few minutes, once per build folder)"
  USES_TERMINAL)
add_custom_target(kvpq_build DEPENDS ${KV_PQ_FILES})
add_dependencies(kvpq kvpq_build)
target_include_directories(kvpq SYSTEM INTERFACE ${KV_PQ_DIR}/include)
target_link_libraries(kvpq INTERFACE ${KV_PQ_FILES} secur32 shell32 crypt32 ws2_32 gdi32 advapi32 user32)
