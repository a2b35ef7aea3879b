// drawset_win.h - the drawing resource set: 25 GDI handles created once at
// start-up and handed to the order window, the designer and the printout.
// Other code refers to the entries by their numbers 1-25.
#ifndef KV_RENDER_DRAWSET_WIN_H
#define KV_RENDER_DRAWSET_WIN_H

#include <windows.h>

struct DrawSet {
    HFONT fontNormal;     //  1 "Arial", height -10
    HFONT fontVertical;   //  2 the same, running bottom to top
    HPEN penNavy;         //  3 solid, width 0, RGB(0, 0, 128)
    HPEN penGreen;        //  4 solid, width 0, RGB(0, 128, 0)
    HPEN penDotted;       //  5 dotted, width 0, black
    HPEN penRed;          //  6 solid, width 0, RGB(255, 0, 0)
    HBRUSH brushCanvas;   //  7 RGB(255, 236, 221)
    HBRUSH brushGreen;    //  8 RGB(204, 237, 192)
    HBRUSH brushCyan;     //  9 RGB(198, 234, 236)
    HBRUSH brushRed;      // 10 RGB(255, 0, 0)
    HBRUSH brushGlass;    // 11 RGB(217, 217, 255)
    HBRUSH brushWhite;    // 12 the stock white brush (never deleted)
    HCURSOR cursors[12];  // 13-24 tool cursors 10001-10012
    HPEN penThick;        // 25 solid, width 3, black
};
static_assert(sizeof(DrawSet) == 25 * sizeof(HANDLE), "the drawing set holds 25 handles");
static_assert(offsetof(DrawSet, cursors) == 12 * sizeof(HANDLE), "cursors are entries 13-24");

// The module handed to CreateDrawSet carries the twelve tool cursors under
// these identifiers (the program's resource script and the tests' share them).
constexpr int kDrawSetFirstCursor = 10001;
constexpr int kDrawSetCursorCount = 12;

// Creates every entry; false when one could not be created (the ones made
// are released again).
bool CreateDrawSet(HINSTANCE instance, DrawSet* set);
// Deletes the created objects and cursors; entries become null.
void DestroyDrawSet(DrawSet* set);

// The print copy of `from`: the same fonts, cursors and light brushes, but
// black pens (a dashed one for the dotted entry), a black brush for the red
// one and white for glass, so that a printer gets no colour lines. Only the
// two black pens are the copy's own; false when they could not be made
// (nothing stays created then).
bool CreatePrintDrawSet(const DrawSet* from, DrawSet* copy);
// Deletes the copy's own pens; every entry becomes null. The set it was made
// from is untouched.
void DestroyPrintDrawSet(DrawSet* copy);

// The print copy for one scope; ok() is false when it could not be made.
class ScopedPrintDrawSet {
public:
    explicit ScopedPrintDrawSet(const DrawSet& from) : ok_(CreatePrintDrawSet(&from, &set_)) {}
    ~ScopedPrintDrawSet() {
        if (ok_) DestroyPrintDrawSet(&set_);
    }
    ScopedPrintDrawSet(const ScopedPrintDrawSet&) = delete;
    ScopedPrintDrawSet& operator=(const ScopedPrintDrawSet&) = delete;
    bool ok() const { return ok_; }
    const DrawSet* get() const { return &set_; }

private:
    DrawSet set_;
    bool ok_;
};

// The drawing set of a window on a display of some dpi: at 96 dpi on a
// display of the system's dpi the set it is made from; otherwise a copy
// whose entries that depend on the dpi are its own and the rest shared. Its
// own are the two fonts (height -10 at 96 dpi) and the thick pen (3 pixels
// at 96 dpi) at a dpi other than 96, and the tool cursors at a dpi other
// than the system's (those of the start-up set have the system's cursor
// size). The printout always takes the start-up set.
class ScaledDrawSet {
public:
    ScaledDrawSet() = default;
    ~ScaledDrawSet() { Release(); }
    ScaledDrawSet(const ScaledDrawSet&) = delete;
    ScaledDrawSet& operator=(const ScaledDrawSet&) = delete;

    // Makes the set for `dpi` from `from`, its own cursors (if any) loaded
    // from `module` at the size the system gives cursors at that dpi; false
    // when an entry could not be made, the set made before kept (`from`
    // itself when there was none).
    bool Make(const DrawSet* from, int dpi, HINSTANCE module);
    const DrawSet* get() const { return ownFonts_ || ownCursors_ ? &set_ : from_; }

private:
    void Release();
    const DrawSet* from_ = nullptr;
    DrawSet set_ = {};
    bool ownFonts_ = false;    // fontNormal, fontVertical, penThick
    bool ownCursors_ = false;  // cursors
};

#endif  // KV_RENDER_DRAWSET_WIN_H
