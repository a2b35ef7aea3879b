# libharu 2.3.0, the PDF writer, fetched by tools/fetch-deps.sh; built into
# the Windows build only, where the printout's pages are metafiles. Without
# libpng (no pictures are embedded) and without zlib (page streams stay
# uncompressed: a page of the printout is a few tens of kilobytes).
set(KV_HARU_DIR ${CMAKE_SOURCE_DIR}/.deps/libharu-2.3.0)
if(NOT EXISTS ${KV_HARU_DIR}/src/hpdf_doc.c)
  message(FATAL_ERROR "libharu sources missing: run tools/fetch-deps.sh")
endif()
file(GLOB KV_HARU_SOURCES ${KV_HARU_DIR}/src/*.c)
set(KV_HARU_CONFIG ${CMAKE_BINARY_DIR}/generated/haru)
file(WRITE ${KV_HARU_CONFIG}/hpdf_config.h.new
"/* libharu's configuration for this program. */
#define LIBHPDF_HAVE_NOPNGLIB 1
#define HPDF_NOPNGLIB 1
#define LIBHPDF_HAVE_NOZLIB 1
#define LIBHPDF_STDC_HEADERS 1
#define LIBHPDF_HAVE_STDLIB_H 1
#define LIBHPDF_HAVE_STRING_H 1
")
configure_file(${KV_HARU_CONFIG}/hpdf_config.h.new ${KV_HARU_CONFIG}/hpdf_config.h COPYONLY)
add_library(hpdf STATIC ${KV_HARU_SOURCES})
target_include_directories(hpdf SYSTEM PUBLIC ${KV_HARU_CONFIG} ${KV_HARU_DIR}/include)
target_compile_definitions(hpdf PUBLIC HPDF_NOPNGLIB LIBHPDF_HAVE_NOPNGLIB LIBHPDF_HAVE_NOZLIB)
# Third-party code: built optimised, without our warnings or sanitizers.
target_compile_options(hpdf PRIVATE -O2 -w)
