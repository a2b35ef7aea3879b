// The thermal transmittance Uw of a window.
#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "model/description.h"
#include "model/structure.h"
#include "model/uw.h"
#include "tests/native/sample_windows.h"
#include "tests/native/util_locale.h"
#include "util/msgbuf.h"

namespace {

// Factors that differ from each other, so that a term weighted by the wrong
// factor changes the result.
void Wspolczynniki(strOkno& r) { r.sWspUw = strWspUw{130, 140, 150, 160, 110, 600, 250, 900}; }

// The window is one the designer could have built.
void Poprawne(const TestWindow& o) {
    char msg[KV_MSG_LEN] = "";
    ASSERT_EQ(1, CheckChange(o.r.oper, o.r.liczbaOper, nullptr, -2, 5, msg)) << msg;
}

// 1000 x 1000 fixed window, frame 70 mm, clear opening 860 x 860, glazed.
void SingleGlass(TestWindow& o, int32_t typWypeln = 0) {
    o << DrawFrame(1000, 1000) << DrawFilling(typWypeln, "G", 0);
    Wspolczynniki(o.r);
}

TEST(Uw, FixedGlazedWindow) {
    // S = (1 000 000 - 739 600) * 130 + 739 600 * 110 + 20 * 1720 * 600
    //   = 135 848 000, over 1 000 000 mm2: 135.848, rounded to 136.
    TestWindow o;
    SingleGlass(o);
    Poprawne(o);
    EXPECT_EQ(136, WindowUw(&o.r));
    // The same with acrylic takes the acrylic factors: 33 852 000 +
    // 739 600 * 250 + 20 * 1720 * 900 = 249 712 000 -> 249.712 -> 250.
    TestWindow a;
    SingleGlass(a, 1);
    EXPECT_EQ(250, WindowUw(&a.r));
    // A filling of another type adds no glazing term: 33 852 000 / 1e6.
    TestWindow x;
    SingleGlass(x, 7);
    EXPECT_EQ(34, WindowUw(&x.r));
}

TEST(Uw, DerivedValuesFromStorageAreNotTrusted) {
    TestWindow o;
    SingleGlass(o);
    // Stale derived rectangles, as a loaded row might carry: recomputed.
    o[0].rama.wewn = strProst{1, 1, 2, 2};
    o[1].wypeln.prost = strProst{0, 0, 1000, 1000};
    EXPECT_EQ(136, WindowUw(&o.r));
    // ... and the caller's record is left as it was.
    EXPECT_EQ(2, o[0].rama.wewn.right);
}

TEST(Uw, EnteredByHand) {
    TestWindow o;
    SingleGlass(o);
    o.r.uwZReki = 95;
    EXPECT_EQ(136, WindowUw(&o.r));
    o.r.status |= 8;
    EXPECT_EQ(95, WindowUw(&o.r));
    // Whatever the geometry: no elements, or a structure that cannot be built.
    TestWindow pusty;
    pusty.r.status = 4 | 8;
    pusty.r.uwZReki = 120;
    EXPECT_EQ(120, WindowUw(&pusty.r));
    o[1].wypeln.ogr[2] = 5;
    EXPECT_EQ(95, WindowUw(&o.r));
}

TEST(Uw, CannotBeComputed) {
    // No elements.
    TestWindow pusty;
    EXPECT_EQ(-1, WindowUw(&pusty.r));
    EXPECT_EQ(-1, WindowUw(nullptr));
    // One of two areas is not glazed.
    TestWindow o;
    o << DrawFrame(1000, 1000) << DrawMullion(false, 500, false, 0, 0) << DrawFilling(0, "G", 0, 0, 1, 0);
    Wspolczynniki(o.r);
    Poprawne(o);
    EXPECT_EQ(-1, WindowUw(&o.r));
    o << DrawFilling(0, "G", 1, 0, 0, 0);
    EXPECT_NE(-1, WindowUw(&o.r));
    // A sash left without its glass.
    TestWindow s;
    s << DrawFrame(1000, 1000) << SashElement(3, 0, 0);
    Wspolczynniki(s.r);
    EXPECT_EQ(-1, WindowUw(&s.r));
    // A structure that does not build: a filling bounded by a later element.
    TestWindow b;
    SingleGlass(b);
    b[1].wypeln.ogr[3] = 1;
    EXPECT_EQ(-1, WindowUw(&b.r));
    // No thickness for the frame (structure format 3 has none).
    TestWindow f;
    SingleGlass(f);
    f.r.status = 3;
    EXPECT_EQ(-1, WindowUw(&f.r));
    // Frame thicker than half the window: no clear opening.
    TestWindow t;
    SingleGlass(t);
    t.r.sGrubProf.rama = 600;
    EXPECT_EQ(-1, WindowUw(&t.r));
    // Factors so large that the sum leaves 64 bits.
    TestWindow g;
    g << DrawFrame(1000000, 1000000) << DrawFilling(0, "G", 0);
    g.r.sWspUw = strWspUw{INT32_MAX, 0, 0, 0, INT32_MAX, INT32_MAX, 0, 0};
    EXPECT_EQ(-1, WindowUw(&g.r));
}

// 1500 x 1000, frame 70: a fixed mullion at x 500 (90 mm, 455-545) with
// glass to its left; a false mullion at x 1000 (60 mm, 970-1030); a sash
// between the two mullions and a sash between the false mullion and the
// frame's right side (sash 80 mm), each glazed.
void TwoSashes(TestWindow& o) {
    o << DrawFrame(1500, 1000)                 // 0
      << DrawMullion(false, 500, false, 0, 0)  // 1 fixed mullion
      << DrawMullion(true, 1000, false, 0, 0)  // 2 false mullion
      << DrawFilling(0, "G", 0, 0, 1, 0)       // 3 glass left of the fixed mullion
      << SashElement(3, 0, 1, 0, 2, 0)       // 4 sash between the mullions
      << DrawFilling(0, "G", 4)                // 5
      << SashElement(3, 1, 2, 0, 0, 0)       // 6 sash at the right
      << DrawFilling(0, "G", 6);               // 7
    Wspolczynniki(o.r);
}

TEST(Uw, SashesAgainstFrameAndMullions) {
    // W H = 1 500 000; frame inner 1360 x 860 = 1 169 600; A0 = 330 400.
    // M0 = 90 * 860 = 77 400; M1 = 60 * 860 = 51 600.
    // Sash 4: outer 545-970 x 70-930 (425 x 860), inner 265 x 700.
    //   left on the fixed mullion: M0 += 80 * (700 + 80) = 62 400
    //   top on the frame: A0 -= 70 * 425 = 29 750, A1 += 29 750 + 80 * (265 + 80) = 57 350
    //   right on the false mullion: M1 += 62 400
    //   bottom on the frame: as the top; no corner has two sides on the frame.
    // Sash 6: outer 1030-1430 x 70-930 (400 x 860), inner 240 x 700.
    //   left on the false mullion: M1 += 62 400
    //   top: A0 -= 28 000, A1 += 28 000 + 80 * 320 = 53 600; bottom the same
    //   right: A0 -= 70 * 860 = 60 200, A1 += 60 200 + 80 * 780 = 122 600
    //   corners top-right and right-bottom: A0 -= 2 * 4 900, A1 += 9 800.
    // A0 = 330 400 - 59 500 - 116 200 - 9 800 = 144 900
    // A1 = 114 700 + 229 800 + 9 800 = 354 300
    // M0 = 139 800; M1 = 176 400
    // Glass: 385 x 860 = 331 100, 265 x 700 = 185 500, 240 x 700 = 168 000
    //   (the areas add up to 1 500 000).
    // S = 144 900 * 130 + 354 300 * 140 + 139 800 * 150 + 176 400 * 160
    //   + 684 600 * 110 + 20 * 600 * (1245 + 965 + 940)
    //   = 18 837 000 + 49 602 000 + 20 970 000 + 28 224 000 + 75 306 000
    //   + 37 800 000 = 230 739 000; / 1 500 000 = 153.826 -> 154.
    TestWindow o;
    TwoSashes(o);
    Poprawne(o);
    EXPECT_EQ(154, WindowUw(&o.r));
}

// With every U factor equal and no edge term, Uw is that factor exactly:
// the frame, mullion, sash and glass areas tile the window once.
TEST(Uw, AreasTileTheWindow) {
    auto jednakowe = [](strOkno& r, int32_t u) { r.sWspUw = strWspUw{u, u, u, u, u, 0, u, 0}; };
    TestWindow a;
    TwoSashes(a);
    TestWindow b;  // one sash filling the frame: all four corners on the frame
    b << DrawFrame(1200, 1400) << SashElement(2, 1, 0) << DrawFilling(1, "A", 1);
    TestWindow c;  // a horizontal mullion with sashes above and below it
    c << DrawFrame(900, 2000) << DrawMullion(false, 1200, true, 0, 0) << SashElement(1, 0, 0, 0, 0, 1)
      << SashElement(3, 0, 0, 1, 0, 0) << DrawFilling(0, "G", 2) << DrawFilling(0, "G", 3);
    TestWindow d;  // a mullion bounded by another mullion, and muntins on the glass
    d << DrawFrame(2000, 1500) << DrawMullion(false, 1000, false, 0, 0) << DrawMullion(false, 700, true, 0, 1)
      << DrawFilling(0, "G", 0, 0, 1, 2) << DrawFilling(0, "G", 0, 2, 1, 0) << SashElement(3, 1, 1, 0, 0, 0)
      << DrawFilling(0, "G", 5) << DrawMuntin(400, false, 0, 2, 3);
    for (TestWindow* o : {&a, &b, &c, &d}) {
        Poprawne(*o);
        for (int32_t u : {100, 137, 999}) {
            jednakowe(o->r, u);
            EXPECT_EQ(u, WindowUw(&o->r)) << o->r.oper[0].rama.x1 << " " << u;
        }
    }
}

// The description's last line shows the Uw with two decimals.
class UwLine : public LocaleTest {};

TEST_P(UwLine, InTheDescription) {
    TestWindow o;
    SingleGlass(o);
    strZam z;
    memset(&z, 0, sizeof z);
    z.okna = &o.r;
    z.liczbaOkien = 1;
    char opis[1024];
    ASSERT_EQ(1, DescribeWindow(&z, 0, opis, sizeof opis));
    const std::string t = opis;
    EXPECT_EQ(L("\r\nUw factor: 1#36 W/(m2*K)"), t.substr(t.rfind("\r\n"))) << t;
    TestWindow u;  // the right-hand area left unglazed
    u << DrawFrame(1000, 1000) << DrawMullion(false, 500, false, 0, 0) << DrawFilling(0, "G", 0, 0, 1, 0);
    z.okna = &u.r;
    ASSERT_EQ(1, DescribeWindow(&z, 0, opis, sizeof opis));
    EXPECT_NE(nullptr, strstr(opis, "\r\nUw factor: - W/(m2*K)")) << opis;
}
INSTANTIATE_TEST_SUITE_P(Locales, UwLine, KV_LOCALES);

}  // namespace
