// scoped_win.h - scoped Win32 objects: whatever is created or selected in a
// block is released or put back when the block ends, on every path.
// Header-only; every window, tool and test of the Windows build uses these
// instead of pairing SelectObject/DeleteObject by hand.
#ifndef KV_UTIL_SCOPED_WIN_H
#define KV_UTIL_SCOPED_WIN_H

#include <windows.h>

// A GDI object (pen, brush, font, bitmap, region) owned by the scope.
template <class H>
class ScopedGdi {
public:
    explicit ScopedGdi(H h = nullptr) : h_(h) {}
    ~ScopedGdi() { reset(); }
    ScopedGdi(const ScopedGdi&) = delete;
    ScopedGdi& operator=(const ScopedGdi&) = delete;
    H get() const { return h_; }
    operator H() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }
    H release() {
        H h = h_;
        h_ = nullptr;
        return h;
    }
    void reset(H h = nullptr) {
        if (h_) DeleteObject(h_);
        h_ = h;
    }

private:
    H h_;
};
typedef ScopedGdi<HPEN> ScopedPen;
typedef ScopedGdi<HBRUSH> ScopedBrush;
typedef ScopedGdi<HFONT> ScopedFont;
typedef ScopedGdi<HBITMAP> ScopedBitmap;
typedef ScopedGdi<HRGN> ScopedRegion;

// Selects an object into a DC and selects back the one it replaced. The
// object itself is not deleted: it belongs to a ScopedGdi or a DrawSet.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? SelectObject(dc, obj) : nullptr) {}
    ~ScopedSelect() {
        if (old_) SelectObject(dc_, old_);
    }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// SaveDC/RestoreDC: mapping mode, text colour, clip region, selections.
