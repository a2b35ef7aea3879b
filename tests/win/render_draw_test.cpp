// Drawing a window: what reaches the device, read back from an enhanced
// metafile record by record, or from the pixels of a memory bitmap.
#include <gtest/gtest.h>

#include <windows.h>

#include <string.h>

#include <algorithm>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "render/drawing_win.h"
#include "resources/resource.h"
#include "tests/native/sample_windows.h"
#include "tests/win/harness.h"
#include "util/msgbuf.h"
#include "util/scoped_win.h"

namespace {

struct Odcinek {
    int x0, y0, x1, y1;
    bool operator<(const Odcinek& o) const {
        return std::tie(x0, y0, x1, y1) < std::tie(o.x0, o.y0, o.x1, o.y1);
    }
    bool operator==(const Odcinek& o) const { return !(*this < o) && !(o < *this); }
};

struct DrawnText {
    std::string tekst;
    int x, y;
};

// What a metafile drew: lines with the pen style and colour they were drawn
// with, texts, the colours of the brushes selected and the text background
// colours set.
struct Recording {
    std::vector<std::pair<Odcinek, LOGPEN>> linie;
    std::vector<DrawnText> teksty;
    std::vector<COLORREF> pedzle;
    std::vector<COLORREF> tla;

    std::map<DWORD, LOGPEN> piora;
    std::map<DWORD, COLORREF> brushColours;
    LOGPEN pioro = {PS_SOLID, {0, 0}, 0};
    POINT pkt = {0, 0};

    std::vector<Odcinek> LinesDrawn(UINT styl, COLORREF kolor) const {
        std::vector<Odcinek> v;
        for (auto& [o, p] : linie)
            if ((p.lopnStyle & PS_STYLE_MASK) == styl && p.lopnColor == kolor) v.push_back(o);
        std::sort(v.begin(), v.end());
        return v;
    }
    std::vector<std::string> Napisy() const {
        std::vector<std::string> v;
        for (auto& t : teksty) v.push_back(t.tekst);
        return v;
    }
    const DrawnText* Lookup(const std::string& s) const {
        for (auto& t : teksty)
            if (t.tekst == s) return &t;
        return nullptr;
    }
};

int CALLBACK Rekord(HDC, HANDLETABLE*, const ENHMETARECORD* r, int, LPARAM lp) {
    Recording& z = *(Recording*)lp;
    switch (r->iType) {
        case EMR_CREATEPEN: {
            auto* c = (const EMRCREATEPEN*)r;
            z.piora[c->ihPen] = c->lopn;
            break;
        }
        case EMR_EXTCREATEPEN: {
            auto* c = (const EMREXTCREATEPEN*)r;
            LOGPEN lp2 = {c->elp.elpPenStyle & PS_STYLE_MASK, {(LONG)c->elp.elpWidth, 0}, c->elp.elpColor};
            z.piora[c->ihPen] = lp2;
            break;
        }
        case EMR_CREATEBRUSHINDIRECT: {
            auto* c = (const EMRCREATEBRUSHINDIRECT*)r;
            z.brushColours[c->ihBrush] = c->lb.lbColor;
            break;
        }
        case EMR_SELECTOBJECT: {
            DWORD h = ((const EMRSELECTOBJECT*)r)->ihObject;
            if (h & 0x80000000) {
                DWORD stock = h & 0x7fffffff;
                if (stock == WHITE_PEN) z.pioro = LOGPEN{PS_SOLID, {0, 0}, RGB(255, 255, 255)};
                else if (stock == BLACK_PEN) z.pioro = LOGPEN{PS_SOLID, {0, 0}, RGB(0, 0, 0)};
                else if (stock == NULL_PEN) z.pioro = LOGPEN{PS_NULL, {0, 0}, 0};
                else if (stock == WHITE_BRUSH) z.pedzle.push_back(RGB(255, 255, 255));
            } else if (z.piora.count(h)) {
                z.pioro = z.piora[h];
            } else if (z.brushColours.count(h)) {
                z.pedzle.push_back(z.brushColours[h]);
            }
            break;
        }
        case EMR_SETBKCOLOR: z.tla.push_back(((const EMRSETBKCOLOR*)r)->crColor); break;
        case EMR_MOVETOEX: z.pkt = {((const EMRMOVETOEX*)r)->ptl.x, ((const EMRMOVETOEX*)r)->ptl.y}; break;
        case EMR_LINETO: {
            POINT k = {((const EMRLINETO*)r)->ptl.x, ((const EMRLINETO*)r)->ptl.y};
            z.linie.push_back({Odcinek{(int)z.pkt.x, (int)z.pkt.y, (int)k.x, (int)k.y}, z.pioro});
            z.pkt = k;
            break;
        }
        case EMR_EXTTEXTOUTW: {
            auto* t = (const EMREXTTEXTOUTW*)r;
            const WCHAR* w = (const WCHAR*)((const BYTE*)r + t->emrtext.offString);
            std::string s;
            for (DWORD i = 0; i < t->emrtext.nChars; i++) s += (char)w[i];
            z.teksty.push_back({s, (int)t->emrtext.ptlReference.x, (int)t->emrtext.ptlReference.y});
            break;
        }
        case EMR_EXTTEXTOUTA: {
            auto* t = (const EMREXTTEXTOUTA*)r;
            const char* a = (const char*)r + t->emrtext.offString;
            z.teksty.push_back({std::string(a, t->emrtext.nChars), (int)t->emrtext.ptlReference.x,
                                (int)t->emrtext.ptlReference.y});
            break;
        }
        default: break;
    }
    return 1;
}

struct Rysunek : ::testing::Test {
    DrawSet ds;
    void SetUp() override { ASSERT_TRUE(CreateDrawSet(GetModuleHandleA(nullptr), &ds)); }
    void TearDown() override { DestroyDrawSet(&ds); }

