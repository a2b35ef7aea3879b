// kvutil.h - the utility library: amounts, dates, text, paths and messages.
//
// One body of code built into kelvaro.exe, pagora.dll and widgora.dll; both
// libraries export every function below under its undecorated C name.
// Text is 8-bit ANSI, zero-terminated; buffers belong to the caller unless a
// function says it returns a buffer of the library's own.
#ifndef KVUTIL_H
#define KVUTIL_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// ---- Fixed-width tables of strings ----------------------------------------

// Packs `rows` zero-terminated strings, each in a slot of tableSize/rows bytes,
// one after another into dest (terminators kept, no filler). A slot without a
// terminator contributes its first slot-1 bytes. Returns the bytes written.
// REQUIRES: dest has room for tableSize bytes.
int TNapNaT2Tekst(const char* table, int tableSize, int rows, char* dest);

// Unpacks consecutive strings of `packed` into the slots of `table`, each cut
// to its slot. Returns the row count. Reads stop at the first missing string:
// the remaining slots become empty.
// REQUIRES: packed holds `rows` strings or ends early with a zero byte.
int T2TekstNaTNap(const char* packed, int tableSize, int rows, char* table);

// Same as T2TekstNaTNap but never reads past packedLen bytes of `packed`
// (for blobs read from the database, which need not end with a zero).
int T2TekstNaTNapN(const char* packed, int packedLen, int tableSize, int rows, char* table);

// ---- Version text ----------------------------------------------------------

// "version: " followed by the tag's text after its first "-" up to the next
// blank, with every "-" made a "."; "$Name: kelvaro_wer-1-8 $" gives
// "version: 1.8". Returns a buffer of the library's own, overwritten by the
// next call.
const char* DajWersje(const char* tag);

// ---- Messages --------------------------------------------------------------

// The system's message text for `code` (or the library's own message for an
// own code, bit 0x20000000 set), in a buffer of the library's own. With
// `keepLastError` the code is set again as the thread's last error.
const char* DajKomunBledu(uint32_t code, int keepLastError);

#ifdef __cplusplus
}
#endif

#endif  // KVUTIL_H
