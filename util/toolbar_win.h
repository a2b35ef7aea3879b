// toolbar_win.h - a toolbar built from a table: its buttons, their texts and
// pictures, the drop-down ones, and the two image lists it draws from.
//
// Every toolbar of the program and of pagora.dll is made here. The pictures
// are one bitmap strip per list (the normal and the greyed one), images side
// by side on magenta, loaded from the given module. The image lists belong to
// the KvToolbar record and are destroyed with it, after the toolbar window:
// keep the record in the window's state.
#ifndef KV_UTIL_TOOLBAR_WIN_H
#define KV_UTIL_TOOLBAR_WIN_H

#include <windows.h>
#include <commctrl.h>

// One entry of a toolbar's table. A separator (BTNS_SEP) takes `image` as
// its width in pixels, 0 for the default width.
struct KvToolButton {
    int image;
    int command;
    BYTE state;  // TBSTATE_ENABLED, ... (0 for a button that starts disabled)
    BYTE style;  // BTNS_BUTTON, BTNS_DROPDOWN, BTNS_CHECKGROUP, BTNS_SEP, ...
    const char* text;
};

struct KvToolbarSetup {
    HINSTANCE instance;  // the module holding the strips
    HWND parent;
    int id;                // the toolbar's child id
    DWORD style;           // WS_CHILD | WS_VISIBLE are added
    int imagesId;          // the strip of pictures
    int disabledImagesId;  // the strip of greyed pictures (0: none)
    int imageWidth;        // one picture's size at 96 dpi; 0 for 16 x 16
    int imageHeight;
    // The same strips drawn at 150 % and 200 %, taken from 132 and from 180
    // dpi on, the pictures then 3/2 and 2 times the size: four consecutive
    // identifiers from this one, the 150 % strip, the 200 % one, then the
    // greyed 150 % and 200 % ones (0: none).
    int largerStripsId;
    const KvToolButton* buttons;
    int buttonCount;
};

// An image list owned by the scope.
class ScopedImageList {
public:
    ScopedImageList() : h_(nullptr) {}
    explicit ScopedImageList(HIMAGELIST h) : h_(h) {}
    ~ScopedImageList() { reset(); }
    ScopedImageList(const ScopedImageList&) = delete;
    ScopedImageList& operator=(const ScopedImageList&) = delete;
    HIMAGELIST get() const { return h_; }
    // Gives the list up to a caller that destroys it itself.
    HIMAGELIST release() {
        HIMAGELIST h = h_;
        h_ = nullptr;
        return h;
    }
    void reset(HIMAGELIST h = nullptr) {
        if (h_) ImageList_Destroy(h_);
        h_ = h;
    }

private:
    HIMAGELIST h_;
};

struct KvToolbar {
    HWND hwnd = nullptr;
    ScopedImageList images;
    ScopedImageList disabledImages;
    KvToolbarSetup setup = {};  // what it was made from, to be made again at another dpi
};

// Which of a toolbar's strips suits `dpi`: 0 the 96-dpi one, 1 the 150 %
// one (from 132 dpi), 2 the 200 % one (from 180 dpi).
int KvPictureScaleIndex(int dpi);

// Creates the toolbar at its parent's dpi, loads the strips for that dpi,
// adds the buttons (separators' widths scaled) and sizes it to its parent.
// False when the window could not be made (a strip that cannot be loaded
// leaves its buttons without pictures). The setup's tables and texts must
// live as long as the toolbar.
bool KvCreateToolbar(const KvToolbarSetup& setup, KvToolbar* toolbar);

// The toolbar of a window moved to a display of `dpi`: the strips for that
// dpi and the buttons again with their separators' widths at that scale,
// each keeping the state and the text the window gave it; sized to its
// parent.
void KvToolbarApplyDpi(KvToolbar* toolbar, int dpi);

// The toolbar's height in pixels, borders included.
int KvToolbarHeight(const KvToolbar& toolbar);

#endif  // KV_UTIL_TOOLBAR_WIN_H