    // Draws the window into a metafile of the target's size and reads it back.
    Recording Emf(TestWindow& o, RECT cel, int margines, int styl, int trybWym, const DrawSet* set = nullptr) {
        Recording z;
        HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
        EXPECT_NE(dc, nullptr);
        char msg[KV_MSG_LEN] = "";
        EXPECT_EQ(DrawWindowInRect(dc, &o.r, &cel, margines, set ? set : &ds, styl, trybWym, msg), 1) << msg;
        ScopedEmf emf(CloseEnhMetaFile(dc));
        EXPECT_NE(emf.get(), nullptr);
        EnumEnhMetaFile(nullptr, emf.get(), Rekord, &z, nullptr);
        return z;
    }
};

// A memory bitmap whose pixels the test reads.
struct Bitmapa {
    MemoryDC dc;
    DWORD* px;
    int w, h;
    Bitmapa(int w_, int h_) : dc(nullptr, w_, h_), px(dc.bits()), w(w_), h(h_) {
        PatBlt(dc, 0, 0, w, h, WHITENESS);
    }
    COLORREF Piksel(int x, int y) const {
        GdiFlush();
        DWORD v = px[y * w + x];
        return RGB((v >> 16) & 0xff, (v >> 8) & 0xff, v & 0xff);
    }
    int PixelCount(COLORREF k) const {
        GdiFlush();
        int n = 0;
        for (int y = 0; y < h; y++)
            for (int x = 0; x < w; x++) n += Piksel(x, y) == k;
        return n;
    }
};

const COLORREF kGlassColour = RGB(217, 217, 255);
const COLORREF kBackgroundColour = RGB(255, 236, 221);

// A 1000 x 1000 mm frame (70 thick) at 1 px per mm with one sash (80 thick)
// in it: the sash's inner rectangle is 150, 150, 850, 850 on the device.
TEST_F(Rysunek, OpeningSymbolsOfTheSevenSashKinds) {
    const Odcinek V1{151, 151, 500, 849}, V2{848, 151, 500, 849};
    const Odcinek D1{151, 848, 500, 150}, D2{848, 848, 500, 150};  // "^"
    const Odcinek P1{151, 151, 849, 500}, P2{151, 848, 849, 500};  // ">"
    const Odcinek L1{848, 151, 150, 500}, L2{848, 848, 150, 500};  // "<"
    struct Przypadek {
        const char* nazwa;
        int32_t rodzaj, strona;
        std::vector<Odcinek> linie;
    } przypadki[] = {
        {"fixed", 0, 0, {}},
        {"top hung", 1, 0, {V1, V2}},
        {"bottom hung", 1, 1, {D1, D2}},
        {"left-side hung", 2, 0, {P1, P2}},
        {"right-side hung", 2, 1, {L1, L2}},
        {"tilt & turn left", 3, 0, {D1, D2, P1, P2}},
        {"tilt & turn right", 3, 1, {D1, D2, L1, L2}},
    };
    for (auto& p : przypadki) {
        TestWindow o;
        o << DrawFrame(1000, 1000) << SashElement(p.rodzaj, p.strona, 0);
        for (int styl : {kStyleCanvas, kStyleCell, kStylePrintout}) {
            Recording z = Emf(o, RECT{0, 0, 1000, 1000}, 0, styl, kDimensionsNone);
            auto oczek = p.linie;
            std::sort(oczek.begin(), oczek.end());
            EXPECT_EQ(z.LinesDrawn(PS_DOT, RGB(0, 0, 0)), oczek) << p.nazwa << " style " << styl;
            // The sash's green inner outline sits where the symbol points say.
            EXPECT_EQ(o[1].skrzydlo.wewnUrz.left, 150);
            EXPECT_EQ(o[1].skrzydlo.wewnUrz.bottom, 850);
        }
    }
}

TEST_F(Rysunek, SashJointsMitredOrButted) {
    TestWindow o;
    o << DrawFrame(1000, 1000) << SashElement(0, 0, 0);
    Recording z = Emf(o, RECT{0, 0, 1000, 1000}, 0, kStyleCell, kDimensionsNone);
    // Outer 71..929 (pulled in from the frame), inner 150..850.
    std::vector<Odcinek> mitry = {
        {71, 71, 150, 150}, {928, 71, 849, 150}, {71, 928, 150, 849}, {928, 928, 849, 849}};
    std::sort(mitry.begin(), mitry.end());
    EXPECT_EQ(z.LinesDrawn(PS_SOLID, RGB(0, 128, 0)), mitry);
    o.r.iProfSch = 1;
    z = Emf(o, RECT{0, 0, 1000, 1000}, 0, kStyleCell, kDimensionsNone);
    std::vector<Odcinek> drewno = {
        {71, 150, 150, 150}, {850, 150, 929, 150}, {71, 849, 150, 849}, {850, 849, 929, 849}};
    std::sort(drewno.begin(), drewno.end());
    EXPECT_EQ(z.LinesDrawn(PS_SOLID, RGB(0, 128, 0)), drewno);
}

// Frame, a fixed mullion at 500; left: glass; right: a sash with acrylic.
void WindowWithFillings(TestWindow& o) {
    o << DrawFrame(1000, 1000)                 // 0
      << DrawMullion(false, 500, false, 0, 0)  // 1
      << DrawFilling(0, "float", 0, 0, 1, 0)   // 2
      << SashElement(2, 0, 1, 0, 0, 0)       // 3 left-side hung ">"
      << DrawFilling(1, "acryl", 3);           // 4
}

TEST_F(Rysunek, GlassIsBluishAcrylicWhiteAndTheSymbolStaysOnTop) {
    TestWindow o;
    WindowWithFillings(o);
    Bitmapa b(1000, 1000);
    char msg[KV_MSG_LEN] = "";
    RECT cel = {0, 0, 1000, 1000};
    ASSERT_EQ(DrawWindowInRect(b.dc, &o.r, &cel, 0, &ds, kStyleCell, kDimensionsNone, msg), 1) << msg;
    EXPECT_EQ(b.Piksel(250, 500), kGlassColour);
    EXPECT_EQ(b.Piksel(700, 300), RGB(255, 255, 255));
    // The acrylic lies inside the sash: its ">" still shows through. Count the
    // black pixels along the first line of the symbol inside the filling.
    const strProst& w = o[3].skrzydlo.wewnUrz;
    int czarne = 0;
    for (int x = w.left + 10; x < w.right - 10; x++) {
        int y = w.top + 1 +
                (int)((long long)(x - w.left - 1) * ((w.top + (w.bottom - w.top) / 2) - w.top - 1) /
                      (w.right - 1 - w.left - 1));
        for (int dy = -1; dy <= 1; dy++) czarne += b.Piksel(x, y + dy) == RGB(0, 0, 0);
    }
    EXPECT_GT(czarne, 50);
    // The printout colours nothing.
    Bitmapa b2(1000, 1000);
    ASSERT_EQ(DrawWindowInRect(b2.dc, &o.r, &cel, 0, &ds, kStylePrintout, kDimensionsNone, msg), 1) << msg;
    EXPECT_EQ(b2.PixelCount(kGlassColour), 0);
    EXPECT_EQ(b2.PixelCount(kBackgroundColour), 0);
}

TEST_F(Rysunek, Style2HasNoBackgroundColour) {
    TestWindow o;
    o << DrawFrame(1000, 1000) << DrawMullion(false, 500, false, 0, 0);  // two empty areas
    RECT cel = {0, 0, 1000, 1000};
    char msg[KV_MSG_LEN] = "";
    {
        Bitmapa b(1000, 1000);
        ASSERT_EQ(DrawWindowInRect(b.dc, &o.r, &cel, 0, &ds, kStyleCanvas, kDimensionsScreen, msg), 1) << msg;
        EXPECT_GT(b.PixelCount(kBackgroundColour), 100000);  // the empty areas
    }
    {
        Bitmapa b(1000, 1000);
        ASSERT_EQ(DrawWindowInRect(b.dc, &o.r, &cel, 0, &ds, kStylePrintout, kDimensionsPrintout, msg), 1) << msg;
        EXPECT_EQ(b.PixelCount(kBackgroundColour), 0);
    }
    Recording z = Emf(o, cel, 0, kStylePrintout, kDimensionsPrintout);
    for (COLORREF k : z.pedzle) EXPECT_EQ(k, RGB(255, 255, 255));
    ASSERT_FALSE(z.tla.empty());
    for (COLORREF k : z.tla) EXPECT_EQ(k, RGB(255, 255, 255));
    // Style 1 of a structure format 1 window uses the green background.
    o.r.status = 1;
    o[0].rama.flagi = kFlagOwnThickness;
    o[0].rama.grub = 70;
    o[1].slupek.flagi = kFlagOwnThickness;
    o[1].slupek.grub = 90;
    z = Emf(o, cel, 0, kStyleCell, kDimensionsNone);
    EXPECT_NE(std::find(z.pedzle.begin(), z.pedzle.end(), RGB(204, 237, 192)), z.pedzle.end());
}

// The print copy of the set: the same window printed with the screen's set
// has coloured lines (navy outlines, a dotted false mullion); with the copy
// every line is black or white and the false mullion dashed.
TEST_F(Rysunek, ThePrintCopyOfTheSetDrawsNoColouredLine) {
    TestWindow o;
    o << DrawFrame(1200, 1000) << DrawMullion(false, 600, false, 0, 0) << DrawMullion(true, 500, true, 1, 0)
      << SashElement(3, 1, 1, 0, 0, 2) << DrawFilling(0, "float", 3) << DrawFilling(0, "float", 0, 0, 1, 0);
    DrawSet print;
    ASSERT_TRUE(CreatePrintDrawSet(&ds, &print));
    const RECT cel = {0, 0, 1000, 900};
    struct Case {
        const char* name;
        const DrawSet* set;
        bool coloured;
    } const cases[] = {{"screen set", &ds, true}, {"print copy", &print, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Recording z = Emf(o, cel, 40, kStylePrintout, kDimensionsPrintout, c.set);
        ASSERT_FALSE(z.linie.empty());
        int kolorowe = 0, kropki = 0, kreski = 0;
        for (auto& [odc, p] : z.linie) {
            kolorowe += p.lopnColor != RGB(0, 0, 0) && p.lopnColor != RGB(255, 255, 255);
            kropki += (p.lopnStyle & PS_STYLE_MASK) == PS_DOT;
            kreski += (p.lopnStyle & PS_STYLE_MASK) == PS_DASH;
        }
        EXPECT_EQ(c.coloured, kolorowe > 0) << kolorowe << " coloured lines";
        EXPECT_EQ(c.coloured, kropki > 0);
        EXPECT_EQ(!c.coloured, kreski > 0);
    }
    // The copy owns only its two pens: the screen set stays whole.
    DestroyPrintDrawSet(&print);
    const HANDLE* h = (const HANDLE*)&print;
    for (size_t i = 0; i < sizeof print / sizeof(HANDLE); i++) EXPECT_EQ(h[i], nullptr);
    EXPECT_NE(GetObjectType(ds.penNavy), 0u);
    EXPECT_NE(GetObjectType(ds.brushRed), 0u);
}

TEST_F(Rysunek, PrintLabelsMullionsAndNumbersFillingsInDescriptionOrder) {
    TestWindow o;
    o << DrawFrame(1000, 1000)                    // 0
      << DrawMullion(false, 500, false, 0, 0)     // 1 fixed, vertical
      << DrawMullion(true, 500, true, 1, 0)       // 2 false, horizontal, right part
      << SashElement(3, 0, 1, 2, 0, 0)          // 3 below it
      << DrawFilling(0, "float 4mm", 0, 0, 1, 0)  // 4 left: (1)
      << DrawFilling(1, "acryl", 3)               // 5 in the lower sash: (2)
      << SashElement(1, 0, 1, 0, 0, 2)          // 6 above the false mullion
      << DrawFilling(0, " FLOAT 4MM ", 6);        // 7 the same glass as 4: (1)
    Recording z = Emf(o, RECT{0, 0, 1000, 1000}, 0, kStylePrintout, kDimensionsNone);
    std::vector<std::string> oczek = {"[1]", "  [2]", "(1)", "(2)", "(1)"};
    EXPECT_EQ(z.Napisy(), oczek);
    // "[1]" one pixel right of the vertical mullion, 10 below its top.
    const DrawnText* t = z.Lookup("[1]");
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->x, o[1].slupek.prostUrz.right + 1);
    EXPECT_EQ(t->y, o[1].slupek.prostUrz.top + 10);
    // "  [2]" starts 10 right of the horizontal mullion's left end, above it.
    t = z.Lookup("  [2]");
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->x, o[2].slupek.prostUrz.left + 10);
    EXPECT_LT(t->y, o[2].slupek.prostUrz.top - 1);
    // Numbers stand in the top right corner of their filling.
    for (int i : {4, 5, 7}) {
        const strProst& p = o[i].wypeln.prostUrz;
        bool jest = false;
        for (auto& tt : z.teksty) {
            if (tt.tekst[0] == '(' && tt.y == p.top + 1 && tt.x > p.left + (p.right - p.left) / 2 &&
                tt.x < p.right - 1)
                jest = true;
        }
        EXPECT_TRUE(jest) << "filling " << i;
    }
    // No labels outside the printout style.
    z = Emf(o, RECT{0, 0, 1000, 1000}, 0, kStyleCell, kDimensionsNone);
    EXPECT_TRUE(z.teksty.empty());
    z = Emf(o, RECT{0, 0, 1000, 1000}, 0, kStyleCanvas, kDimensionsNone);
    // The canvas names the profile in the top rail and numbers the fillings.
    std::vector<std::string> kanwa = {"PVC", "(1)", "(2)", "(1)"};
    EXPECT_EQ(z.Napisy(), kanwa);
}

