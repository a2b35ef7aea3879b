// structure.h - element geometry, the areas of a window and the insertion
// rules.
//
// The operation list (model/operations.h) is turned into millimetre rectangles (the
// element geometry pass) and divided into areas (`strObsOkno`), each a
// rectangular region between four bounding elements. The designer asks the
// insertion rules whether an element may go into an area and runs the change
// check on every change; drawing, the description and the Uw read the areas.
//
// Facing edge: whenever something takes a side from a bounding element it
// takes the edge that faces it: of the frame and of a sash their inner
// rectangle's side (a sash bounds only what lies inside it), of a mullion or
// muntin its rectangle's opposite side (the right edge of a left bound).
//
// Functions that can fail return 1 on success and 0 on failure with a
// message in `msg` (KV_MSG_LEN bytes, may be null).
#ifndef KV_MODEL_STRUCTURE_H
#define KV_MODEL_STRUCTURE_H

#include <stdint.h>

#include "db/records.h"
#include "model/operations.h"

// One area of a window.
struct strObsOkno {
    int32_t ogr[4];      // bounding elements: left, top, right, bottom (indices)
    int32_t hasFilling;  // 1 when a filling occupies the area
    int32_t wypeln;      // index of that filling
    int32_t os[4];       // axis coordinates of the four bounds, mm (frame: its outer
                         // edge; mullion, muntin: its centre line). Orders positions
                         // during the area search only.
    strProst prost;      // clear opening, mm
    strProst prostUrz;   // clear opening, device pixels (only when asked for)
};
static_assert(sizeof(strObsOkno) == 72, "an area is eighteen 32-bit values");

// ---- Thickness -------------------------------------------------------------

// Structure format from a window's status word: low three bits 0, 1, 2 give
// formats 0, 1, 2, value 4 gives format 5; anything else gives -1 (none).
int32_t StructureFormat(int32_t status);

// Thickness of an element in mm: its own with the own-thickness flag or in
// format 2; in format 5 the window's default for its kind (frame, sash, fixed
// or false mullion from sGrubProf, muntin from grubSzpros); else -1 (none,
// the element is invalid). A filling has no thickness: 0.
int32_t ElementThickness(const uniOperRys* op, int32_t format, const strOkno* okno);

// ---- Element geometry ------------------------------------------------------

// Computes the millimetre rectangles of element `indeks` from its bounds,
// which must come before it and be computed already. Refuses, with "Wrong
// definition of the frame/mullion/sash/filling/muntin", a bound index that
// is not an earlier element, a bound of a type the element does not accept
// (mullion and sash: frame, mullion, sash; filling: frame, fixed mullion,
// muntin, sash; muntin: also a muntin), a muntin's filling index that is not
// an earlier filling, an element without thickness, a frame not at index 0 or
// without a positive width and height, and a result outside 32 bits.
// Types above 5 are passed over.
int ComputeElement(uniOperRys* lista, int32_t liczba, int32_t indeks, int32_t format, const strOkno* okno,
                  char* msg);

// The element geometry pass: ComputeElement for every element in list order,
// stopping at the first failure.
int ComputeGeometry(uniOperRys* lista, int32_t liczba, int32_t format, const strOkno* okno, char* msg);

// ---- Structure -------------------------------------------------------------

// Builds the table of areas of elements 0 .. limit-1 (limit 0: all). One
// area for the frame and one for every mullion (and muntin when
// `muntinsDivide`); a sash turns its area into its interior (all four bounds
// the sash), a filling marks its area filled. Rectangles are computed from
// the derived values, device rectangles too when `zUrz`. On success the
// caller releases *tabela with FreeStructure; count 0 and no table when
// nothing counts. Messages: "Error of allocation the table of strObsOkno
// structures", "Wrong structure of the window", and that followed by
// "\r\nIncorrect frame/mullion/sash/filling/muntin" (a damaged element, or
// one that finds no area).
int BuildStructure(const uniOperRys* lista, int32_t liczba, int32_t limit, int zUrz, int muntinsDivide,
                   strObsOkno** tabela, int32_t* liczbaObs, char* msg);
