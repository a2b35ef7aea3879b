// operations.h - one drawing operation of a window (`uniOperRys`).
//
// A window is an ordered list of these; each is one element (frame, mullion,
// sash, filling or muntin) placed between elements that come before it in the
// list. Every field is a 32-bit little-endian integer. The first 152 bytes of
// a record are its stored form (column uOperRysDb of T_OperRysDb): the
// defining part, what the user decided, followed by derived values as they
// stood at saving. Derived values are recomputed from the defining parts after
// every change (model/structure.h for millimetres, the renderer for device
// pixels) and are never trusted from storage.
//
// Coordinates are millimetres with the origin at the frame's outer top-left
// corner, x to the right and y downward; element indices count from 0.
#ifndef KV_MODEL_OPERATIONS_H
#define KV_MODEL_OPERATIONS_H

#include <stddef.h>
#include <stdint.h>

// Element types (byte 0 of every operation).
enum : uint32_t {
    kOpFrame = 0,         // frame, always element 0
    kOpFixedMullion = 1,  // fixed mullion
    kOpFalseMullion = 2,   // false mullion
    kOpSash = 3,     // sash
    kOpFilling = 4,       // filling (glass or acrylic)
    kOpMuntin = 5,       // muntin, lying on a filling
};

// Sides, in the order every four-sided array below uses.
enum : int32_t { kSideLeft = 0, kSideTop = 1, kSideRight = 2, kSideBottom = 3 };

// Bit 0 of an element's flags word: use the element's own thickness rather
// than the window's default for its kind.
enum : int32_t { kFlagOwnThickness = 1 };

// Stored bytes of one operation.
enum { kOpBlobLen = 152 };

// A plain rectangle: left, top, right, bottom. In mm, or in device pixels
// (right and bottom exclusive) where the field says so. Same order as the
// platform's rectangle so the renderer can copy it across.
struct strProst {
    int32_t left, top, right, bottom;
};

// Frame (type 0). Defining part: bytes 0-27.
struct strOperRama {
    uint32_t typ;    // 0
    int32_t x0, y0;  // outer left x and top y, mm (0, 0)
    int32_t x1, y1;  // outer right x = width, outer bottom y = height, mm
    int32_t grub;    // own thickness, mm
    int32_t flagi;   // bit 0: own thickness
    // Derived.
    strProst wewn;     // inner rectangle, mm
    strProst zewnUrz;  // outer rectangle, device pixels
    strProst wewnUrz;  // inner rectangle, device pixels
};

// Fixed mullion (type 1) and false mullion (type 2). Defining part: bytes 0-31.
struct strOperSlupek {
    uint32_t typ;     // 1 or 2
    int32_t rodzaj;   // 0 fixed, 1 false (always typ - 1)
    int32_t poz;      // centre line, mm: y of a horizontal, x of a vertical mullion
    int32_t poziomy;  // non-zero: horizontal
    int32_t ogrPocz;  // bounding element at the left (horizontal) or top (vertical) end
    int32_t ogrKon;   // bounding element at the right or bottom end
    int32_t grub;     // own thickness, mm
    int32_t flagi;    // bit 0: own thickness
    // Derived.
    strProst prost;     // rectangle, mm
    int32_t osUrz;      // centre line, device pixels
    strProst prostUrz;  // rectangle, device pixels
};

// Sash (type 3). Defining part: bytes 0-35.
struct strOperSkrzydlo {
    uint32_t typ;       // 3
    int32_t rodzOtw;    // opening kind: 0 fixed, 1 top/bottom hung, 2 side hung, 3 tilt & turn
    int32_t stronaOtw;  // 1: right (side hung, tilt & turn) or bottom (hung); else left or top
    int32_t ogr[4];     // bounding elements: left, top, right, bottom
    int32_t grub;       // own thickness, mm
    int32_t flagi;      // bit 0: own thickness
    // Derived.
    strProst zewn;     // outer rectangle, mm
    strProst wewn;     // inner rectangle, mm
    strProst zewnUrz;  // outer rectangle, device pixels
    strProst wewnUrz;  // inner rectangle, device pixels
};

enum { kFillingNameLen = 128 };

// Filling (type 4). Defining part: bytes 0-151, the whole stored form.
struct strOperWypeln {
    uint32_t typ;                 // 4
    int32_t typWypeln;            // 0 glass, 1 acrylic
    char nazwa[kFillingNameLen];  // zero-terminated, at most 127 characters
    int32_t ogr[4];               // bounding elements: left, top, right, bottom
    // Derived (beyond the stored bytes).
    strProst prost;     // rectangle, mm
    strProst prostUrz;  // rectangle, device pixels
};

// Muntin (type 5). Defining part: bytes 0-31.
struct strOperSzpros {
    uint32_t typ;     // 5
    int32_t poz;      // centre line, mm
    int32_t poziomy;  // non-zero: horizontal
    int32_t ogrPocz;  // bounding element at the left or top end
    int32_t ogrKon;   // bounding element at the right or bottom end
    int32_t wypeln;   // index of the filling the muntin lies on
    int32_t grub;     // own thickness, mm
    int32_t flagi;    // bit 0: own thickness
    // Derived.
    strProst prost;     // rectangle, mm
    int32_t osUrz;      // centre line, device pixels
    strProst prostUrz;  // rectangle, device pixels
};