TEST_F(Rysunek, ZeroSegmentHasNoTextTheLastAlwaysHas) {
    TestWindow o;
    o << DrawFrame(1000, 800) << DrawMullion(false, 500, false, 0, 0)
      << DrawMullion(false, 500, false, 0, 0)    // same place: a zero segment
      << DrawMullion(false, 1000, false, 0, 0);  // on the right edge: the last is 0
    Recording z = Emf(o, RECT{0, 0, 1400, 1200}, 100, kStylePrintout, kDimensionsPrintout);
    // Overall 1000 and 800; the bottom chain 500, 0, 500, 0: only the last 0.
    std::vector<std::string> n = z.Napisy();
    std::vector<std::string> oczek = {"[1]", "[1]", "[1]", "1000", "800", "500", "500", "0"};
    EXPECT_EQ(n, oczek);
    // Dimension lines: the bottom chain with ticks at its three centre lines
    // and both ends, 14 px under the frame.
    const strProst& r = o[0].rama.zewnUrz;
    int y = r.bottom + 14, ticks = 0;
    for (auto& o2 : z.LinesDrawn(PS_SOLID, RGB(0, 0, 0)))
        if (o2.y0 == y - 4 && o2.y1 == y + 5 && o2.x0 == o2.x1) ticks++;
    EXPECT_EQ(ticks, 5);
    // The overall width's text starts 29 px under the frame; the height's
    // runs upward from the bottom of its rectangle, 29 px right of the frame,
    // centred on the frame's middle.
    const DrawnText* szer = z.Lookup("1000");
    ASSERT_NE(szer, nullptr);
    EXPECT_EQ(szer->y, r.bottom + 29);
    const DrawnText* wys = z.Lookup("800");
    ASSERT_NE(wys, nullptr);
    EXPECT_EQ(wys->x, r.right + 29);
    SIZE sz = {};
    {
        ScopedWindowDC ekran(nullptr);
        ScopedSelect font(ekran, ds.fontVertical);
        GetTextExtentPoint32A(ekran, "800", 3, &sz);
    }
    ASSERT_GT(sz.cx, 0);
    EXPECT_EQ(wys->y, (r.top + r.bottom) / 2 - sz.cx / 2 + sz.cx);
}

}  // namespace

