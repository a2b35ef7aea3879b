// window.h - window records with their operation lists, and lists of windows.
//
// Everything here is allocated from the private heap (util/heap.h) and copied
// deeply: a window record holds no pointer but its operation list, so records
// and operations move with plain byte copies.
//
// Functions that can fail return 1 on success and 0 on failure, write the
// message into `msg` (KV_MSG_LEN bytes, may be null) and leave the caller's
// arrays, lists and counts as they were.
#ifndef KV_MODEL_WINDOW_H
#define KV_MODEL_WINDOW_H

#include <stdint.h>

#include "db/records.h"
#include "model/operations.h"

// ---- Operation lists -------------------------------------------------------

// A new array holding the same `liczba` records. A count <= 0 gives no array
// and count 0. "Error of allocation and copying uniOperRys union".
int CopyOpList(const uniOperRys* zrodlo, int32_t liczba, uniOperRys** wynik, int32_t* liczbaWyn,
                    char* msg);

// Grows the list by one record (or allocates the first) and copies `op` to
// its end. "Error of reallocation of uniOperRys union" /
// "Error of allocation the uniOperRys union".
int AddDrawOp(uniOperRys** lista, int32_t* liczba, const uniOperRys* op, char* msg);

// Copies the whole record over the one at `indeks`. An index outside the
// list changes nothing.
void OverwriteDrawOp(uniOperRys* lista, int32_t liczba, int32_t indeks, const uniOperRys* op);

// Removes the record at `indeks`, moving the later ones down; removing the
// only record releases the list. "Error of reallocation of uniOperRys union".
int DeleteDrawOp(uniOperRys** lista, int32_t* liczba, int32_t indeks, char* msg);

// ---- One window ------------------------------------------------------------

// A zero-filled window record. "Error of allocation of strOkno structure".
int AllocWindow(strOkno** wynik, char* msg);

// Makes *cel a deep copy of `zrodlo`. The copy is made first and only then
// is what *cel held released, so a failure leaves *cel as it was and nothing
// new allocated (and copying a window onto itself is safe).
int CopyWindow(strOkno** cel, const strOkno* zrodlo, char* msg);

// Releases the window's list and the record itself (allocated by AllocWindow
// or CopyWindow).
void FreeWindow(strOkno* okno);

// Window comparison: 1 when both records are equal byte for byte apart from
// the list pointer (and the alignment gap before cenaZReki), both lists have
// the same count, and each pair of operations has the same type 0-5 and the
// same bytes over that type's defining part. Derived values are ignored.
int CompareWindows(const strOkno* kopia, const strOkno* okno);

// ---- Windows of an order ---------------------------------------------------

// Appends a deep copy of `okno`. "Error of allocation the uniOperRys union",
// "Error of reallocation the strOkno structure", "Error of allocation of
// strOkno structure".
int AddWindow(strOkno** okna, int32_t* liczba, const strOkno* okno, char* msg);

// The entry at `indeks` becomes a deep copy of `okno`; its list is resized in
// place ("Error of reallocation of uniOperRys union") or allocated when it had
// none ("Error of allocation the uniOperRys union").
int ReplaceWindow(strOkno* okna, int32_t liczba, int32_t indeks, const strOkno* okno, char* msg);

// Removes the entry at `indeks`; removing the only window releases the array.
// "Error of reallocation the strOkno structure".
int DeleteWindow(strOkno** okna, int32_t* liczba, int32_t indeks, char* msg);

// Releases every window's list, then the array.
void FreeWindows(strOkno* okna, int32_t liczba);

#endif  // KV_MODEL_WINDOW_H
