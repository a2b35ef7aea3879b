// msgbuf.h - the caller's message buffer of every operation that can fail.
//
// An operation that can fail returns 1 (or a count) on success and 0 (or -1)
// on failure, and writes an English message with "\r\n" line breaks into the
// caller's buffer of KV_MSG_LEN bytes. A null buffer means "report nothing".
#ifndef KV_UTIL_MSGBUF_H
#define KV_UTIL_MSGBUF_H

enum { KV_MSG_LEN = 2048 };

// printf into msg (KV_MSG_LEN bytes), cut to fit; nothing when msg is null.
void KvMsg(char* msg, const char* fmt, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;

#endif  // KV_UTIL_MSGBUF_H
