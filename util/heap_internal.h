// heap_internal.h - what the two halves of the private heap share.
#ifndef KV_UTIL_HEAP_INTERNAL_H
#define KV_UTIL_HEAP_INTERNAL_H

// True when the allocation being made is the one KvHeapFailAt chose to fail.
bool KvHeapShouldFail();

#endif  // KV_UTIL_HEAP_INTERNAL_H