class ScopedSaveDC {
public:
    explicit ScopedSaveDC(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
    ~ScopedSaveDC() {
        if (saved_) RestoreDC(dc_, saved_);
    }
    ScopedSaveDC(const ScopedSaveDC&) = delete;
    ScopedSaveDC& operator=(const ScopedSaveDC&) = delete;

private:
    HDC dc_;
    int saved_;
};

// GetDC/ReleaseDC of a window (nullptr: the screen).
class ScopedWindowDC {
public:
    explicit ScopedWindowDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~ScopedWindowDC() {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }
    ScopedWindowDC(const ScopedWindowDC&) = delete;
    ScopedWindowDC& operator=(const ScopedWindowDC&) = delete;
    operator HDC() const { return dc_; }
    HDC get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// BeginPaint/EndPaint of WM_PAINT.
class ScopedPaint {
public:
    explicit ScopedPaint(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd, &ps_); }
    ~ScopedPaint() { EndPaint(hwnd_, &ps_); }
    ScopedPaint(const ScopedPaint&) = delete;
    ScopedPaint& operator=(const ScopedPaint&) = delete;
    operator HDC() const { return dc_; }
    HDC get() const { return dc_; }
    const RECT& dirty() const { return ps_.rcPaint; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_;
    HDC dc_;
};

// A memory DC compatible with `like`, deleted by the scope (for blitting a
// bitmap that a ScopedSelect puts into it).
class ScopedCompatibleDC {
public:
    explicit ScopedCompatibleDC(HDC like) : dc_(CreateCompatibleDC(like)) {}
    ~ScopedCompatibleDC() {
        if (dc_) DeleteDC(dc_);
    }
    ScopedCompatibleDC(const ScopedCompatibleDC&) = delete;
    ScopedCompatibleDC& operator=(const ScopedCompatibleDC&) = delete;
    operator HDC() const { return dc_; }
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

// A memory DC with a top-down 32-bit DIB section of width x height device
// pixels selected into it; bits() reaches the pixels (0x00RRGGBB).
class MemoryDC {
public:
    MemoryDC(HDC like, int width, int height) : w_(width), h_(height) {
        dc_ = CreateCompatibleDC(like);
        if (!dc_ || width <= 0 || height <= 0) return;
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = width;
        bi.bmiHeader.biHeight = -height;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        bmp_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, &bits_, nullptr, 0);
        if (bmp_) old_ = SelectObject(dc_, bmp_);
    }
    ~MemoryDC() {
        if (old_) SelectObject(dc_, old_);
        if (bmp_) DeleteObject(bmp_);
        if (dc_) DeleteDC(dc_);
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    bool ok() const { return bmp_ != nullptr; }
    operator HDC() const { return dc_; }
    HDC get() const { return dc_; }
    int width() const { return w_; }
    int height() const { return h_; }
    DWORD* bits() const { return (DWORD*)bits_; }
    DWORD pixel(int x, int y) const { return bits()[y * w_ + x] & 0xFFFFFF; }

private:
    HDC dc_ = nullptr;
    HBITMAP bmp_ = nullptr;
    HGDIOBJ old_ = nullptr;
    void* bits_ = nullptr;
    int w_, h_;
};

// A memory DC compatible with `like` with a one-bit bitmap of width x height
// pixels selected into it: a mask for raster-operation blits.
class MaskDC {
public:
    MaskDC(HDC like, int width, int height) {
        dc_ = CreateCompatibleDC(like);
        bmp_ = CreateBitmap(width > 0 ? width : 1, height > 0 ? height : 1, 1, 1, nullptr);
        if (dc_ && bmp_) old_ = SelectObject(dc_, bmp_);
    }
    ~MaskDC() {
        if (old_) SelectObject(dc_, old_);
        if (bmp_) DeleteObject(bmp_);
        if (dc_) DeleteDC(dc_);
    }
    MaskDC(const MaskDC&) = delete;
    MaskDC& operator=(const MaskDC&) = delete;
    bool ok() const { return old_ != nullptr; }
    operator HDC() const { return dc_; }

private:
    HDC dc_ = nullptr;
    HBITMAP bmp_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

// A kernel handle closed by the scope (nullptr and INVALID_HANDLE_VALUE are
// both "none").
class ScopedHandle {
public:
    explicit ScopedHandle(HANDLE h = nullptr) : h_(h) {}
    ~ScopedHandle() { reset(); }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    HANDLE get() const { return h_; }
    explicit operator bool() const { return h_ && h_ != INVALID_HANDLE_VALUE; }
    void reset(HANDLE h = nullptr) {
        if (h_ && h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
        h_ = h;
    }

private:
    HANDLE h_;
};

// An enhanced metafile deleted by the scope.
class ScopedEmf {
public:
    explicit ScopedEmf(HENHMETAFILE h = nullptr) : h_(h) {}
    ~ScopedEmf() {
        if (h_) DeleteEnhMetaFile(h_);
    }
    ScopedEmf(const ScopedEmf&) = delete;
    ScopedEmf& operator=(const ScopedEmf&) = delete;
    HENHMETAFILE get() const { return h_; }
    HENHMETAFILE release() {
        HENHMETAFILE h = h_;
        h_ = nullptr;
        return h;
    }

private:
    HENHMETAFILE h_;
};

// A menu destroyed by the scope (menus loaded for a pop-up).
class ScopedMenu {
public:
    explicit ScopedMenu(HMENU h = nullptr) : h_(h) {}
    ~ScopedMenu() {
        if (h_) DestroyMenu(h_);
    }
    ScopedMenu(const ScopedMenu&) = delete;
    ScopedMenu& operator=(const ScopedMenu&) = delete;
    HMENU get() const { return h_; }
    operator HMENU() const { return h_; }

private:
    HMENU h_;
};

// The hourglass while the scope runs (a backup, an export of many orders).
class ScopedWaitCursor {
public:
    ScopedWaitCursor() : previous_(SetCursor(LoadCursorA(nullptr, (LPCSTR)IDC_WAIT))) {}
    ~ScopedWaitCursor() { SetCursor(previous_); }
    ScopedWaitCursor(const ScopedWaitCursor&) = delete;
    ScopedWaitCursor& operator=(const ScopedWaitCursor&) = delete;

private:
    HCURSOR previous_;
};

#endif  // KV_UTIL_SCOPED_WIN_H