void FreeStructure(strObsOkno* tabela);

// Index of the first area a mullion or muntin divides (its end bounds are the
// area's side bounds and its position lies strictly between the other two
// axes), or -1.
int32_t DividedArea(const uniOperRys* op, const strObsOkno* tabela, int32_t liczbaObs);

// Index of the first area whose four bounds equal those of a sash or
// filling, or -1.
int32_t BoundedArea(const uniOperRys* op, const strObsOkno* tabela, int32_t liczbaObs);

// ---- Rules -----------------------------------------------------------------

// Kind code for the insertion rules: a mullion or muntin's orientation in
// bit 0, a sash's opening kind * 2 (+ 8 for the right or bottom variant),
// 0 for a filling.
int32_t KindCode(const uniOperRys* op);

// Insertion rules: 1 when an element of type `typ` (1-5, kind `kod`) may go
// into area `obs` of the list, 0 (with the rule's message when msg is given)
// when not. Only format 5 knows glass.
int CheckInsertion(uint32_t typ, int32_t kod, const strObsOkno* obs, const uniOperRys* lista,
                      int32_t liczba, int32_t format, char* msg);

// Change check: 1 when every element of the list with the change applied
// (pozycja -1: `op` appended; -2: no change; else `op` replaces that element)
// finds its area among the elements before it and passes the insertion
// rules there. The list is not changed.
int CheckChange(const uniOperRys* lista, int32_t liczba, const uniOperRys* op, int32_t pozycja,
                  int32_t format, char* msg);

// Area clearance check: 0 ok; 1 the clear width or height is below
// `minProfil` (applies unless both bounds of the pair are muntins); 2 below
// `minSzpros` (applies when one of them is a muntin); 3 a bound that is not a
// frame, mullion, sash or muntin.
int CheckClearance(const strObsOkno* obs, const uniOperRys* lista, int32_t liczba, int32_t minProfil,
                    int32_t minSzpros);

// ---- Editing and queries ---------------------------------------------------

// Deletes element `indeks` and every element that depends on it (bounded by
// it, or a muntin lying on it), transitively; later indices close up. The list
// changes only on success: "Error of reallocation of uniOperRys union".
// Deleting the frame removes every element.
int DeleteElement(uniOperRys** lista, int32_t* liczba, int32_t indeks, char* msg);

// Edge coordinate of an element on side 0-3 (left, top, right, bottom): the
// frame's outer edge, a mullion's or muntin's position, a sash's outer
// rectangle side; -1 for anything else.
int32_t ElementEdge(int32_t indeks, int32_t strona, const uniOperRys* lista, int32_t liczba);

// Distinct fillings, in list order: skips a filling whose name, trimmed of
// blanks and tabs and upper-cased, is empty or equals that of an earlier
// filling of the same type. `pozycja` is the caller's cursor (start at 0).
// Returns 1 with the stored name (nazwa) and type (typ may be null), or 0 at
// the end.
int NextDistinctFilling(int32_t* pozycja, const uniOperRys* lista, int32_t liczba, char nazwa[kFillingNameLen],
                    int32_t* typ);

// The same with one position kept here; `restart` resets it first.
int GetDistinctFilling(int restart, const uniOperRys* lista, int32_t liczba, char nazwa[kFillingNameLen],
                   int32_t* typ);

// Number (from 1) of the distinct filling that the filling at `indeks`
// shows under: the drawing labels each filling with it. 0 when `indeks` is not
// a filling or its name is blank.
int32_t FillingNumber(const uniOperRys* lista, int32_t liczba, int32_t indeks);

// Number of elements of type 0 or 3.
int32_t FrameAndSashCount(const strOkno* okno);

// Frame width * height * waga / 1 000 000 rounded half up: the weight in the
// unit of `waga` (per square metre). 0 without a frame.
int64_t WindowWeight(const strOkno* okno, int32_t waga);

#endif  // KV_MODEL_STRUCTURE_H
