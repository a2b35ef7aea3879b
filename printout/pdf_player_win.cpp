// The printout's metafile records played onto a PDF page: pens, brushes,
// fonts, lines, shapes, text placed where GDI placed it, clipping and the
// saved states of the device context.
#include "printout/pdf_player_win.h"

#include <math.h>
#include <stddef.h>
#include <string.h>

#include <string>
#include <vector>

#include "util/platform.h"

namespace pdf {

namespace {

void SetColour(Player& p, COLORREF c, bool stroke) {
    const float r = GetRValue(c) / 255.0f, g = GetGValue(c) / 255.0f, b = GetBValue(c) / 255.0f;
    if (stroke) HPDF_Page_SetRGBStroke(p.page, r, g, b);
    else HPDF_Page_SetRGBFill(p.page, r, g, b);
}

// The pen into the graphics state; false for the null pen.
bool UsePen(Player& p) {
    const GdiObject& pen = p.dc.pen;
    const UINT style = pen.style & PS_STYLE_MASK;
    if (style == PS_NULL) return false;
    SetColour(p, pen.color, true);
    HPDF_Page_SetLineWidth(p.page, (pen.width > 1 ? (float)pen.width : 1.0f) * kPt);
    static const HPDF_UINT16 kDash[] = {4, 2}, kDot[] = {1, 1};
    if (style == PS_DASH) HPDF_Page_SetDash(p.page, kDash, 2, 0);
    else if (style == PS_DOT || style == PS_DASHDOT || style == PS_DASHDOTDOT)
        HPDF_Page_SetDash(p.page, kDot, 2, 0);
    else HPDF_Page_SetDash(p.page, nullptr, 0, 0);
    return true;
}

bool UseBrush(Player& p) {
    if (p.dc.brush.style == BS_NULL || p.dc.brush.kind != GdiObject::kBrush) return false;
    SetColour(p, p.dc.brush.color, false);
    return true;
}

// A line between pixel centres, as GDI draws a one-pixel pen.
void Line(Player& p, POINT a, POINT b) {
    if (!UsePen(p)) return;
    HPDF_Page_MoveTo(p.page, X(a.x + 0.5f), Y(a.y + 0.5f));
    HPDF_Page_LineTo(p.page, X(b.x + 0.5f), Y(b.y + 0.5f));
    HPDF_Page_Stroke(p.page);
}

// GDI's rectangle: the outline on its outer pixels, the inside filled.
void Rect(Player& p, const RECTL& r) {
    const bool fill = UseBrush(p), stroke = UsePen(p);
    if (!fill && !stroke) return;
    const float l = X(r.left + 0.5f), t = Y(r.top + 0.5f);
    const float w = (r.right - r.left - 1) * kPt, h = (r.bottom - r.top - 1) * kPt;
    HPDF_Page_Rectangle(p.page, l, t - h, w, h);
    if (fill && stroke) HPDF_Page_FillStroke(p.page);
    else if (fill) HPDF_Page_Fill(p.page);
    else HPDF_Page_Stroke(p.page);
}

template <class Pt>
void Poly(Player& p, const Pt* pts, DWORD n, bool closed) {
    if (n < 2) return;
    const bool fill = closed && UseBrush(p), stroke = UsePen(p);
    if (!fill && !stroke) return;
    HPDF_Page_MoveTo(p.page, X(pts[0].x + 0.5f), Y(pts[0].y + 0.5f));
    for (DWORD i = 1; i < n; i++) HPDF_Page_LineTo(p.page, X(pts[i].x + 0.5f), Y(pts[i].y + 0.5f));
    if (closed) HPDF_Page_ClosePath(p.page);
    if (fill && stroke) HPDF_Page_FillStroke(p.page);
    else if (fill) HPDF_Page_Fill(p.page);
    else HPDF_Page_Stroke(p.page);
}

// The font with the metrics of the face asked for: a standard one, or the
// embedded face for a code page the standard fonts do not cover.
HPDF_Font Font(Player& p, const LOGFONTW& f) {
    const bool bold = f.lfWeight >= FW_SEMIBOLD, italic = f.lfItalic != 0;
    if (p.embedded) return bold ? p.bold : p.regular;
    std::string family = "Helvetica";
    if (!_wcsnicmp(f.lfFaceName, L"Courier", 7)) family = "Courier";
    else if (!_wcsnicmp(f.lfFaceName, L"Times", 5)) family = "Times";
    std::string name = family;
    if (family == "Times")
        name = bold && italic ? "Times-BoldItalic"
               : bold         ? "Times-Bold"
               : italic       ? "Times-Italic"
                              : "Times-Roman";
    else if (bold || italic) name += std::string("-") + (bold ? "Bold" : "") + (italic ? "Oblique" : "");
    return HPDF_GetFont(p.pdf, name.c_str(), p.encoding);
}

// GDI's spacing of the record's characters, page units: where each one
// starts after the one before. False when the record has none that fits it.
bool Spacing(const EMREXTTEXTOUTW* r, std::vector<LONG>* dx) {
    const EMRTEXT& t = r->emrtext;
    const uint64_t stride = (t.fOptions & ETO_PDY) ? 2 : 1;  // with ETO_PDY: x, y pairs
    if (t.offDx < sizeof(EMR) || (uint64_t)t.offDx + t.nChars * stride * sizeof(LONG) > r->emr.nSize) return false;
    dx->resize(t.nChars);
    const BYTE* at = (const BYTE*)r + t.offDx;
    for (DWORD i = 0; i < t.nChars; i++) memcpy(&(*dx)[i], at + i * stride * sizeof(LONG), sizeof(LONG));
    return true;
}

// The characters as one TJ with GDI's spacing: each word and each space
// starts where GDI put it, and the letters of a word follow one another by
// the font's advances, scaled (Tz) to the width GDI gave the whole run, as
// its hinting makes them a little wider or narrower at the display's dpi (a
// spacing far from the font's, set on purpose, only moves the words). Inside
// a word GDI's positions are whole page units, and a reader that found a
// pixel's gap there would break the word in two. The last letter never ends
// past the run's end, so a text GDI fitted into a cell or the page's frame
// stays inside. libharu has no TJ of its own: its text calls place every
// character by the font's widths alone.
void ShowPlaced(Player& p, HPDF_Font font, const std::string& bytes, const std::vector<LONG>& dx, float em) {
    std::vector<HPDF_UINT> advance(bytes.size());  // thousandths of the em
    double natural = 0, total = 0;                 // thousandths of the em; page units
    for (size_t i = 0; i < bytes.size(); i++) {
        // The width also tells libharu which glyphs the embedded font needs.
        advance[i] = HPDF_Font_TextWidth(font, (const HPDF_BYTE*)&bytes[i], 1).width;
        natural += advance[i];
        total += dx[i];
    }
    double scale = natural > 0 && total > 0 ? total * 1000 / (natural * em) : 1;
    scale = scale < 0.9 ? 0.9 : scale > 1.1 ? 1.1 : scale;
    const double unit = em * scale / 1000;  // page units of one thousandth
    const double end = total / unit;        // the run's end, thousandths
    HPDF_Page_SetHorizontalScalling(p.page, (HPDF_REAL)(scale * 100));
    HPDF_Stream out = ((HPDF_PageAttr)p.page->attr)->stream;
    std::string run;
    double placed = 0, wanted = 0;  // thousandths from the start
    HPDF_Stream_WriteChar(out, '[');
    for (size_t i = 0; i < bytes.size(); i++) {
        long shift = 0;
        if (i > 0 && (bytes[i] == ' ' || bytes[i - 1] == ' ')) shift = lround(placed - wanted);
        if (i + 1 == bytes.size() && placed - shift + advance[i] > end) shift = (long)ceil(placed + advance[i] - end);
        if (i > 0 && shift != 0) {
            HPDF_Stream_WriteEscapeText2(out, run.data(), (HPDF_UINT)run.size());
            HPDF_Stream_WriteInt(out, (HPDF_INT)shift);
            run.clear();
            placed -= (double)shift;
        }
        run += bytes[i];
        placed += advance[i];
        wanted += dx[i] / unit;
    }
    HPDF_Stream_WriteEscapeText2(out, run.data(), (HPDF_UINT)run.size());
    HPDF_Stream_WriteStr(out, "] TJ\012");
}

// What GDI paints under a text: an opaque background fills the characters'
// cells (so the drawing's labels hide the lines under them, as on paper),
// and ETO_OPAQUE its rectangle. The cell runs `width` points along the text
// from the baseline point (x, y) at `angle`.
void Background(Player& p, const EMRTEXT& t, float x, float y, float angle, float width, float em) {
    const bool cells = p.dc.bkMode == OPAQUE, box = (t.fOptions & ETO_OPAQUE) && t.rcl.right > t.rcl.left &&
                                                   t.rcl.bottom > t.rcl.top;
    if (!cells && !box) return;
    SetColour(p, p.dc.bkColor, false);
    if (box) {
        const float l = X((float)t.rcl.left), r = X((float)t.rcl.right), b = Y((float)t.rcl.bottom);
        HPDF_Page_Rectangle(p.page, l, b, r - l, Y((float)t.rcl.top) - b);
        HPDF_Page_Fill(p.page);
    }
    if (cells) {
        const float dx = cosf(angle), dy = sinf(angle), up = kAscent * em * kPt, down = kDescent * em * kPt;
        HPDF_Page_MoveTo(p.page, x + dy * down, y - dx * down);
        HPDF_Page_LineTo(p.page, x + dx * width + dy * down, y + dy * width - dx * down);
        HPDF_Page_LineTo(p.page, x + dx * width - dy * up, y + dy * width + dx * up);
        HPDF_Page_LineTo(p.page, x - dy * up, y + dx * up);
        HPDF_Page_ClosePath(p.page);
        HPDF_Page_Fill(p.page);
    }
}

// Returns false when the text holds a letter the PDF's encoding has no code for.
bool Text(Player& p, const EMREXTTEXTOUTW* r) {
    const EMRTEXT& t = r->emrtext;
    if (t.nChars == 0 || t.offString < sizeof(EMR) ||
        (uint64_t)t.offString + (uint64_t)t.nChars * 2 > r->emr.nSize)
        return true;
    const wchar_t* s = (const wchar_t*)((const BYTE*)r + t.offString);
    std::string bytes((size_t)t.nChars * 2 + 1, '\0');
    BOOL lost = FALSE;
    const int n = WideCharToMultiByte(p.codePage, WC_NO_BEST_FIT_CHARS, s, (int)t.nChars, &bytes[0],
                                      (int)bytes.size(), nullptr, &lost);
    if (lost) return false;  // never a "?" in its place
    if (n <= 0) return true;
    bytes.resize((size_t)n);
    const LOGFONTW& lf = p.dc.font.font;
    // A negative height is the em; a positive one the cell (ascent + descent).
    const float em = lf.lfHeight < 0   ? (float)-lf.lfHeight
                     : lf.lfHeight > 0 ? lf.lfHeight / (kAscent + kDescent)
                                       : 12.0f;
    HPDF_Font font = Font(p, lf);
    if (!font) return true;
    // Where GDI put the characters; without its spacing, the font's widths.
    std::vector<LONG> dx;
    if (!Spacing(r, &dx) || dx.size() != bytes.size()) {
        dx.resize(bytes.size());
        for (size_t i = 0; i < bytes.size(); i++)
            dx[i] = lround(HPDF_Font_TextWidth(font, (const HPDF_BYTE*)&bytes[i], 1).width * em / 1000.0f);
    }
    float width = 0;  // points
    for (LONG d : dx) width += (float)d * kPt;
    const float angle = (float)lf.lfEscapement / 10.0f * 3.14159265f / 180.0f;
    const float dx0 = cosf(angle), dy0 = sinf(angle);  // along the text, PDF axes
    const float nx = -dy0, ny = dx0;                   // up from the baseline
    POINTL ref = t.ptlReference;
    if (p.dc.textAlign & TA_UPDATECP) ref = {p.dc.position.x, p.dc.position.y};
    float x = X((float)ref.x), y = Y((float)ref.y);
    const UINT h = p.dc.textAlign & (TA_LEFT | TA_RIGHT | TA_CENTER),
               v = p.dc.textAlign & (TA_TOP | TA_BOTTOM | TA_BASELINE);
    const float along = h == TA_CENTER ? -width / 2 : h == TA_RIGHT ? -width : 0;
    const float up = v == TA_BASELINE ? 0 : v == TA_BOTTOM ? kDescent * em * kPt : -kAscent * em * kPt;
    x += dx0 * along + nx * up;
    y += dy0 * along + ny * up;
    Background(p, t, x, y, angle, width, em);
    HPDF_Page_BeginText(p.page);
    HPDF_Page_SetFontAndSize(p.page, font, em * kPt);
    SetColour(p, p.dc.textColor, false);
    HPDF_Page_SetTextMatrix(p.page, dx0, dy0, -dy0, dx0, x, y);
    ShowPlaced(p, font, bytes, dx, em);
    HPDF_Page_EndText(p.page);
    return true;
}

void ClipRects(Player& p, const RECT* rects, DWORD n, float scale) {
    HPDF_Page_GSave(p.page);
    p.dc.clipDepth++;
    for (DWORD i = 0; i < n; i++) {
        const float l = X(rects[i].left * scale), t = Y(rects[i].top * scale);
        const float w = (rects[i].right - rects[i].left) * scale * kPt,
                    h = (rects[i].bottom - rects[i].top) * scale * kPt;
        HPDF_Page_Rectangle(p.page, l, t - h, w, h);
    }
    HPDF_Page_Clip(p.page);
    HPDF_Page_EndPath(p.page);
}

void SelectClip(Player& p, const EMREXTSELECTCLIPRGN* r) {
    ResetClip(p);
    if (r->cbRgnData < sizeof(RGNDATAHEADER) || r->iMode != RGN_COPY) return;
    if ((uint64_t)r->cbRgnData + offsetof(EMREXTSELECTCLIPRGN, RgnData) > r->emr.nSize) return;
    const RGNDATA* d = (const RGNDATA*)r->RgnData;
    if ((uint64_t)d->rdh.nCount * sizeof(RECT) + sizeof(RGNDATAHEADER) > r->cbRgnData) return;
    ClipRects(p, (const RECT*)d->Buffer, d->rdh.nCount, p.deviceToPage);
}

void SelectObjectRecord(Player& p, DWORD index) {
    GdiObject o;
    if (index & 0x80000000u) o = StockObject(index & 0x7FFFFFFFu);
    else if (index < p.objects.size()) o = p.objects[index];
    if (o.kind == GdiObject::kPen) p.dc.pen = o;
    else if (o.kind == GdiObject::kBrush) p.dc.brush = o;
    else if (o.kind == GdiObject::kFont) p.dc.font = o;
}

GdiObject* Slot(Player& p, DWORD index) {
    if (index >= 65536) return nullptr;  // no page of ours makes that many
    if (index >= p.objects.size()) p.objects.resize(index + 1);
    return &p.objects[index];
}

// The fixed-size head of each record kind read below: a shorter record is passed
// over rather than read past its end.
size_t FixedSize(DWORD type) {
    switch (type) {
        case EMR_HEADER: return offsetof(ENHMETAHEADER, szlMillimeters) + sizeof(SIZEL);
        case EMR_CREATEPEN: return sizeof(EMRCREATEPEN);
        case EMR_EXTCREATEPEN: return offsetof(EMREXTCREATEPEN, elp.elpStyleEntry);
        case EMR_CREATEBRUSHINDIRECT: return sizeof(EMRCREATEBRUSHINDIRECT);
        case EMR_EXTCREATEFONTINDIRECTW: return offsetof(EMREXTCREATEFONTINDIRECTW, elfw) + sizeof(LOGFONTW);
        case EMR_SELECTOBJECT: return sizeof(EMRSELECTOBJECT);
        case EMR_DELETEOBJECT: return sizeof(EMRDELETEOBJECT);
        case EMR_SETTEXTALIGN: return sizeof(EMRSETTEXTALIGN);
        case EMR_SETTEXTCOLOR: return sizeof(EMRSETTEXTCOLOR);
        case EMR_SETBKMODE: return sizeof(EMRSETBKMODE);
        case EMR_SETBKCOLOR: return sizeof(EMRSETBKCOLOR);
        case EMR_MOVETOEX: return sizeof(EMRMOVETOEX);
        case EMR_LINETO: return sizeof(EMRLINETO);
        case EMR_RECTANGLE: return sizeof(EMRRECTANGLE);
        case EMR_POLYLINE16:
        case EMR_POLYGON16: return offsetof(EMRPOLYLINE16, apts);
        case EMR_POLYLINE:
        case EMR_POLYGON: return offsetof(EMRPOLYLINE, aptl);
        case EMR_EXTTEXTOUTW: return sizeof(EMREXTTEXTOUTW);
        case EMR_RESTOREDC: return sizeof(EMRRESTOREDC);
        case EMR_EXTSELECTCLIPRGN: return offsetof(EMREXTSELECTCLIPRGN, RgnData);
        case EMR_INTERSECTCLIPRECT: return sizeof(EMRINTERSECTCLIPRECT);
    }
    return sizeof(EMR);
}

// RestoreDC(n): a negative n goes back that many saved states, a positive
// one to the n-th state saved.
void RestoreState(Player& p, int relative) {
    const int count = relative < 0 ? -relative : (int)p.saved.size() - relative + 1;
    if (count <= 0 || count > (int)p.saved.size()) return;
    p.saved.resize(p.saved.size() - (size_t)(count - 1));
    const int depth = p.saved.back().clipDepth;
    for (; p.dc.clipDepth > depth; p.dc.clipDepth--) HPDF_Page_GRestore(p.page);
    const int kept = p.dc.clipDepth;
    p.dc = p.saved.back();
    p.dc.clipDepth = kept;
    p.saved.pop_back();
}

}  // namespace

GdiObject StockObject(DWORD id) {
    GdiObject o;
    switch (id) {
        case WHITE_BRUSH: o.kind = GdiObject::kBrush, o.color = RGB(255, 255, 255); break;
        case LTGRAY_BRUSH: o.kind = GdiObject::kBrush, o.color = RGB(192, 192, 192); break;
        case GRAY_BRUSH: o.kind = GdiObject::kBrush, o.color = RGB(128, 128, 128); break;
        case DKGRAY_BRUSH: o.kind = GdiObject::kBrush, o.color = RGB(64, 64, 64); break;
        case BLACK_BRUSH: o.kind = GdiObject::kBrush, o.color = 0; break;
        case NULL_BRUSH: o.kind = GdiObject::kBrush, o.style = BS_NULL; break;
        case WHITE_PEN: o.kind = GdiObject::kPen, o.color = RGB(255, 255, 255); break;
        case BLACK_PEN: o.kind = GdiObject::kPen, o.color = 0; break;
        case NULL_PEN: o.kind = GdiObject::kPen, o.style = PS_NULL; break;
        default:
            if (id == DEFAULT_GUI_FONT || id == SYSTEM_FONT || id == ANSI_VAR_FONT) {
                o.kind = GdiObject::kFont;
                o.font.lfHeight = -11;
                o.font.lfWeight = FW_NORMAL;
            }
    }
    return o;
}

void ResetClip(Player& p) {
    for (; p.dc.clipDepth > 0; p.dc.clipDepth--) HPDF_Page_GRestore(p.page);
}

int CALLBACK PlayRecord(HDC, HANDLETABLE*, const ENHMETARECORD* rec, int, LPARAM ctx) {
    Player& p = *(Player*)ctx;
    if (rec->nSize < FixedSize(rec->iType)) return 1;
    switch (rec->iType) {
        case EMR_HEADER: {
            const ENHMETAHEADER* h = (const ENHMETAHEADER*)rec;
            if (h->szlDevice.cx > 0 && h->szlMillimeters.cx > 0)
                p.deviceToPage = (96.0f / 25.4f) / ((float)h->szlDevice.cx / (float)h->szlMillimeters.cx);
            break;
        }
        case EMR_CREATEPEN: {
            const EMRCREATEPEN* r = (const EMRCREATEPEN*)rec;
            if (GdiObject* o = Slot(p, r->ihPen)) {
                *o = GdiObject();
                o->kind = GdiObject::kPen, o->style = r->lopn.lopnStyle, o->width = r->lopn.lopnWidth.x;
                o->color = r->lopn.lopnColor;
            }
            break;
        }
        case EMR_EXTCREATEPEN: {
            const EMREXTCREATEPEN* r = (const EMREXTCREATEPEN*)rec;
            if (GdiObject* o = Slot(p, r->ihPen)) {
                *o = GdiObject();
                o->kind = GdiObject::kPen, o->style = r->elp.elpPenStyle, o->width = (LONG)r->elp.elpWidth;
                o->color = r->elp.elpColor;
            }
            break;
        }
        case EMR_CREATEBRUSHINDIRECT: {
            const EMRCREATEBRUSHINDIRECT* r = (const EMRCREATEBRUSHINDIRECT*)rec;
            if (GdiObject* o = Slot(p, r->ihBrush)) {
                *o = GdiObject();
                o->kind = GdiObject::kBrush, o->style = r->lb.lbStyle, o->color = r->lb.lbColor;
            }
            break;
        }
        case EMR_EXTCREATEFONTINDIRECTW: {
            const EMREXTCREATEFONTINDIRECTW* r = (const EMREXTCREATEFONTINDIRECTW*)rec;
            if (GdiObject* o = Slot(p, r->ihFont)) {
                *o = GdiObject();
                o->kind = GdiObject::kFont, o->font = r->elfw.elfLogFont;
            }
            break;
        }
        case EMR_SELECTOBJECT: SelectObjectRecord(p, ((const EMRSELECTOBJECT*)rec)->ihObject); break;
        case EMR_DELETEOBJECT: {
            const DWORD i = ((const EMRDELETEOBJECT*)rec)->ihObject;
            if (i < p.objects.size()) p.objects[i] = GdiObject();
            break;
        }
        case EMR_SETTEXTALIGN: p.dc.textAlign = ((const EMRSETTEXTALIGN*)rec)->iMode; break;
        case EMR_SETTEXTCOLOR: p.dc.textColor = ((const EMRSETTEXTCOLOR*)rec)->crColor; break;
        case EMR_SETBKMODE: p.dc.bkMode = (int)((const EMRSETBKMODE*)rec)->iMode; break;
        case EMR_SETBKCOLOR: p.dc.bkColor = ((const EMRSETBKCOLOR*)rec)->crColor; break;
        case EMR_MOVETOEX: {
            const POINTL& pt = ((const EMRMOVETOEX*)rec)->ptl;
            p.dc.position = {pt.x, pt.y};
            break;
        }
        case EMR_LINETO: {
            const POINTL& pt = ((const EMRLINETO*)rec)->ptl;
            const POINT to = {pt.x, pt.y};
            Line(p, p.dc.position, to);
            p.dc.position = to;
            break;
        }
        case EMR_RECTANGLE: Rect(p, ((const EMRRECTANGLE*)rec)->rclBox); break;
        case EMR_POLYLINE16:
        case EMR_POLYGON16: {
            const EMRPOLYLINE16* r = (const EMRPOLYLINE16*)rec;
            if (offsetof(EMRPOLYLINE16, apts) + (uint64_t)r->cpts * sizeof(POINTS) <= rec->nSize)
                Poly(p, r->apts, r->cpts, rec->iType == EMR_POLYGON16);
            break;
        }
        case EMR_POLYLINE:
        case EMR_POLYGON: {
            const EMRPOLYLINE* r = (const EMRPOLYLINE*)rec;
            if (offsetof(EMRPOLYLINE, aptl) + (uint64_t)r->cptl * sizeof(POINTL) <= rec->nSize)
                Poly(p, r->aptl, r->cptl, rec->iType == EMR_POLYGON);
            break;
        }
        case EMR_EXTTEXTOUTW:
            if (!Text(p, (const EMREXTTEXTOUTW*)rec)) {
                p.unwritable = true;
                return 0;
            }
            break;
        case EMR_SAVEDC: p.saved.push_back(p.dc); break;
        case EMR_RESTOREDC: RestoreState(p, ((const EMRRESTOREDC*)rec)->iRelative); break;
        case EMR_EXTSELECTCLIPRGN: SelectClip(p, (const EMREXTSELECTCLIPRGN*)rec); break;
        case EMR_INTERSECTCLIPRECT: {
            const RECTL& c = ((const EMRINTERSECTCLIPRECT*)rec)->rclClip;
            const RECT r = {c.left, c.top, c.right, c.bottom};
            ClipRects(p, &r, 1, 1.0f);
            break;
        }
            // The mapping records only say that the page's units are 1/96 inch,
            // which they are by construction; modes and palettes draw nothing.
    }
    return p.error == HPDF_OK;
}

}  // namespace pdf
