// pdf_player_win.h - what the two files of the PDF writer share: the
// player of the printout's metafile records (pdf_player_win.cpp) and the
// document around it (pdf_win.cpp).
#ifndef KV_PRINTOUT_PDF_PLAYER_WIN_H
#define KV_PRINTOUT_PDF_PLAYER_WIN_H

#include <windows.h>
#include <hpdf.h>

#include <vector>

namespace pdf {

// Page units are 1/96 inch (the printout's 768 x 960 page); a PDF point is
// 1/72 inch. The 8 x 10 in frame sits in the middle of a Letter page.
constexpr float kPt = 72.0f / 96.0f;
constexpr float kPageWidth = 612, kPageHeight = 792;
constexpr float kLeft = (kPageWidth - 576) / 2, kTop = (kPageHeight - 720) / 2;
// Arial's ascent and descent per unit of its em, as GDI places text.
constexpr float kAscent = 0.905f, kDescent = 0.212f;

inline float X(float x) { return kLeft + x * kPt; }
inline float Y(float y) { return kPageHeight - kTop - y * kPt; }

struct GdiObject {
    enum Kind { kNone, kPen, kBrush, kFont } kind = kNone;
    COLORREF color = 0;
    UINT style = 0;  // pen: PS_*, brush: BS_*
    LONG width = 0;  // pen width, page units
    LOGFONTW font = {};
};

struct DcState {
    GdiObject pen, brush, font;
    COLORREF textColor = 0;
    UINT textAlign = 0;
    int bkMode = OPAQUE;  // GDI's defaults
    COLORREF bkColor = RGB(255, 255, 255);
    POINT position = {0, 0};
    int clipDepth = 0;  // graphics states saved for clipping
};

struct Player {
    HPDF_Doc pdf = nullptr;
    HPDF_Page page = nullptr;
    HPDF_STATUS error = HPDF_OK;
    const char* encoding = "WinAnsiEncoding";
    UINT codePage = 1252;
    bool embedded = false;  // Liberation Sans instead of Helvetica
    HPDF_Font regular = nullptr, bold = nullptr;  // the embedded faces
    bool unwritable = false;  // a text held a letter the encoding lacks
    float deviceToPage = 1;  // clip regions come in the reference device's pixels
    std::vector<GdiObject> objects;
    DcState dc;
    std::vector<DcState> saved;
};

// GDI's stock pen, brush or font as the player keeps it.
GdiObject StockObject(DWORD id);
// Ends every clipping the page's graphics states hold.
void ResetClip(Player& p);
// Plays one metafile record onto the player's current page (an
// ENHMFENUMPROC; ctx is the Player).
int CALLBACK PlayRecord(HDC, HANDLETABLE*, const ENHMETARECORD* rec, int, LPARAM ctx);

}  // namespace pdf

#endif  // KV_PRINTOUT_PDF_PLAYER_WIN_H
