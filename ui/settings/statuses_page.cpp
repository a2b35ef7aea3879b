// The page "Orders' statuses": the names of statuses 1-6, each beside its
// picture from the status bitmap that the register of orders shows, drawn
// for the page's dpi.
#include <new>

#include <stdio.h>
#include <string.h>

#include "ui/settings/settings_page_util.h"
#include "ui/settings/settings_pages.h"
#include "ui/settings/settings_rc.h"
#include "util/dpi_win.h"
#include "util/kvutil.h"
#include "util/scoped_win.h"
#include "util/toolbar_win.h"

namespace {

// The status bitmaps: six pictures side by side, of 16, 24 and 32 pixels
// (100, 150 and 200 %).
const int kStatusBitmaps[3] = {10064, 10412, 10413};
const DWORD kMagenta = 0xFF00FF;  // the bitmaps' background, 0x00RRGGBB

struct StatusesPage {
    StatusesPage(strUstUzytk* settings, int dpi)
        : s(settings),
          scale(KvPictureScaleIndex(dpi)),
          size(16 * (2 + scale) / 2),
          pictures(nullptr, 6 * size, size) {}
    strUstUzytk* s;
    int scale;            // the bitmap drawn for the page's dpi
    int size;             // one picture's width and height, device pixels
    MemoryDC pictures;    // the six status pictures
    bool loaded = false;  // the pictures hold the status bitmap
};

int NameEdit(int status) { return IDC_STATUS_NAME_FIRST + 2 * (status - 1); }
int PictureOf(int id) { return (id - IDC_STATUS_PICTURE_FIRST) / 2 + 1; }

void OnLoad(StatusesPage* p, HWND dlg) {
    for (int n = 1; n <= kStatusCount; n++) {
        SetFieldText(dlg, NameEdit(n), p->s->stanyZam[n - 1], kStatusNameLen);
    }
}

void OnStore(StatusesPage* p, HWND dlg) {
    for (int n = 1; n <= kStatusCount; n++) {
        char name[kStatusNameLen];  // at most 31 characters
        GetFieldText(dlg, NameEdit(n), name, sizeof name);
        mojLtrim(name);
        mojPtrim(name);
        // A status always has a name, or the register could not show it.
        if (!name[0]) snprintf(name, sizeof name, "STATUS-%d", n);
        memcpy(p->s->stanyZam[n - 1], name, sizeof name);
    }
}

void OnDrawItem(StatusesPage* p, const DRAWITEMSTRUCT* di) {
    const RECT& r = di->rcItem;
    FillRect(di->hDC, &r, GetSysColorBrush(COLOR_BTNFACE));
    const int n = PictureOf((int)di->CtlID);
    if (!p->loaded || n < 1 || n > kStatusCount) return;
    BitBlt(di->hDC, r.left, r.top, p->size, p->size, p->pictures, p->size * (n - 1), 0, SRCCOPY);
}

// Copies the status bitmap into the page's memory DC once, its magenta
// background (the register's list masks it) turned into the page's colour.
bool LoadPictures(MemoryDC& pictures, int scale) {
    if (!pictures.ok()) return false;
    ScopedBitmap bitmap(LoadBitmapA(PageInstance(), MAKEINTRESOURCEA(kStatusBitmaps[scale])));
    if (!bitmap) return false;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = pictures.width();
    bi.bmiHeader.biHeight = -pictures.height();
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    if (GetDIBits(pictures, bitmap, 0, pictures.height(), pictures.bits(), &bi, DIB_RGB_COLORS) !=
        pictures.height())
        return false;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const DWORD faceRgb = (GetRValue(face) << 16) | (GetGValue(face) << 8) | GetBValue(face);
    for (int i = 0; i < pictures.width() * pictures.height(); i++) {
        if ((pictures.bits()[i] & 0xFFFFFF) == kMagenta) pictures.bits()[i] = faceRgb;
    }
    return true;
}

BOOL OnInitDialog(StatusesPage* p, HWND dlg) {
    for (int n = 1; n <= kStatusCount; n++) {
        SendDlgItemMessageA(dlg, NameEdit(n), EM_LIMITTEXT, kStatusNameLen - 1, 0);
        // The pictures are exactly one status image, whatever the font.
        SetWindowPos(GetDlgItem(dlg, NameEdit(n) - 1), nullptr, 0, 0, p->size, p->size,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    p->loaded = LoadPictures(p->pictures, p->scale);
    OnLoad(p, dlg);
    return FALSE;
}

const KvPageHandlers<StatusesPage> kHandlers = {OnInitDialog, OnLoad,  OnStore, nullptr, OnDrawItem,
                                                nullptr,      nullptr, false,   false};

}  // namespace

HWND CreateStatusesPage(HWND parent, strUstUzytk* settings) {
    if (!settings) return nullptr;
    return CreatePageDialog(parent, IDD_PAGE_STATUSES, KvPageProc<StatusesPage, kHandlers>,
                            new (std::nothrow) StatusesPage(settings, KvDpiForWindow(parent)));
}
