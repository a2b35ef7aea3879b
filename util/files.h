// files.h - whole files read into memory and written so that a failure
// never leaves half a file under the name asked for.
#ifndef KV_UTIL_FILES_H
#define KV_UTIL_FILES_H

#include <stddef.h>

#include <string>

// Reads the whole file. False with "Cannot read the file ..." in msg.
bool KvReadWholeFile(const char* path, std::string* data, char* msg);

// Writes `data` to "<path>.part" and renames it to `path` (replacing a file
// there) only when every byte is on disk. False with "Cannot write the file
// ..." in msg; the unfinished file is removed and a file that was at `path` stays.
bool KvWriteWholeFile(const char* path, const void* data, size_t size, char* msg);

#endif  // KV_UTIL_FILES_H
