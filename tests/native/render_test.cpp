// Placement of a window on a device, its inverse, the dimension chains and
// the placement of their texts.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <string.h>

#include "model/structure.h"
#include "render/drawing.h"
#include "tests/native/sample_windows.h"
#include "util/heap.h"
#include "util/msgbuf.h"

namespace {

const PenWidths kCienkie = {0, 0, 0, 0};

void Geometria(TestWindow& o) {
    char msg[KV_MSG_LEN] = "";
    ASSERT_EQ(ComputeGeometry(o.r.oper, o.n(), 5, &o.r, msg), 1) << msg;
}

void ExpectRect(const strProst& p, int32_t l, int32_t t, int32_t r, int32_t b) {
    EXPECT_EQ(p.left, l);
    EXPECT_EQ(p.top, t);
    EXPECT_EQ(p.right, r);
    EXPECT_EQ(p.bottom, b);
}

// ---- Placement -------------------------------------------------------------

TEST(RenderPlacement, WideWindowScalesByWidthAndIsCentredVertically) {
    TestWindow o;
    o << DrawFrame(2000, 1000);
    Geometria(o);
    const strProst cel = {0, 0, 400, 300};
    DrawingScale sk;
    ASSERT_EQ(ComputeScale(2000, 1000, &cel, 50, &sk), 1);
    EXPECT_DOUBLE_EQ(sk.s, 0.15);  // 300 / 2000, smaller than 200 / 1000
    ASSERT_EQ(LayOutWindow(o.r.oper, o.n(), &cel, 50, &kCienkie), 1);
    // 300 px wide, 150 px high: 75 px above and below.
    ExpectRect(o[0].rama.zewnUrz, 50, 75, 350, 225);
    // Inner edges at 70 mm: 60.5, 85.5, 339.5, 214.5 truncated.
    ExpectRect(o[0].rama.wewnUrz, 60, 85, 339, 214);
}

TEST(RenderPlacement, TargetOffsetAndTallWindow) {
    TestWindow o;
    o << DrawFrame(1000, 2000);
    Geometria(o);
    const strProst cel = {100, 20, 500, 320};  // 400 x 300, margin 50: s = min(0.3, 0.1)
    ASSERT_EQ(LayOutWindow(o.r.oper, o.n(), &cel, 50, &kCienkie), 1);
    ExpectRect(o[0].rama.zewnUrz, 250, 70, 350, 270);
}

TEST(RenderPlacement, NoRoomOrNoFrameIsRefused) {
    TestWindow o;
    o << DrawFrame(1000, 1000);
    Geometria(o);
    const strProst maly = {0, 0, 100, 400};
    EXPECT_EQ(LayOutWindow(o.r.oper, o.n(), &maly, 50, &kCienkie), 0);
    const strProst cel = {0, 0, 400, 400};
    EXPECT_EQ(LayOutWindow(o.r.oper, 0, &cel, 50, &kCienkie), 0);
    DrawingScale sk;
    EXPECT_EQ(ComputeScale(0, 1000, &cel, 0, &sk), 0);
}

// A 1000 x 1000 window in 1000 x 1000 pixels without margin: 1 px per mm, so
// the device numbers read as millimetres (frame 70, sash 80, fixed mullion
// 90 thick).
struct Kwadrat : ::testing::Test {
    TestWindow o;
    const strProst cel = {0, 0, 1000, 1000};
    void SetUp() override {
        o << DrawFrame(1000, 1000)                 // 0
          << DrawMullion(false, 500, false, 0, 0)  // 1 vertical, frame to frame
          << SashElement(2, 0, 0, 0, 1, 0)       // 2 left of the mullion
          << DrawFilling(0, "float", 2)            // 3 inside the sash
          << DrawFilling(1, "acryl", 1, 0, 0, 0)   // 4 right of the mullion
          << DrawMuntin(600, true, 1, 0, 4);      // 5 horizontal, mullion to frame
        Geometria(o);
    }
};

TEST_F(Kwadrat, EndsMeetingAnOutlinePullInOnePixelEndsMeetingAMullionDoNot) {
    ASSERT_EQ(LayOutWindow(o.r.oper, o.n(), &cel, 0, &kCienkie), 1);
    // Mullion 455..545 across; its ends meet the frame's inner outline.
    ExpectRect(o[1].slupek.prostUrz, 455, 71, 545, 929);
    EXPECT_EQ(o[1].slupek.osUrz, 500);
    // Sash: frame sides pulled in, the side on the mullion not.
    ExpectRect(o[2].skrzydlo.zewnUrz, 71, 71, 455, 929);
    ExpectRect(o[2].skrzydlo.wewnUrz, 150, 150, 375, 850);
    // Filling inside the sash: pulled in from the sash on every side.
    ExpectRect(o[3].wypeln.prostUrz, 151, 151, 374, 849);
    // Filling beside the mullion: its left side stays on the mullion.
    ExpectRect(o[4].wypeln.prostUrz, 545, 71, 929, 929);
    // Muntin: the mullion end stays, the frame end pulls in.
    ExpectRect(o[5].szpros.prostUrz, 545, 590, 929, 610);
    EXPECT_EQ(o[5].szpros.osUrz, 600);
}

TEST_F(Kwadrat, WidePensPullEndsInByHalfWidths) {
    // Frame and fixed mullion pens 3 wide (e = 2: 1 and 1), sash 4 (e = 3: 1 and 2),
    // muntin 2 (e = 1: 0 and 1).
    const PenWidths grube = {3, 4, 1, 2};
    EXPECT_EQ(HalfPenWidth(&o[2], kSideLeft, &grube), 1);
    EXPECT_EQ(HalfPenWidth(&o[2], kSideRight, &grube), 2);
    EXPECT_EQ(HalfPenWidth(&o[3], kSideRight, &grube), 0);
    ASSERT_EQ(LayOutWindow(o.r.oper, o.n(), &cel, 0, &grube), 1);
    // Fixed mullion: 1 + the frame's facing half 1 + its own half 1 at each end.
    ExpectRect(o[1].slupek.prostUrz, 455, 73, 545, 927);
    // Sash left and top: 1 + frame's half 1 + own half 1; right side on the
    // mullion: the mullion's half 1 + own right half 2; bottom: 1 + 1 + 2.
    ExpectRect(o[2].skrzydlo.zewnUrz, 73, 73, 452, 926);
    // Filling in the sash: 1 + the sash's facing half (its right and bottom
    // halves 2 on the left and top, its left and top halves 1 on the others).
    ExpectRect(o[3].wypeln.prostUrz, 153, 153, 373, 848);
    // Muntin: the mullion end by the mullion's half only, the frame end by 1 + 1;
    // its own pen does not count.
    ExpectRect(o[5].szpros.prostUrz, 546, 590, 928, 610);
}

TEST(RenderPlacement, InverseRecoversMillimetres) {
    // At two pixels per mm every mm comes back exactly or 1 less.
    const strProst duzy = {0, 0, 2000, 1200};
    DrawingScale sk;
    ASSERT_EQ(ComputeScale(900, 500, &duzy, 40, &sk), 1);
    for (int32_t X = 0; X <= 900; X += 7) {
        int32_t Y = X * 5 / 9;
        int32_t x = MmToDeviceX(&sk, X), y = MmToDeviceY(&sk, Y), Xw = -1, Yw = -1;
        ASSERT_EQ(DeviceToMm(x, y, 900, 500, &duzy, 40, &Xw, &Yw), 1);
        EXPECT_LE(abs(Xw - X), 1) << X;
        EXPECT_LE(abs(Yw - Y), 1) << Y;
    }
    // At 0.15 px per mm a pixel is 6.7 mm: a pixel comes back to itself
    // (or its neighbour) through mm.
    const strProst cel = {0, 0, 400, 300};
    ASSERT_EQ(ComputeScale(2000, 1000, &cel, 50, &sk), 1);
    for (int32_t x = 50; x < 350; x += 3) {
        int32_t y = 75 + (x - 50) / 2, X, Y;
        ASSERT_EQ(DeviceToMm(x, y, 2000, 1000, &cel, 50, &X, &Y), 1);
        EXPECT_LE(abs(MmToDeviceX(&sk, X) - x), 1) << x;
        EXPECT_LE(abs(MmToDeviceY(&sk, Y) - y), 1) << y;
    }
    // The frame's outer corners map to the mm corners.
    int32_t X, Y;
    ASSERT_EQ(DeviceToMm(50, 75, 2000, 1000, &cel, 50, &X, &Y), 1);
    EXPECT_EQ(X, 0);
    EXPECT_EQ(Y, 0);
    ASSERT_EQ(DeviceToMm(350, 225, 2000, 1000, &cel, 50, &X, &Y), 1);
    EXPECT_EQ(X, 2000);
    EXPECT_EQ(Y, 1000);
}

TEST(RenderPlacement, HugeStoredNumbersAreClamped) {
    TestWindow o;
    o << DrawFrame(10000, 10000);
    Geometria(o);
    o[0].rama.wewn = strProst{-2000000000, -2000000000, 2000000000, 2000000000};
    const strProst cel = {0, 0, 100000, 100000};
    ASSERT_EQ(LayOutWindow(o.r.oper, o.n(), &cel, 0, &kCienkie), 1);
    EXPECT_EQ(o[0].rama.wewnUrz.left, INT32_MIN);
    EXPECT_EQ(o[0].rama.wewnUrz.right, INT32_MAX);
}

// ---- Dimension chains ------------------------------------------------------

struct DrawDimensions : ::testing::Test {
    DimensionSet w;
    void SetUp() override { memset(&w, 0, sizeof w); }
    void TearDown() override { FreeDimensions(&w); }
    void Build(TestWindow& o) {
        char msg[KV_MSG_LEN] = "";
        ASSERT_EQ(BuildDimensions(o.r.oper, o.n(), &w, msg), 1) << msg;
    }
    void ExpectChain(int c, std::initializer_list<std::pair<int32_t, int32_t>> dl_el) {
        ASSERT_EQ(w.itemCount[c], (int32_t)dl_el.size()) << "chain " << c;
        int32_t i = 0;
        for (auto [dl, el] : dl_el) {
            EXPECT_EQ(w.chainSegments[c][i].dlugosc, dl) << "chain " << c << " record " << i;
            EXPECT_EQ(w.chainSegments[c][i].element, el) << "chain " << c << " record " << i;
            i++;
        }
    }
};

TEST_F(DrawDimensions, NoMullionsOrMuntinsNoChains) {
    TestWindow o;
    o << DrawFrame(1200, 1400) << SashElement(3, 1, 0) << DrawFilling(0, "float", 1);
    Build(o);
    for (int c = 0; c < kDimensionChains; c++) {
        EXPECT_EQ(w.itemCount[c], 0);
        EXPECT_EQ(w.chainSegments[c], nullptr);
    }
}

TEST_F(DrawDimensions, EqualPositionsGiveAZeroSegment) {
    TestWindow o;
    o << DrawFrame(1000, 1000) << DrawMullion(false, 400, true, 0, 0) << DrawMullion(true, 400, true, 0, 0);
    Build(o);
    // From the bottom edge up: 1000 - 400, 0, then 400 to the top.
    ASSERT_EQ(w.itemCount[kDimensionRight], 3);
    EXPECT_EQ(w.chainSegments[kDimensionRight][0].dlugosc, 600);
    EXPECT_EQ(w.chainSegments[kDimensionRight][1].dlugosc, 0);
    EXPECT_EQ(w.chainSegments[kDimensionRight][2].dlugosc, 400);
    EXPECT_EQ(w.chainSegments[kDimensionRight][2].element, w.chainSegments[kDimensionRight][1].element);
}

TEST_F(DrawDimensions, MixedMullionsAndMuntinsSortedPerChain) {
    TestWindow o;
    o << DrawFrame(2000, 1000)                  // 0
      << DrawMullion(false, 1200, false, 0, 0)  // 1 bottom chain
      << DrawMullion(false, 600, true, 0, 1)    // 2 right chain
      << DrawMullion(true, 500, false, 0, 0)    // 3 bottom chain (false mullion)
      << DrawMullion(false, 200, true, 0, 1)    // 4 right chain
      << DrawMullion(false, 1500, false, 0, 0)  // 5 bottom chain
      << DrawMuntin(800, false, 0, 0, 0)       // 6 top chain
      << DrawMuntin(250, true, 0, 0, 0)        // 7 left chain
      << DrawMuntin(300, false, 0, 0, 0)       // 8 top chain
      << DrawMuntin(750, true, 0, 0, 0);       // 9 left chain
    Build(o);
    // Vertical mullions, smallest first, lengths from the left edge.
    ExpectChain(kDimensionBottom, {{500, 3}, {700, 1}, {300, 5}, {500, 5}});
    // Horizontal mullions, largest first, from the bottom edge.
    ExpectChain(kDimensionRight, {{400, 2}, {400, 4}, {200, 4}});
    // Muntins measure from the frame's outer edges too.
    ExpectChain(kDimensionTop, {{300, 8}, {500, 6}, {1200, 6}});
    ExpectChain(kDimensionLeft, {{250, 9}, {500, 7}, {250, 7}});
    int32_t suma = 0;
    for (int32_t i = 0; i < w.itemCount[kDimensionBottom]; i++) suma += w.chainSegments[kDimensionBottom][i].dlugosc;
    EXPECT_EQ(suma, 2000);
}

TEST_F(DrawDimensions, ManyEqualAndReversedPositionsSort) {
    TestWindow o;
    o << DrawFrame(5000, 5000);
    for (int i = 0; i < 200; i++) o << DrawMullion(false, i < 100 ? 2500 : 4900 - i * 10, false, 0, 0);
    Build(o);
    ASSERT_EQ(w.itemCount[kDimensionBottom], 201);
    int32_t suma = 0;
    for (int32_t i = 0; i < 201; i++) {
        EXPECT_GE(w.chainSegments[kDimensionBottom][i].dlugosc, 0) << i;
        suma += w.chainSegments[kDimensionBottom][i].dlugosc;
    }
    EXPECT_EQ(suma, 5000);
}

TEST_F(DrawDimensions, RebuildReusesOrReleasesAndFailureKeepsTheOldChain) {
    TestWindow o;
    o << DrawFrame(1000, 1000) << DrawMullion(false, 300, false, 0, 0);
    Build(o);
    ASSERT_EQ(w.itemCount[kDimensionBottom], 2);
    // Growing needs a reallocation; make it fail.
    o << DrawMullion(false, 700, false, 0, 0);
    char msg[KV_MSG_LEN] = "";
    KvHeapFailAt(1);
    EXPECT_EQ(BuildDimensions(o.r.oper, o.n(), &w, msg), 0);
    KvHeapFailAt(0);
    EXPECT_STREQ(msg, "Error of reallocation the table of strWym structures");
    ASSERT_EQ(w.itemCount[kDimensionBottom], 2);
    EXPECT_EQ(w.chainSegments[kDimensionBottom][0].dlugosc, 300);
    // A first allocation has its own text.
    o << DrawMullion(false, 500, true, 0, 0);
    KvHeapFailAt(1);  // the right chain comes first
    EXPECT_EQ(BuildDimensions(o.r.oper, o.n(), &w, msg), 0);
    KvHeapFailAt(0);
    EXPECT_STREQ(msg, "Error of allocation the table of strWym structures");
    Build(o);
    ExpectChain(kDimensionBottom, {{300, 1}, {400, 2}, {300, 2}});
    // Without the mullions the chains go.
    TestWindow pusty;
    pusty << DrawFrame(1000, 1000);
    Build(pusty);
    EXPECT_EQ(w.chainSegments[kDimensionBottom], nullptr);
    EXPECT_EQ(w.itemCount[kDimensionRight], 0);
}

// Texts 6 px per character and 10 px high.
void FakeMeasure(void* ctx, int pionowy, const char* tekst, int32_t* dl, int32_t* wys) {
    (*(int*)ctx) += pionowy;
    *dl = (int32_t)strlen(tekst) * 6;
    *wys = 10;
}

TEST_F(DrawDimensions, TextsCentredBetweenCentreLinesAndFrameEdges) {
    TestWindow o;
    o << DrawFrame(1000, 800) << DrawMullion(false, 400, false, 0, 0) << DrawMullion(false, 300, true, 0, 1);
    Geometria(o);
    const strProst cel = {0, 0, 1000, 800};
    ASSERT_EQ(LayOutWindow(o.r.oper, o.n(), &cel, 0, &kCienkie), 1);
    Build(o);
    int pionowe = 0;
    LayOutDimensionTexts(&w, o.r.oper, o.n(), 1, FakeMeasure, &pionowe);
    EXPECT_EQ(pionowe, 1 + 4);  // the overall height and every segment
    // "1000" under the frame, centred on x 500, 30 + 1 below it.
    ExpectRect(w.widthText, 488, 831, 512, 841);
    // "800" right of it, running upward: text height wide, length tall.
    ExpectRect(w.heightText, 1031, 391, 1041, 409);
    // Bottom chain "400" between x 0 and the centre line at 400, 15 + 1 below.
    ASSERT_EQ(w.itemCount[kDimensionBottom], 2);
    ExpectRect(w.chainSegments[kDimensionBottom][0].tekst, 191, 816, 209, 826);
    // "600" between 400 and 1000.
    ExpectRect(w.chainSegments[kDimensionBottom][1].tekst, 691, 816, 709, 826);
    // Right chain: "500" between the bottom edge (800) and the centre line at 300.
    ExpectRect(w.chainSegments[kDimensionRight][0].tekst, 1016, 541, 1026, 559);
    ExpectRect(w.chainSegments[kDimensionRight][1].tekst, 1016, 141, 1026, 159);
    // Printout distances.
    LayOutDimensionTexts(&w, o.r.oper, o.n(), 0, FakeMeasure, &pionowe);
    EXPECT_EQ(w.widthText.top, 800 + 28 + 1);
    EXPECT_EQ(w.chainSegments[kDimensionBottom][0].tekst.top, 800 + 14 + 1);
}

}  // namespace
