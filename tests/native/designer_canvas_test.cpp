// The design canvas's arithmetic and the size limits: placement and its
// inverse, the hit test, grid positions, dimension-label moves, and every
// message of the limit check.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "model/structure.h"
#include "render/drawing.h"
#include "tests/native/sample_windows.h"
#include "ui/designer/canvas_geometry.h"
#include "ui/designer/limits.h"
#include "util/heap.h"
#include "util/msgbuf.h"

namespace {

const PenWidths kCienkie = {0, 0, 0, 0};

void Geometria(TestWindow& o) {
    char msg[KV_MSG_LEN] = "";
    ASSERT_EQ(ComputeGeometry(o.r.oper, o.n(), 5, &o.r, msg), 1) << msg;
}

// ---- Placement -------------------------------------------------------------

TEST(CanvasPlacement, MillimetresToPixelsAndBackWithinAPixel) {
    struct Przypadek {
        int32_t W, H;
        strProst cel;
    } przypadki[] = {
        {1000, 1000, {0, 0, 300, 300}},     // 0.2 px/mm
        {2000, 1000, {0, 0, 1000, 700}},    // 0.45
        {500, 2400, {10, 20, 900, 1100}},   // 0.408, offset target
        {10000, 10000, {0, 0, 1200, 900}},  // 0.08
        {300, 200, {0, 0, 1280, 1000}},     // 3.93: several pixels per mm
    };
    for (const Przypadek& p : przypadki) {
        SCOPED_TRACE(testing::Message() << p.W << "x" << p.H);
        DrawingScale sk;
        ASSERT_EQ(ComputeScale(p.W, p.H, &p.cel, kCanvasMargin, &sk), 1);
        // One pixel's worth of millimetres.
        const int32_t mmNaPiksel = (int32_t)(1.0 / sk.s) + 1;
        for (int32_t X = 0; X <= p.W; X += p.W / 37 + 1) {
            for (int32_t Y = 0; Y <= p.H; Y += p.H / 29 + 1) {
                int32_t x, y, X2, Y2;
                ASSERT_EQ(CanvasMmToPx(p.W, p.H, &p.cel, kCanvasMargin, X, Y, &x, &y), 1);
                EXPECT_TRUE(x >= p.cel.left + kCanvasMargin - 1 && x <= p.cel.right - kCanvasMargin + 1) << x;
                EXPECT_TRUE(y >= p.cel.top + kCanvasMargin - 1 && y <= p.cel.bottom - kCanvasMargin + 1) << y;
                ASSERT_EQ(CanvasPxToMm(p.W, p.H, &p.cel, kCanvasMargin, x, y, &X2, &Y2), 1);
                EXPECT_LE(abs(X2 - X), mmNaPiksel) << X << "," << Y;
                EXPECT_LE(abs(Y2 - Y), mmNaPiksel) << X << "," << Y;
            }
        }
        // From a pixel of the frame to millimetres and back: the same pixel or
        // its neighbour, as long as a pixel holds at least a millimetre.
        int32_t x0, y0, x1, y1;
        CanvasMmToPx(p.W, p.H, &p.cel, kCanvasMargin, 0, 0, &x0, &y0);
        CanvasMmToPx(p.W, p.H, &p.cel, kCanvasMargin, p.W, p.H, &x1, &y1);
        if (sk.s > 1) continue;
        for (int32_t x = x0; x <= x1; x += 3) {
            for (int32_t y = y0; y <= y1; y += 5) {
                int32_t X, Y, x2, y2;
                ASSERT_EQ(CanvasPxToMm(p.W, p.H, &p.cel, kCanvasMargin, x, y, &X, &Y), 1);
                ASSERT_EQ(CanvasMmToPx(p.W, p.H, &p.cel, kCanvasMargin, X, Y, &x2, &y2), 1);
                EXPECT_LE(abs(x2 - x), 1) << x << "," << y;
                EXPECT_LE(abs(y2 - y), 1) << x << "," << y;
            }
        }
    }
}

// ---- Hit test --------------------------------------------------------------

void FakeMeasure(void*, int, const char* t, int32_t* dl, int32_t* wys) {
    *dl = 6 * (int32_t)strlen(t);
    *wys = 10;
}

// A 3000 x 1500 window in three columns: a fixed sash with a glass filling
// divided by two muntins on the left, a horizontal mullion with a filling
// above it in the middle, an empty area on the right.
class CanvasHits : public testing::Test {
protected:
    void SetUp() override {
        o << DrawFrame(3000, 1500)                  // 0
          << DrawMullion(false, 1000, false, 0, 0)  // 1
          << DrawMullion(false, 2000, false, 0, 0)  // 2
          << SashElement(0, 0, 0, 0, 1, 0)        // 3 sash, left column
          << DrawFilling(0, "G", 3)                 // 4 glass in the sash
          << DrawMuntin(500, false, 3, 3, 4)       // 5 vertical muntin
          << DrawMuntin(750, true, 3, 5, 4)        // 6 horizontal muntin left of it
          << DrawMullion(false, 750, true, 1, 2)    // 7 horizontal mullion, middle column
          << DrawFilling(0, "H", 1, 0, 2, 7);       // 8 filling above it
        Geometria(o);
        ASSERT_EQ(LayOutWindow(o.r.oper, o.n(), &cel, kCanvasMargin, &kCienkie), 1);
        memset(&wym, 0, sizeof wym);
        char msg[KV_MSG_LEN];
        ASSERT_EQ(BuildDimensions(o.r.oper, o.n(), &wym, msg), 1) << msg;
        LayOutDimensionTexts(&wym, o.r.oper, o.n(), 1, FakeMeasure, nullptr);
    }
    void TearDown() override { FreeDimensions(&wym); }
    void Px(int32_t X, int32_t Y, int32_t* x, int32_t* y) {
        ASSERT_EQ(CanvasMmToPx(3000, 1500, &cel, kCanvasMargin, X, Y, x, y), 1);
    }
    static void Centre(const strProst& r, int32_t* x, int32_t* y) {
        *x = (r.left + r.right) / 2;
        *y = (r.top + r.bottom) / 2;
    }
    TestWindow o;
    DimensionSet wym;
    const strProst cel = {0, 0, 800, 500};
};

TEST_F(CanvasHits, EveryResultCode) {
    const strProst& f = o[0].rama.zewnUrz;
    struct TotalsRow {
        const char* co;
        int32_t x, y;
        int32_t wynik, element;
        int32_t ogr[4];
    };
    int32_t x, y;
    std::vector<TotalsRow> w;
    auto mm = [&](const char* co, int32_t X, int32_t Y, int32_t wynik, int32_t el, std::vector<int32_t> ogr) {
        Px(X, Y, &x, &y);
        TotalsRow r = {co, x, y, wynik, el, {-1, -1, -1, -1}};
        for (size_t k = 0; k < ogr.size(); k++) r.ogr[k] = ogr[k];
        w.push_back(r);
    };
    auto px = [&](const char* co, int32_t X, int32_t Y, int32_t wynik, int32_t el) {
        w.push_back({co, X, Y, wynik, el, {-1, -1, -1, -1}});
    };
    const int32_t sx = (f.left + f.right) / 2, sy = (f.top + f.bottom) / 2;
    px("outside on both axes", f.left - 5, f.top - 5, kTrOutside, -1);
    px("left of the frame", f.left - 40, sy, kTrLeft, -1);
    px("right of the frame", f.right + 48, sy, kTrRight, -1);
    px("above the frame", sx, f.top - 40, kTrNad, -1);
    px("below the frame", sx, f.bottom + 48, kTrPod, -1);
    Centre(wym.widthText, &x, &y);
    px("width label", x, y, kTrWidthLabel, -1);
    Centre(wym.heightText, &x, &y);
    px("height label", x, y, kTrHeightLabel, -1);
    const int32_t lab[kDimensionChains] = {kTrRightLabel, kTrBottomLabel, kTrLeftLabel, kTrTopLabel};
    for (int32_t c = 0; c < kDimensionChains; c++) {
        ASSERT_GE(wym.itemCount[c], 2) << c;
        Centre(wym.chainSegments[c][1].tekst, &x, &y);
        // Label 1 of the right and left chains measures 0 between equal
        // positions only when two share one; here every label is real.
        px("chain label 1", x, y, lab[c], 1);
    }
    mm("frame bar", 20, 750, kTrProfil, 0, {});
    mm("vertical mullion", 1000, 300, kTrProfil, 1, {});
    mm("horizontal mullion", 1500, 750, kTrProfil, 7, {});
    mm("sash bar", 110, 1200, kTrProfil, 3, {});
    mm("empty area right", 2500, 750, kTrArea, -1, {2, 0, 0, 0});
    mm("filling above the mullion", 1500, 300, kTrFilling, 8, {1, 0, 2, 7});
    mm("field left of and above the muntins", 250, 300, kTrPole, 4, {3, 3, 5, 6});
    mm("field right of the vertical muntin", 800, 1000, kTrPole, 4, {5, 3, 3, 3});
    mm("vertical muntin", 500, 300, kTrMuntin, 5, {});
    mm("horizontal muntin", 250, 750, kTrMuntin, 6, {});

    for (const TotalsRow& r : w) {
        SCOPED_TRACE(r.co);
        HitResult t;
        EXPECT_EQ(HitTest(o.r.oper, o.n(), &wym, r.x, r.y, &t), r.wynik);
        EXPECT_EQ(t.resultCode, r.wynik);
        EXPECT_EQ(t.element, r.element);
        for (int k = 0; k < 4; k++) EXPECT_EQ(t.ogr[k], r.ogr[k]) << "bound " << k;
    }
    HitResult t;
    EXPECT_EQ(HitTest(o.r.oper, 0, &wym, 400, 250, &t), kTrNic) << "no frame";
}

TEST_F(CanvasHits, ALabelBelowOneIsNeverHit) {
    // Two horizontal mullions at one position give a zero segment between
    // them; its label lies over the segment's text rectangle.
    TestWindow z;
    z << DrawFrame(3000, 1500) << DrawMullion(false, 1000, false, 0, 0) << DrawMullion(false, 750, true, 0, 1)
      << DrawMullion(false, 750, true, 1, 0);
    Geometria(z);
    ASSERT_EQ(LayOutWindow(z.r.oper, z.n(), &cel, kCanvasMargin, &kCienkie), 1);
    DimensionSet w2;
    memset(&w2, 0, sizeof w2);
    char msg[KV_MSG_LEN];
    ASSERT_EQ(BuildDimensions(z.r.oper, z.n(), &w2, msg), 1);
    LayOutDimensionTexts(&w2, z.r.oper, z.n(), 1, FakeMeasure, nullptr);
    ASSERT_EQ(w2.itemCount[kDimensionRight], 3);
    ASSERT_EQ(w2.chainSegments[kDimensionRight][1].dlugosc, 0);
    int32_t x, y;
    Centre(w2.chainSegments[kDimensionRight][1].tekst, &x, &y);
    HitResult t;
    EXPECT_NE(HitTest(z.r.oper, z.n(), &w2, x, y, &t), kTrRightLabel);
    Centre(w2.chainSegments[kDimensionRight][0].tekst, &x, &y);
    EXPECT_EQ(HitTest(z.r.oper, z.n(), &w2, x, y, &t), kTrRightLabel);
    FreeDimensions(&w2);
}

// ---- Grid ------------------------------------------------------------------

TEST(CanvasGrid, ElementsInInsertionOrderAtEvenSpacing) {
    struct Oczekiwany {
        int32_t poz;
        bool poziomy;
        int32_t pocz, kon;
    };
    struct Przypadek {
        int32_t h, v;
        std::vector<Oczekiwany> el;
    } przypadki[] = {
        // h = 2, v = 1 in an area 0..900 x 0..1200 bounded by elements 0, 1, 2, 3,
        // the batch starting at index 10: the vertical at half the width, two
        // horizontals left of it, two right of it, at thirds of the height.
        {2,
         1,
         {{450, false, 1, 3},
          {400, true, 0, 10},
          {800, true, 0, 10},
          {400, true, 10, 2},
          {800, true, 10, 2}}},
        // v = 2, h = 1: the second column's horizontal starts at the first vertical.
        {1,
         2,
         {{300, false, 1, 3},
          {600, true, 0, 10},
          {600, false, 1, 3},
          {600, true, 10, 12},
          {600, true, 12, 2}}},
        {0, 3, {{225, false, 1, 3}, {450, false, 1, 3}, {675, false, 1, 3}}},
        {3, 0, {{300, true, 0, 2}, {600, true, 0, 2}, {900, true, 0, 2}}},
        {0, 0, {}},
    };
    const GridArea obs = {{0, 1, 2, 3}, 0, 0, 900, 1200};
    for (const Przypadek& p : przypadki) {
        SCOPED_TRACE(testing::Message() << "h=" << p.h << " v=" << p.v);
        ASSERT_EQ(GridCount(p.h, p.v), (int32_t)p.el.size());
        std::vector<uniOperRys> wynik(p.el.size() + 1);
        ASSERT_EQ(BuildGrid(&obs, p.h, p.v, kOpMuntin, 0, 7, 10, wynik.data()), (int32_t)p.el.size());
        for (size_t i = 0; i < p.el.size(); i++) {
            SCOPED_TRACE(i);
            const strOperSzpros& s = wynik[i].szpros;
            EXPECT_EQ(s.typ, (uint32_t)kOpMuntin);
            EXPECT_EQ(s.poz, p.el[i].poz);
            EXPECT_EQ(s.poziomy != 0, p.el[i].poziomy);
            EXPECT_EQ(s.ogrPocz, p.el[i].pocz);
            EXPECT_EQ(s.ogrKon, p.el[i].kon);
            EXPECT_EQ(s.wypeln, 7);
        }
    }
    EXPECT_EQ(GridCount(100, 100), 10200);
}

TEST(CanvasGrid, AGridBuildsAValidStructureInAnyArea) {
    // Mullions in the frame's opening and muntins on a glass filling inside
    // a sash: each batch, appended, gives v + 1 columns of h + 1 fields.
    struct Przypadek {
        int32_t h, v;
        bool szprosy;
    } przypadki[] = {{2, 1, false}, {3, 4, false}, {2, 1, true}, {5, 2, true}};
    for (const Przypadek& p : przypadki) {
        SCOPED_TRACE(testing::Message() << p.h << "x" << p.v << (p.szprosy ? " muntins" : " mullions"));
        TestWindow o;
        o << DrawFrame(3000, 2000);
        GridArea obs = {{0, 0, 0, 0}, 0, 0, 3000, 2000};
        int32_t wypeln = 0;
        if (p.szprosy) {
            o << SashElement(0, 0, 0) << DrawFilling(0, "G", 1);
            Geometria(o);
            obs = {{1, 1, 1, 1},
                   ElementEdge(1, kSideLeft, o.r.oper, o.n()),
                   ElementEdge(1, kSideTop, o.r.oper, o.n()),
                   ElementEdge(1, kSideRight, o.r.oper, o.n()),
                   ElementEdge(1, kSideBottom, o.r.oper, o.n())};
            wypeln = 2;
        }
        const int32_t ile = GridCount(p.h, p.v);
        std::vector<uniOperRys> el(ile);
        BuildGrid(&obs, p.h, p.v, p.szprosy ? kOpMuntin : kOpFixedMullion, 0, wypeln, o.n(), el.data());
        for (auto& e : el) o << e;
        Geometria(o);
        strObsOkno* tab = nullptr;
        int32_t n = 0;
        char msg[KV_MSG_LEN] = "";
        ASSERT_EQ(BuildStructure(o.r.oper, o.n(), 0, 0, 1, &tab, &n, msg), 1) << msg;
        EXPECT_EQ(n, 1 + ile);
        FreeStructure(tab);
        EXPECT_EQ(CheckChange(o.r.oper, o.n(), nullptr, -2, 5, msg), 1) << msg;
    }
}

// ---- Dimension labels -------------------------------------------------------

TEST(CanvasChains, ATypedValueBecomesTheLabelsDistance) {
    // Chains: bottom 1000 / 2000; right two mullions sharing y = 800; top one
    // muntin at 2500; left two muntins sharing y = 1000.
    struct Przypadek {
        int32_t lancuch, etykieta, v;
        int32_t newPos;
        std::vector<int32_t> ruszane;
    } przypadki[] = {
        {kDimensionBottom, 0, 900, 900, {1}},      {kDimensionBottom, 2, 700, 2300, {2}},
        {kDimensionRight, 0, 1000, 1000, {3, 4}}, {kDimensionRight, 2, 600, 600, {3, 4}},
        {kDimensionTop, 0, 2400, 2400, {6}},    {kDimensionTop, 1, 300, 2700, {6}},
        {kDimensionLeft, 0, 700, 1300, {7, 8}},   {kDimensionLeft, 2, 1200, 1200, {7, 8}},
    };
    for (const Przypadek& p : przypadki) {
        SCOPED_TRACE(testing::Message() << "chain " << p.lancuch << " label " << p.etykieta);
        TestWindow o;
        o << DrawFrame(3000, 2000) << DrawMullion(false, 1000, false, 0, 0) << DrawMullion(false, 2000, false, 0, 0)
          << DrawMullion(false, 800, true, 0, 1) << DrawMullion(false, 800, true, 1, 2) << DrawFilling(0, "G", 2, 0, 0, 0)
          << DrawMuntin(2500, false, 0, 0, 5) << DrawMuntin(1000, true, 2, 6, 5) << DrawMuntin(1000, true, 6, 0, 5);
        Geometria(o);
        DimensionSet w;
        memset(&w, 0, sizeof w);
        char msg[KV_MSG_LEN];
        ASSERT_EQ(BuildDimensions(o.r.oper, o.n(), &w, msg), 1);
        int32_t el[16], poz = 0;
        const int32_t ile = LabelMoves(o.r.oper, o.n(), &w, p.lancuch, p.etykieta, p.v, el, 16, &poz);
        ASSERT_EQ(ile, (int32_t)p.ruszane.size());
        EXPECT_EQ(poz, p.newPos);
        for (int32_t k = 0; k < ile; k++) {
            EXPECT_EQ(el[k], p.ruszane[k]);
            if (o[el[k]].typ == kOpMuntin) o[el[k]].szpros.poz = poz;
            else o[el[k]].slupek.poz = poz;
        }
        // After the move the same label shows the typed value.
        Geometria(o);
        ASSERT_EQ(BuildDimensions(o.r.oper, o.n(), &w, msg), 1);
        EXPECT_EQ(w.chainSegments[p.lancuch][p.etykieta].dlugosc, p.v);
        // Typing the value it now has moves nothing.
        EXPECT_EQ(LabelMoves(o.r.oper, o.n(), &w, p.lancuch, p.etykieta, p.v, el, 16, &poz), 0);
        FreeDimensions(&w);
    }
}

// ---- Limit check ------------------------------------------------------------

struct Limit {
    const char* co;
    strGrubProf grub;  // candidate set (used when useThickness)
    bool useThickness;
    int32_t grubSzpros;  // candidate muntin thickness (used when > -1)
    int32_t szer, wys;   // the new frame (appended to an empty window) when szer > 0
    int oczekiwany;
    const char* tekst;  // the exact message when refused
};

TEST(LimitCheck, ThicknessesAndFrameSizeAtTheirBounds) {
    const strGrubProf ok = {70, 80, 90, 60};
    const Limit limity[] = {
        {"frame 9",
         {9, 80, 90, 60},
         true,
         -1,
         0,
         0,
         0,
         "The frame is too narrow\r\nThe minimum allowed thickness of a frame is 10 mm"},
        {"frame 10", {10, 80, 90, 60}, true, -1, 0, 0, 1, ""},
        {"frame 500", {500, 80, 90, 60}, true, -1, 0, 0, 1, ""},
        {"frame 501",
         {501, 80, 90, 60},
         true,
         -1,
         0,
         0,
         0,
         "The frame is too thick\r\nThe maximum allowed thickness of a frame is 500 mm"},
        {"sash 9",
         {70, 9, 90, 60},
         true,
         -1,
         0,
         0,
         0,
         "The sash is too narrow\r\nThe minimum allowed thickness of a sash is 10 mm"},
        {"sash 501",
         {70, 501, 90, 60},
         true,
         -1,
         0,
         0,
         0,
         "The sash is too thick\r\nThe maximum allowed thickness of a sash is 500 mm"},
        {"fixed mullion 9",
         {70, 80, 9, 60},
         true,
         -1,
         0,
         0,
         0,
         "The fixed mullion is too narrow\r\nThe minimum allowed thickness of a fixed mullion is 10 mm"},
        {"fixed mullion 400", {70, 80, 400, 60}, true, -1, 0, 0, 1, ""},
        {"fixed mullion 401",
         {70, 80, 401, 60},
         true,
         -1,
         0,
         0,
         0,
         "The fixed mullion is too thick\r\nThe maximum allowed thickness of a fixed mullion is 400 mm"},
        {"false mullion 9",
         {70, 80, 90, 9},
         true,
         -1,
         0,
         0,
         0,
         "The false mullion is too narrow\r\nThe minimum allowed thickness of a false mullion is 10 mm"},
        {"false mullion 401",
         {70, 80, 90, 401},
         true,
         -1,
         0,
         0,
         0,
         "The false mullion is too thick\r\nThe maximum allowed thickness of a false mullion is 400 mm"},
        {"frame checked before sash",
         {9, 9, 9, 9},
         true,
         -1,
         0,
         0,
         0,
         "The frame is too narrow\r\nThe minimum allowed thickness of a frame is 10 mm"},
        {"muntin 4", ok, false, 4, 0, 0, 0,
         "The muntin is too narrow\r\nThe minimum allowed thickness of a muntin is 5 mm"},
        {"muntin 5", ok, false, 5, 0, 0, 1, ""},
        {"muntin 100", ok, false, 100, 0, 0, 1, ""},
        {"muntin 101", ok, false, 101, 0, 0, 0,
         "The muntin is too thick\r\nThe maximum allowed thickness of muntin is 100 mm"},
        {"frame 10000 wide", ok, false, -1, 10000, 1000, 1, ""},
        {"frame 10001 wide", ok, false, -1, 10001, 1000, 0,
         "The frame is too wide\r\nThe maximum allowed width of a frame is 10000 mm"},
        {"frame 10001 high", ok, false, -1, 1000, 10001, 0,
         "The frame is too high\r\nThe maximum allowed height of a frame is 10000 mm"},
        {"frame 179: 39 mm clear", ok, false, -1, 179, 500, 1, ""},
        {"frame 159: 19 mm clear", ok, false, -1, 159, 500, 0, "The distance of the profile is too small"},
    };
    for (const Limit& l : limity) {
        SCOPED_TRACE(l.co);
        TestWindow o;
        uniOperRys rama = DrawFrame(l.szer, l.wys);
        char msg[KV_MSG_LEN] = "";
        const int32_t n = l.szer > 0 ? 1 : 0;
        EXPECT_EQ(CheckLimits(&o.r, n, &rama, n ? kLimAppend : kLimNoChange, l.useThickness ? &l.grub : nullptr,
                                l.grubSzpros >= 0 ? &l.grubSzpros : nullptr, msg),
                  l.oczekiwany);
        if (!l.oczekiwany) {
            EXPECT_STREQ(msg, l.tekst);
        }
        EXPECT_EQ(o.n(), 0) << "the window is never changed";
    }
}

TEST(LimitCheck, ClearancesBetweenElementsAndAfterAThicknessChange) {
    // A 1000 x 1000 frame (70 mm) with a vertical fixed mullion (90 mm) at
    // 500 (455..545) and a glass filling left of it: 70..455 clear.
    struct Przypadek {
        const char* co;
        std::vector<uniOperRys> nowe;
        int32_t indeks;
        bool zGrub;
        strGrubProf grub;
        int oczekiwany;
        const char* tekst;
    } przypadki[] = {
        {"muntins 19 mm apart",
         {DrawMuntin(300, false, 0, 0, 2), DrawMuntin(339, false, 0, 0, 2)},
         kLimAppend,
         false,
         {},
         0,
         "The distance of the muntin is too small"},
        {"muntins 20 mm apart",
         {DrawMuntin(300, false, 0, 0, 2), DrawMuntin(340, false, 0, 0, 2)},
         kLimAppend,
         false,
         {},
         1,
         ""},
        // The mullion's left edge is at 455; a muntin 20 mm thick at 425 ends at 435.
        {"muntin 19 mm from the mullion",
         {DrawMuntin(426, false, 0, 0, 2)},
         kLimAppend,
         false,
         {},
         0,
         "The distance of the profile is too small"},
        {"muntin 20 mm from the mullion", {DrawMuntin(425, false, 0, 0, 2)}, kLimAppend, false, {}, 1, ""},
        {"mullion 19 mm from the frame",
         {DrawMullion(false, 134, false, 0, 0)},
         1,
         false,
         {},
         0,
         "The distance of the profile is too small"},
        {"mullion moved to 300", {DrawMullion(false, 300, false, 0, 0)}, 1, false, {}, 1, ""},
        {"mullion onto the frame edge",
         {DrawMullion(false, 0, false, 0, 0)},
         1,
         false,
         {},
         0,
         "Wrong structure of the window\r\nIncorrect mullion"},
        {"frame thickness leaves 19 mm",
         {},
         kLimNoChange,
         true,
         {436, 80, 90, 60},
         0,
         "The distance of the profile is too small"},
        {"frame thickness leaves 20 mm", {}, kLimNoChange, true, {435, 80, 90, 60}, 1, ""},
    };
    for (const Przypadek& p : przypadki) {
        SCOPED_TRACE(p.co);
        TestWindow o;
        o << DrawFrame(1000, 1000) << DrawMullion(false, 500, false, 0, 0) << DrawFilling(0, "G", 0, 0, 1, 0);
        Geometria(o);
        std::vector<unsigned char> przed(o.r.oper[0].rawBytes, o.r.oper[0].rawBytes + 3 * sizeof(uniOperRys));
        char msg[KV_MSG_LEN] = "";
        EXPECT_EQ(CheckLimits(&o.r, (int32_t)p.nowe.size(), p.nowe.data(), p.indeks,
                                p.zGrub ? &p.grub : nullptr, nullptr, msg),
                  p.oczekiwany);
        if (!p.oczekiwany) {
            EXPECT_STREQ(msg, p.tekst);
        }
        ASSERT_EQ(o.n(), 3);
        EXPECT_EQ(memcmp(przed.data(), o.r.oper, przed.size()), 0) << "the window is never changed";
        EXPECT_EQ(o.r.sGrubProf.rama, kTFrame);
    }
}

}  // namespace