// The widths of the pictures of an icon or cursor group resource.
std::vector<int> GroupWidths(int id, bool icon) {
    std::vector<int> widths;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HRSRC r = FindResourceA(instance, MAKEINTRESOURCEA(id), icon ? RT_GROUP_ICON : RT_GROUP_CURSOR);
    if (!r) return widths;
    const BYTE* dir = (const BYTE*)LockResource(LoadResource(instance, r));
    if (!dir || SizeofResource(instance, r) < 6) return widths;
    const int count = dir[4] | dir[5] << 8;
    for (int i = 0; i < count && 6 + 14 * (i + 1) <= (int)SizeofResource(instance, r); i++) {
        const BYTE* e = dir + 6 + 14 * i;
        // An icon's entry gives its width in a byte (0 for 256), a cursor's in a word.
        widths.push_back(icon ? (e[0] ? e[0] : 256) : (e[0] | e[1] << 8));
    }
    std::sort(widths.begin(), widths.end());
    return widths;
}

// The tool cursors and the program's icon carry a picture for each display
// scale, so that the system takes a sharp one rather than stretching.
TEST(Pictures, CursorsAndIconHaveASizeForEachScale) {
    for (int i = 0; i < kDrawSetCursorCount; i++) {
        EXPECT_EQ((std::vector<int>{32, 48, 64}), GroupWidths(kDrawSetFirstCursor + i, false)) << i;
    }
    EXPECT_EQ((std::vector<int>{16, 20, 24, 32, 40, 48, 64, 128, 256}), GroupWidths(IDI_APP, true));
}