union uniOperRys {
    uint32_t typ;  // the element type, common to every member
    strOperRama rama;
    strOperSlupek slupek;
    strOperSkrzydlo skrzydlo;
    strOperWypeln wypeln;
    strOperSzpros szpros;
    unsigned char rawBytes[184];
};

// The layout is a file format: windows saved by any version load in every other.
static_assert(sizeof(strProst) == 16, "rectangle is four 32-bit values");
static_assert(sizeof(uniOperRys) == 184, "an operation is 184 bytes in memory");
static_assert(sizeof(strOperRama) <= kOpBlobLen, "frame fits the stored form");
static_assert(offsetof(strOperRama, x1) == 12 && offsetof(strOperRama, y1) == 16, "frame size at 12");
static_assert(offsetof(strOperRama, grub) == 20 && offsetof(strOperRama, flagi) == 24,
              "frame thickness at 20");
static_assert(offsetof(strOperRama, wewn) == 28, "frame derived values after byte 27");
static_assert(offsetof(strOperSlupek, rodzaj) == 4 && offsetof(strOperSlupek, poz) == 8,
              "mullion kind, position");
static_assert(offsetof(strOperSlupek, poziomy) == 12, "mullion orientation at 12");
static_assert(offsetof(strOperSlupek, ogrPocz) == 16 && offsetof(strOperSlupek, ogrKon) == 20,
              "mullion bounds at 16");
static_assert(offsetof(strOperSlupek, grub) == 24 && offsetof(strOperSlupek, flagi) == 28,
              "mullion thickness at 24");
static_assert(offsetof(strOperSlupek, prost) == 32, "mullion derived values after byte 31");
static_assert(offsetof(strOperSkrzydlo, rodzOtw) == 4 && offsetof(strOperSkrzydlo, stronaOtw) == 8,
              "sash kind");
static_assert(offsetof(strOperSkrzydlo, ogr) == 12, "sash bounds at 12");
static_assert(offsetof(strOperSkrzydlo, grub) == 28 && offsetof(strOperSkrzydlo, flagi) == 32,
              "sash thickness");
static_assert(offsetof(strOperSkrzydlo, zewn) == 36, "sash derived values after byte 35");
static_assert(offsetof(strOperWypeln, typWypeln) == 4 && offsetof(strOperWypeln, nazwa) == 8,
              "filling name at 8");
static_assert(offsetof(strOperWypeln, ogr) == 136, "filling bounds at 136");
static_assert(offsetof(strOperWypeln, prost) == kOpBlobLen,
              "filling derived values beyond the stored bytes");
static_assert(offsetof(strOperSzpros, poz) == 4 && offsetof(strOperSzpros, poziomy) == 8, "muntin position");
static_assert(offsetof(strOperSzpros, ogrPocz) == 12 && offsetof(strOperSzpros, ogrKon) == 16,
              "muntin bounds");
static_assert(offsetof(strOperSzpros, wypeln) == 20, "muntin filling at 20");
static_assert(offsetof(strOperSzpros, grub) == 24 && offsetof(strOperSzpros, flagi) == 28,
              "muntin thickness");
static_assert(offsetof(strOperSzpros, prost) == 32, "muntin derived values after byte 31");

// Bytes of the defining part of an element of this type; 0 for a type above 5.
int32_t DefinitionLength(uint32_t typ);

// The stored form: the first 152 bytes of the record.
void DrawOpToBlob(const uniOperRys* op, unsigned char blob[kOpBlobLen]);

// Reads a stored operation: copies `dlugosc` bytes (at most 152; a shorter
// blob as far as it goes, a null blob none) and zeroes the rest, derived
// values included, so that nothing derived survives from storage.
void BlobToDrawOp(const void* blob, int32_t dlugosc, uniOperRys* op);

// The filling's name as text: a stored name without a terminator in its 128
// bytes reads as its first 127 characters. Returns the length.
int32_t GetFillingName(const strOperWypeln* w, char nazwa[kFillingNameLen]);

// ---- Building operations --------------------------------------------------
// One element from the parameters that define it; every other byte zero
// (own thickness off, derived values empty). Bounds are element indexes.

// The frame, `szer` x `wys` mm.
uniOperRys OpFrame(int32_t szer, int32_t wys);
// A mullion: false (movable) or fixed, its centre line at `poz` mm,
// horizontal or vertical, between the elements `pocz` and `kon`.
uniOperRys OpMullion(bool ruchomy, int32_t poz, bool poziomy, int32_t pocz, int32_t kon);
// A sash of opening kind `rodzOtw` (0-3) opening to `strona`, bounded left,
// top, right, bottom by the elements l, g, p, d.
uniOperRys OpSash(int32_t rodzOtw, int32_t strona, int32_t l, int32_t g, int32_t p, int32_t d);
// A filling of kind `typ` (0 glass, 1 acrylic) named `nazwa` (cut to 127
// characters), bounded by l, g, p, d.
uniOperRys OpFilling(int32_t typ, const char* nazwa, int32_t l, int32_t g, int32_t p, int32_t d);
// A muntin at `poz` mm between `pocz` and `kon`, lying on filling `wypeln`.
uniOperRys OpMuntin(int32_t poz, bool poziomy, int32_t pocz, int32_t kon, int32_t wypeln);

#endif  // KV_MODEL_OPERATIONS_H