// The lengths of the runs of `colour` (0x00RRGGBB) along a row (or a
// column) of a picture drawn into `dc`.
std::vector<int> Runs(const MemoryDC& dc, bool row, int at, DWORD colour) {
    std::vector<int> runs;
    const int n = row ? dc.width() : dc.height();
    for (int i = 0, run = 0; i <= n; i++) {
        if (i < n && dc.pixel(row ? i : at, row ? at : i) == colour) {
            run++;
        } else if (run) {
            runs.push_back(run);
            run = 0;
        }
    }
    return runs;
}

// The larger pictures are drawn at their size, not enlarged from the
// 96-dpi ones: each line of a picture keeps one width, 1 pixel at 150 %
// and 2 at 200 % for a line of 1 at 100 %. (Enlarged by 3/2, the three
// lines of "New" come out 1, 2 and 1 pixels high.)
TEST(Pictures, LargerPicturesKeepEveryLineOneWidth) {
    const DWORD grey = 0x808080;
    const struct {
        int id;
        bool cursor;
        int size;       // one picture's pixels
        bool row;       // along a row (else a column) ...
        int at;         // ... of this index
        int lines;      // lines crossed
        int width;      // pixels each
    } cases[] = {
        {IDB_TOOLBAR_150, false, 24, false, 12, 3, 1},     // "New": the text's lines
        {IDB_TOOLBAR_200, false, 32, false, 16, 3, 2},
        {IDC_TOOL_FIRST + 1, true, 48, true, 33, 2, 1},    // fixed mullion: the frame's sides
        {IDC_TOOL_FIRST + 1, true, 64, true, 44, 2, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        SCOPED_TRACE(c.size);
        MemoryDC dc(nullptr, c.size, c.size);
        ASSERT_TRUE(dc.ok());
        PatBlt(dc, 0, 0, c.size, c.size, WHITENESS);
        const HINSTANCE instance = GetModuleHandleA(nullptr);
        if (c.cursor) {
            HCURSOR cursor = (HCURSOR)LoadImageA(instance, MAKEINTRESOURCEA(c.id), IMAGE_CURSOR, c.size, c.size, 0);
            ASSERT_NE(nullptr, cursor);
            DrawIconEx(dc, 0, 0, cursor, c.size, c.size, 0, nullptr, DI_NORMAL);
            DestroyCursor(cursor);
        } else {
            ScopedBitmap strip((HBITMAP)LoadImageA(instance, MAKEINTRESOURCEA(c.id), IMAGE_BITMAP, 0, 0, 0));
            ASSERT_TRUE(strip);
            ScopedCompatibleDC from(dc);
            ScopedSelect bitmap(from, strip);
            BitBlt(dc, 0, 0, c.size, c.size, from, 0, 0, SRCCOPY);
        }
        EXPECT_EQ(std::vector<int>((size_t)c.lines, c.width), Runs(dc, c.row, c.at, grey));
    }
}
