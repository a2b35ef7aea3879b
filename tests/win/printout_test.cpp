// The printout of an order: orders built with the model's operations are
// composed into pages, and the page metafiles are read back record by
// record (their frames, text lines with their fonts, and lines), grouped by
// the rule each check guards. The last tests run "Print" for real: from
// the register of orders into the print library's modal preview.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "db/connection.h"
#include "db/newdb.h"
#include "db/tables.h"
#include "pagora/pagora.h"
#include "printout/pdf_win.h"
#include "printout/printout.h"
#include "render/drawset_win.h"
#include "resources/resource.h"
#include "tests/native/order_patterns.h"
#include "tests/native/testdb.h"
#include "tests/win/emf_pages.h"
#include "tests/win/harness.h"
#include "tests/win/main_window_fixture.h"
#include "tests/win/testutil.h"
#include "tools/mkdb/demo.h"
#include "util/amounttext.h"
#include "util/heap.h"
#include "util/file_dialog_win.h"
#include "util/files.h"
#include "util/msgbuf.h"
#include "valuation/valuation.h"

namespace {

// A window of w x h mm: the frame and one tilt & turn sash with glass.
void TiltTurnWindow(TestWindow& o, int32_t w, int32_t h, int32_t ilosc) {
    o << DrawFrame(w, h) << SashElement(3, 1, 0) << DrawFilling(0, "Glass 4/16/4", 1);
    o.r.ilOkien = ilosc;
}

struct ComposedPrintout {
    int wynik = 0;
    std::string msg;
    std::vector<EmfPage> strony;
};

// Footer line and the body's end of a page, from its "Date of printing:".
int FooterLine(const EmfPage& s) {
    const EmfText* t = TextAt(s, "Date of printing: ");
    return t ? t->y - 2 : -1;
}
int ContentEnd(const EmfPage& s) { return FooterLine(s) - 14; }

class PrintoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CreateDrawSet(GetModuleHandleA(nullptr), &screenSet_));
        ASSERT_TRUE(CreatePrintDrawSet(&screenSet_, &printSet_));
        memset(&ust_, 0, sizeof ust_);
        ust_.wysNaglDruk = 30;
        strcpy(ust_.stanyZam[0], "ORDERED");
        strcpy(ust_.stanyZam[2], "DELIVERED");
        InitTestOrder(&z_, 7, "Printout Buyer");
        z_.zam.uwagi[0] = 0;
        z_.zam.waga = 2500;  // 25 kg per m2
    }
    void TearDown() override {
        FreeAndZeroOrder(&z_);
        DestroyPrintDrawSet(&printSet_);
        DestroyDrawSet(&screenSet_);
    }
    void AddWindows(int n, int32_t w = 1000, int32_t h = 1200) {
        for (int i = 0; i < n; i++) {
            TestWindow o;
            TiltTurnWindow(o, w, h, 1 + i % 2);
            AddTestWindow(&z_, o, "Norvel", 38900 + 100 * i);
        }
    }
    // Composes z_ and reads every page back. Every text must be written as
    // characters, one record per line.
    ComposedPrintout Compose() {
        ComposedPrintout w;
        PrintoutPages s = {nullptr, 7};
        char msg[KV_MSG_LEN] = "";
        w.wynik = ComposeOrderPrintout(&z_, &printSet_, &ust_, &s, msg);
        w.msg = msg;
        for (int32_t i = 0; i < s.itemCount; i++) w.strony.push_back(ReadPage(s.pageFiles[i]));
        if (!w.wynik) {
            EXPECT_EQ(nullptr, s.pageFiles);
            EXPECT_EQ(0, s.itemCount);
        }
        FreePrintoutPages(&s);
        for (const EmfPage& p : w.strony) {
            EXPECT_EQ(0, p.glify);
            for (const EmfText& t : p.teksty) EXPECT_EQ(std::string::npos, t.t.find_first_of("\r\n")) << t.t;
        }
        return w;
    }
    int HeadingTop() const { return (int)(ust_.wysNaglDruk * 960 * 0.91 / (MmForInch(nullptr, 0) * 10)); }

    DrawSet screenSet_, printSet_;
    strUstUzytk ust_;
    strZamRob z_;
};

// ---- Page frame, heading and page numbers -------------------------------------

TEST_F(PrintoutTest, PagesAreEightByTenInchesWithHeadingAndNumberAtTheHeadingHeight) {
    AddWindows(6);
    z_.zam.status = 3;
    strcpy(z_.zam.dodOznaczZam, "SITE-7");
    const LONG W = (LONG)(MmForInch(nullptr, 1) * 800), H = (LONG)(MmForInch(nullptr, 0) * 1000);
    // 8 x 10 inches within the display's measuring error.
    EXPECT_NEAR(20320, W, 200);
    EXPECT_NEAR(25400, H, 250);
    struct {
        int32_t mm;
        int gora;  // expected heading top, -1: from the display's millimetres per inch
    } przypadki[] = {{0, 0}, {30, -1}};
    for (auto& p : przypadki) {
        ust_.wysNaglDruk = p.mm;
        const int gora = p.gora >= 0 ? p.gora : HeadingTop();
        if (p.mm == 30 && MmForInch(nullptr, 0) == 25.4f) {
            EXPECT_EQ(103, gora);
        }
        ComposedPrintout w = Compose();
        ASSERT_EQ(1, w.wynik) << w.msg;
        ASSERT_EQ(3u, w.strony.size()) << p.mm;
        for (size_t i = 0; i < w.strony.size(); i++) {
            const EmfPage& s = w.strony[i];
            SCOPED_TRACE(std::to_string(p.mm) + " mm, page " + std::to_string(i + 1));
            EXPECT_EQ(0, s.ramka.left);
            EXPECT_EQ(0, s.ramka.top);
            EXPECT_EQ(W, s.ramka.right);
            EXPECT_EQ(H, s.ramka.bottom);
            // The heading: order number and symbol left at (0, T), the
            // status centred on the same line, in the big font.
            auto numer = MatchingTexts(s, "7-QW-2010 (SITE-7)");
            ASSERT_EQ(1u, numer.size());
            EXPECT_EQ(0, numer[0].x);
            EXPECT_EQ(gora, numer[0].y);
            EXPECT_EQ(-18, numer[0].wys);
            EXPECT_EQ(700, numer[0].waga);
            auto status = MatchingTexts(s, "DELIVERED");
            ASSERT_EQ(1u, status.size());
            EXPECT_EQ(gora, status[0].y);
            EXPECT_NEAR(384, status[0].x + ArialTextWidth("DELIVERED", -18, 700) / 2, 1);
            // "Page: i/n" in the small font, right-aligned at 767, top at T.
            const std::string nr = "Page: " + std::to_string(i + 1) + "/3";
            auto strona = MatchingTexts(s, nr);
            ASSERT_EQ(1u, strona.size());
            EXPECT_EQ(gora, strona[0].y);
            EXPECT_EQ(-10, strona[0].wys);
            EXPECT_NEAR(768, strona[0].x + ArialTextWidth(nr, -10, 400), 1);
            // The footer on every page, its line across the page.
            ASSERT_GT(FooterLine(s), 900);
            EXPECT_TRUE(std::any_of(s.linie.begin(), s.linie.end(), [&](const EmfLine& l) {
                return l.y1 == FooterLine(s) && l.y2 == l.y1 && l.x1 == 0 && l.x2 >= 767;
            }));
            EXPECT_NE(nullptr,
                      TextAt(s, "A printout was made with Quarvel program.  Details on www.quarvel.example"));
        }
    }
}

// A page's units are 1/96 inch on a display of any dpi: played into its
// frame at 768 x 960 pixels, the footer's line lies where the page wrote it,
// not shrunk towards the top by the display's larger inch.
TEST_F(PrintoutTest, APagePlayedIntoItsFrameFillsItAtEveryScale) {
    AddWindows(2);
    PrintoutPages s = {nullptr, 0};
    char msg[KV_MSG_LEN] = "";
    ASSERT_EQ(1, ComposeOrderPrintout(&z_, &printSet_, &ust_, &s, msg)) << msg;
    const int footer = FooterLine(ReadPage(s.pageFiles[0]));
    BITMAPINFO bi = {};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 768, -960, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(nullptr, dib);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, dib);
    PatBlt(dc, 0, 0, 768, 960, WHITENESS);
    const RECT page = {0, 0, 768, 960};
    PlayEnhMetaFile(dc, s.pageFiles[0], &page);
    GdiFlush();
    // The lowest row dark across most of the page's width.
    int lowest = -1;
    const uint32_t* px = (const uint32_t*)bits;
    for (int y = 0; y < 960; y++) {
        int dark = 0;
        for (int x = 0; x < 768; x++) dark += (px[y * 768 + x] & 0xffffff) < 0x808080;
        if (dark > 700) lowest = y;
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(dib);
    FreePrintoutPages(&s);
    EXPECT_GT(footer, 900);
    EXPECT_NEAR(footer, lowest, 2);
}

// ---- Window rows -------------------------------------------------------------------

TEST_F(PrintoutTest, WindowRowsNeverSplitAndTheLastStaysWithItsSums) {
    struct {
        int32_t mm;
        int okien;
    } przypadki[] = {{0, 1}, {0, 4}, {0, 7}, {30, 3}, {30, 4}, {30, 8}, {120, 2}, {120, 5}};
    for (auto& p : przypadki) {
        SCOPED_TRACE(std::to_string(p.mm) + " mm, " + std::to_string(p.okien) + " windows");
        FreeAndZeroOrder(&z_);
        InitTestOrder(&z_, 7, "Printout Buyer");
        z_.zam.uwagi[0] = 0;
        AddWindows(p.okien);
        ust_.wysNaglDruk = p.mm;
        ComposedPrintout w = Compose();
        ASSERT_EQ(1, w.wynik) << w.msg;
        int nastepne = 1;  // the window expected next
        int strSum = -1;
        for (size_t i = 0; i < w.strony.size(); i++) {
            const EmfPage& s = w.strony[i];
            const int koniec = ContentEnd(s);
            std::vector<int> wiersze;  // tops of this page's window rows
            for (const EmfText& t : s.teksty)
                if (t.x == 32 && t.t.compare(0, 6, "Size: ") == 0) wiersze.push_back(t.y - 2);
            for (size_t r = 0; r < wiersze.size(); r++) {
                const int gora = wiersze[r];
                // The row's number and its whole box on this page.
                auto nr = MatchingTexts(s, std::to_string(nastepne));
                EXPECT_TRUE(std::any_of(nr.begin(), nr.end(),
                                        [&](const EmfText& t) { return t.y == gora + 2 && t.x < 30; }))
                    << "window " << nastepne;
                EXPECT_LE(gora + kWindowRowHeight, koniec) << "window " << nastepne;
                EXPECT_TRUE(std::any_of(s.linie.begin(), s.linie.end(),
                                        [&](const EmfLine& l) {
                                            return l.y1 == gora + kWindowRowHeight && l.y2 == l.y1 && l.x1 == 0;
                                        }))
                    << "bottom edge of window " << nastepne;
                nastepne++;
            }
            if (!wiersze.empty()) {
                // A page with windows starts them under a header row.
                auto naglowek = MatchingTexts(s, "Details");
                ASSERT_EQ(1u, naglowek.size());
                EXPECT_LT(naglowek[0].y, wiersze[0]);
                EXPECT_GT(naglowek[0].y, wiersze[0] - 30);
                const int dol = wiersze.back() + kWindowRowHeight;
                const int wiersz = wiersze[0] - (naglowek[0].y - 2);  // a table row's height
                if (nastepne <= p.okien) {
                    // Moved on only because the next window did not fit: 210,
                    // and four closing rows when it is the last.
                    const int potrzeba = kWindowRowHeight + (nastepne == p.okien ? 4 * wiersz : 0);
                    EXPECT_GT(dol + potrzeba, koniec) << "a page break before window " << nastepne;
                }
            }
            auto suma = MatchingTexts(s, "Total sum");
            const EmfText* obwod = TextAt(s, "Perimeter in meters");
            if (obwod) {
                strSum = (int)i;
                ASSERT_FALSE(wiersze.empty()) << "the sums left their last window";
                EXPECT_EQ(wiersze.back() + kWindowRowHeight + 2, obwod->y);
                ASSERT_FALSE(suma.empty());
                EXPECT_EQ(obwod->y, suma[0].y);
                EXPECT_LE(
                    obwod->y - 2 + 3 * (TextAt(s, "Weight in kg")->y - TextAt(s, "The number of elements")->y),
                    koniec);
            }
        }
        EXPECT_EQ(p.okien + 1, nastepne);
        EXPECT_GE(strSum, 0);
    }
}

// ---- What is printed and what is refused -----------------------------------------

TEST_F(PrintoutTest, AnOrderWithAccessoriesOnlyHasNoWindowsTable) {
    for (int i = 0; i < 4; i++) AddTestAccessory(&z_, i, i == 2 ? "Roller blind" : "Sill", i);
    ComposedPrintout w = Compose();
    ASSERT_EQ(1, w.wynik) << w.msg;
    ASSERT_EQ(1u, w.strony.size());
    const EmfPage& s = w.strony[0];
    for (const char* nie : {"Drawing", "Details", "Perimeter in meters", "Weight in kg"})
        EXPECT_EQ(nullptr, TextAt(s, nie)) << nie;
    ASSERT_EQ(1u, MatchingTexts(s, "Name of accessory").size());
    // Sizes right-aligned at 508: none, one, two and three dimensions.
    const char* rozmiary[] = {"1,25 m", "1,25 x 1,35 m", "1,25 x 1,35 x 1,45 m"};
    for (const char* r : rozmiary) {
        auto t = MatchingTexts(s, r);
        ASSERT_EQ(1u, t.size()) << r;
        EXPECT_EQ(-14, t[0].wys);
        EXPECT_NEAR(509, t[0].x + ArialTextWidth(r, -14, 400), 1) << r;
    }
    ASSERT_EQ(1u, MatchingTexts(s, "Roller blind").size());
    EXPECT_EQ(32, MatchingTexts(s, "Roller blind")[0].x);
    // The accessories' "Total sum" row: 8 pieces, their net total.
    auto suma = MatchingTexts(s, "Total sum");
    ASSERT_EQ(2u, suma.size());  // the accessories' row and the totals table's
    auto sztuki = MatchingTexts(s, "8");
    EXPECT_TRUE(
        std::any_of(sztuki.begin(), sztuki.end(), [&](const EmfText& t) { return t.y == suma[0].y; }));
}

TEST_F(PrintoutTest, RefusesWhatCannotBePrintedBeforeAnythingIsHandedOver) {
    struct {
        int okien, dodatkow;
        int32_t mm;
        const char* tekst;  // expected in the message; null: it prints
    } przypadki[] = {
        {0, 0, 30, "The order is empty"},
        {1, 0, 200,
         "There is no room for a window of the order on a page below a printout heading of 200 mm.\r\n"
         "Lower the heading height of the printout in the settings."},
        {1, 2, 250, "of 250 mm"},
        {0, 2, 200, nullptr},  // accessory rows still fit under 200 mm
        {0, 1, 250,
         "There is no room for an accessory of the order on a page below a printout heading of 250 mm."},
        {0, 1, 5000,
         "There is no room for the dates of the order on a page below a printout heading of 5000 mm."},
    };
    for (auto& p : przypadki) {
        SCOPED_TRACE(std::to_string(p.okien) + " windows, " + std::to_string(p.dodatkow) + " accessories, " +
                     std::to_string(p.mm) + " mm");
        FreeAndZeroOrder(&z_);
        InitTestOrder(&z_, 7, "Printout Buyer");
        AddWindows(p.okien);
        for (int i = 0; i < p.dodatkow; i++) AddTestAccessory(&z_, i, "Sill", 1);
        ust_.wysNaglDruk = p.mm;
        ComposedPrintout w = Compose();
        if (!p.tekst) {
            EXPECT_EQ(1, w.wynik) << w.msg;
            continue;
        }
        EXPECT_EQ(0, w.wynik);
        EXPECT_NE(std::string::npos, w.msg.find(p.tekst)) << w.msg;
        EXPECT_TRUE(w.strony.empty());
    }
}

// ---- Dates, parties and the cells of the tables -----------------------------------

// Height of a line of "Arial" of that character height and weight, as the
// display measures it.
int ArialLineHeight(int wys, int waga) {
    HDC dc = GetDC(nullptr);
    HFONT f = CreateFontA(wys, 0, 0, 0, waga, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Arial");
    HGDIOBJ old = SelectObject(dc, f);
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    DeleteObject(f);
    ReleaseDC(nullptr, dc);
    return tm.tmHeight;
}

TEST_F(PrintoutTest, FrameIsTakenInFloatSoAnExactInchGivesTheWholePage) {
    struct {
        float mmX, mmY;
        LONG w, h;
    } przypadki[] = {
        {25.4f, 25.4f, 20320, 25400}, {25.35f, 25.4f, 20280, 25400}, {25.4f, 25.35f, 20320, 25350}};
    for (auto& p : przypadki) {
        RECT r = PrintoutPageFrame(p.mmX, p.mmY);
        EXPECT_EQ(0, r.left);
        EXPECT_EQ(0, r.top);
        EXPECT_EQ(p.w, r.right) << p.mmX;
        EXPECT_EQ(p.h, r.bottom) << p.mmY;
    }
}

// The order's date on the left after its label, the fulfilment date on the
// right with its label just left of it; the seller 14 below the dates even
// when a text of it is empty, the buyer 14 below the seller.
TEST_F(PrintoutTest, DatesOnTheirSidesAndPartiesBelowThem) {
    struct {
        const char* nazwa;
        const char* adres;
        const char* inf;
        const char* pierwszy;  // the seller's first text printed
        const char* ostatni;   // and its last
    } przypadki[] = {
        {"Kvt Frames Works", "1 Mill Lane", "Tax no. 123", "Kvt Frames Works", "Tax no. 123"},
        {"", "1 Mill Lane", "Tax no. 123", "1 Mill Lane", "Tax no. 123"},
        {"", "", "Tax no. 123", "Tax no. 123", "Tax no. 123"},
        {"Kvt Frames Works", "", "", "Kvt Frames Works", "Kvt Frames Works"},
    };
    const int hNorm = ArialLineHeight(-14, 400), hGruby = ArialLineHeight(-14, 700);
    const int hDat = hNorm > hGruby ? hNorm : hGruby;
    char zam[64], real[64];
    DajFormatData(z_.zam.dataZam, zam, sizeof zam);
    DajFormatData(z_.zam.dataReal, real, sizeof real);
    ASSERT_STRNE(zam, real);
    for (auto& p : przypadki) {
        SCOPED_TRACE(std::string("seller \"") + p.nazwa + "\", \"" + p.adres + "\", \"" + p.inf + "\"");
        FreeAndZeroOrder(&z_);
        InitTestOrder(&z_, 7, "Printout Buyer");
        z_.zam.uwagi[0] = 0;
        strcpy(z_.zam.sDaneUzytk.nazwa, p.nazwa);
        strcpy(z_.zam.sDaneUzytk.adres, p.adres);
        strcpy(z_.zam.sDaneUzytk.infDodat, p.inf);
        AddWindows(1);
        ComposedPrintout w = Compose();
        ASSERT_EQ(1, w.wynik) << w.msg;
        const EmfPage& s = w.strony[0];
        const EmfText* etykieta = TextAt(s, "Date of order: ");
        ASSERT_TRUE(etykieta);
        EXPECT_EQ(0, etykieta->x);
        EXPECT_EQ(700, etykieta->waga);
        const int y = etykieta->y;
        auto lewa = MatchingTexts(s, zam);
        ASSERT_EQ(1u, lewa.size());
        EXPECT_EQ(y, lewa[0].y);
        EXPECT_EQ(ArialTextWidth("Date of order: ", -14, 700), lewa[0].x);
        auto prawa = MatchingTexts(s, real);
        ASSERT_EQ(1u, prawa.size());
        EXPECT_EQ(y, prawa[0].y);
        EXPECT_NEAR(768, prawa[0].x + ArialTextWidth(real, -14, 400), 1);
        auto etykietaReal = MatchingTexts(s, "Date of fulfilment: ");
        ASSERT_EQ(1u, etykietaReal.size());
        EXPECT_EQ(y, etykietaReal[0].y);
        EXPECT_NEAR(prawa[0].x, etykietaReal[0].x + ArialTextWidth("Date of fulfilment: ", -14, 700), 1);

        const EmfText* pierwszy = TextAt(s, p.pierwszy);
        const EmfText* ostatni = TextAt(s, p.ostatni);
        ASSERT_TRUE(pierwszy && ostatni);
        EXPECT_EQ(y + hDat + 14, pierwszy->y) << "the seller is not 14 below the dates";
        const EmfText* nabywca = TextAt(s, "Printout Buyer");
        ASSERT_TRUE(nabywca);
        EXPECT_EQ(ostatni->y + (ostatni->waga == 700 ? hGruby : hNorm) + 14, nabywca->y);
    }
}

// A window row's Price, Quantity and Total: the unit and line net amounts
// and the quantity, each centred in its column and in the row's height.
TEST_F(PrintoutTest, AWindowRowShowsPriceQuantityAndTotalInTheirCells) {
    struct {
        int64_t cena;
        int32_t ilosc;
    } przypadki[] = {{38900, 3}, {125050, 1}, {99, 12}};
    const int h = ArialLineHeight(-14, 400);
    for (auto& p : przypadki) {
        SCOPED_TRACE(std::to_string(p.cena) + " x " + std::to_string(p.ilosc));
        FreeAndZeroOrder(&z_);
        InitTestOrder(&z_, 7, "Printout Buyer");
        z_.zam.uwagi[0] = 0;
        TestWindow o;
        TiltTurnWindow(o, 1000, 1200, p.ilosc);
        AddTestWindow(&z_, o, "Kvt Profile 70", p.cena);
        ComposedPrintout w = Compose();
        ASSERT_EQ(1, w.wynik) << w.msg;
        const EmfPage& s = w.strony[0];
        const EmfText* opis = nullptr;
        for (const EmfText& t : s.teksty)
            if (t.x == 32 && t.t.compare(0, 6, "Size: ") == 0) opis = &t;
        ASSERT_TRUE(opis);
        const int gora = opis->y - 2;
        const int yKom = gora + (kWindowRowHeight - h) / 2;
        char cena[64], razem[64], ilosc[16];
        ASSERT_TRUE(AmountDisplayText(p.cena, cena, sizeof cena));
        ASSERT_TRUE(AmountDisplayText(p.cena * p.ilosc, razem, sizeof razem));
        snprintf(ilosc, sizeof ilosc, "%d", (int)p.ilosc);
        struct {
            const char* t;
            int l, r;
        } komorki[] = {{cena, 512, 594}, {ilosc, 598, 680}, {razem, 684, 765}};
        for (auto& k : komorki) {
            auto znalezione = MatchingTexts(s, k.t);
            auto it = std::find_if(znalezione.begin(), znalezione.end(), [&](const EmfText& t) {
                return t.x >= k.l && t.x <= k.r && t.y > gora && t.y < gora + kWindowRowHeight;
            });
            ASSERT_NE(znalezione.end(), it) << k.t << " not in " << k.l << "-" << k.r;
            EXPECT_EQ(yKom, it->y) << k.t;
            EXPECT_NEAR((k.l + k.r + 1) / 2, it->x + ArialTextWidth(k.t, -14, 400) / 2, 1) << k.t;
        }
    }
}

// An accessories table longer than a page: rows in order, a header row on
// every page they reach, a row moved on only when it did not fit, and the
// last row always on the page of the table's "Total sum", right above it.
TEST_F(PrintoutTest, AccessoriesOverAPageBreakKeepTheirHeaderAndTheLastRowWithTheSum) {
    const int h = ArialLineHeight(-14, 400);
    const int wiersz = ArialLineHeight(-14, 700) + 4;  // every table row but a window's
    int zPrzeniesieniem = 0;
    for (int n = 20; n <= 44; n++) {
        SCOPED_TRACE(std::to_string(n) + " accessories");
        FreeAndZeroOrder(&z_);
        InitTestOrder(&z_, 7, "Printout Buyer");
        z_.zam.uwagi[0] = 0;
        for (int i = 0; i < n; i++) {
            char nazwa[32];
            snprintf(nazwa, sizeof nazwa, "Acc %03d", i + 1);
            AddTestAccessory(&z_, i, nazwa, 0);
        }
        ComposedPrintout w = Compose();
        ASSERT_EQ(1, w.wynik) << w.msg;
        int nastepny = 1;
        bool suma = false;
        for (size_t i = 0; i < w.strony.size(); i++) {
            const EmfPage& s = w.strony[i];
            std::vector<int> gory;  // tops of this page's accessory rows
            for (const EmfText& t : s.teksty) {
                if (t.x != 32 || t.t.compare(0, 4, "Acc ") != 0) continue;
                char oczek[32];
                snprintf(oczek, sizeof oczek, "Acc %03d", nastepny);
                EXPECT_EQ(oczek, t.t);
                nastepny++;
                gory.push_back(t.y - (wiersz - h) / 2);
            }
            if (gory.empty()) continue;
            for (size_t r = 1; r < gory.size(); r++) EXPECT_EQ(wiersz, gory[r] - gory[r - 1]);
            // The header row right above the page's first row.
            auto naglowek = MatchingTexts(s, "Name of accessory");
            ASSERT_EQ(1u, naglowek.size()) << "page " << i + 1;
            EXPECT_GT(naglowek[0].y, gory[0] - wiersz);
            EXPECT_LT(naglowek[0].y, gory[0]);
            const int dol = gory.back() + wiersz;
            const EmfText* sumaT = nullptr;
            for (const EmfText& t : s.teksty)
                if (t.t == "Total sum" && t.x > 510 && t.y > dol - wiersz && (!sumaT || t.y < sumaT->y))
                    sumaT = &t;
            if (nastepny > n) {
                ASSERT_TRUE(sumaT) << "the last accessory left its \"Total sum\"";
                EXPECT_GT(sumaT->y, dol);
                EXPECT_LT(sumaT->y, dol + wiersz);
                suma = true;
            } else {
                // Moved on only because the next row (and, for the last,
                // its sum) did not fit under the last one here.
                const int potrzeba = wiersz * (nastepny == n ? 2 : 1);
                EXPECT_GT(dol + potrzeba, ContentEnd(s)) << "a page break before accessory " << nastepny;
                if (nastepny == n && dol + wiersz <= ContentEnd(s)) zPrzeniesieniem++;
            }
        }
        EXPECT_EQ(n + 1, nastepny);
        EXPECT_TRUE(suma);
    }
    EXPECT_GT(zPrzeniesieniem, 0) << "no count had its last accessory moved on to stay with the sum";
}

TEST_F(PrintoutTest, AFailureOnTheWayLeavesNoPagesBehind) {
    AddWindows(5);
    for (int i = 0; i < 2; i++) AddTestAccessory(&z_, i, "Sill", 1);
    // The n-th allocation from the private heap fails: page slots and the
    // window copies of the drawings.
    int powodzenia = 0, bledy = 0;
    for (int n = 1; n <= 40; n++) {
        KvHeapFailAt(n);
        ComposedPrintout w = Compose();
        KvHeapFailAt(0);
        if (w.wynik) {
            powodzenia++;
            EXPECT_EQ(3u, w.strony.size()) << n;
            continue;
        }
        bledy++;
        EXPECT_TRUE(w.msg == "Error of allocation of HENHMETAFILE" ||
                    w.msg.compare(0, 20, "Error of allocation ") == 0)
            << n << ": " << w.msg;
    }
    EXPECT_GT(bledy, 5);
    EXPECT_GT(powodzenia, 0);
}

TEST_F(PrintoutTest, OverlongAndUnterminatedTextsStayOnThePage) {
    AddWindows(1);
    AddTestAccessory(&z_, 0, std::string(127, 'N').c_str(), 1);
    // The seller's block as a damaged file may hold it: no terminators.
    memset(&z_.zam.sDaneUzytk, 'S', sizeof z_.zam.sDaneUzytk);
    memset(z_.zam.nazwaNabyw, 'B', sizeof z_.zam.nazwaNabyw - 1);
    ComposedPrintout w = Compose();
    ASSERT_EQ(1, w.wynik) << w.msg;
    size_t s = 0, b = 0;
    for (const EmfPage& p : w.strony)
        for (const EmfText& t : p.teksty) {
            EXPECT_LE(t.x + ArialTextWidth(t.t, t.wys, t.waga ? t.waga : 400), 768) << t.t;
            if (t.t.find_first_not_of('S') == std::string::npos) s += t.t.size();
            if (t.t.find_first_not_of('B') == std::string::npos) b += t.t.size();
            if (t.t[0] == 'N' && t.t.find_first_not_of('N') == std::string::npos) {
                // The accessory's name cut at its cell, 368.
                EXPECT_EQ(32, t.x);
                EXPECT_LE(t.x + ArialTextWidth(t.t, -14, 400), 369);
            }
        }
    EXPECT_EQ(3u * sizeof z_.zam.sDaneUzytk.nazwa, s);  // name, address, other information, whole
    EXPECT_EQ(sizeof z_.zam.nazwaNabyw - 1, b);         // broken over lines, nothing lost
}

// ---- The windows table's sums ------------------------------------------------------

TEST_F(PrintoutTest, PerimeterElementsAndWeightOfTheWindows) {
    struct Okno {
        int32_t w, h, ilosc;
    };
    struct {
        std::vector<Okno> okna;
        int32_t waga;  // hundredths of kg per m2
        const char *obwod, *elementy, *ciezar;
    } przypadki[] = {
        // 2 x 2200 x 3 = 13 200 mm
        {{{1000, 1200, 2}, {1000, 1200, 1}}, 2500, "13,20", "6", "90,00"},
        // 13 000 mm: metres with no decimals
        {{{2000, 1250, 2}}, 2500, "13", "4", "125,00"},
        // 4006 mm rounds up to 4.01 m; 1.003002 kg/100 rounds to 0.01
        {{{1001, 1002, 1}}, 1, "4,01", "2", "0,01"},
        // 999 windows of 10 x 10 m: 250 000 000 000 before the division
        {{{10000, 10000, 999}}, 2500, "39 960", "1998", "2497500,00"},
    };
    for (auto& p : przypadki) {
        SCOPED_TRACE(p.obwod);
        FreeAndZeroOrder(&z_);
        InitTestOrder(&z_, 7, "Printout Buyer");
        z_.zam.uwagi[0] = 0;
        z_.zam.waga = p.waga;
        for (const Okno& o : p.okna) {
            TestWindow t;
            TiltTurnWindow(t, o.w, o.h, o.ilosc);
            AddTestWindow(&z_, t, "Norvel", 10000);
        }
        ComposedPrintout w = Compose();
        ASSERT_EQ(1, w.wynik) << w.msg;
        const EmfPage* s = nullptr;
        for (const EmfPage& x : w.strony)
            if (TextAt(x, "Perimeter in meters")) s = &x;
        ASSERT_NE(nullptr, s);
        const int y = TextAt(*s, "Perimeter in meters")->y;
        const int wiersz = TextAt(*s, "The number of elements")->y - y;
        const char* wartosci[] = {p.obwod, p.elementy, p.ciezar};
        for (int i = 0; i < 3; i++) {
            auto t = MatchingTexts(*s, wartosci[i]);
            auto it =
                std::find_if(t.begin(), t.end(), [&](const EmfText& x) { return x.y == y + wiersz * i; });
            ASSERT_NE(t.end(), it) << wartosci[i];
            EXPECT_NEAR(299, it->x + ArialTextWidth(wartosci[i], -14, 400), 1) << wartosci[i];
        }
    }
}

// ---- The totals table ----------------------------------------------------------------

TEST_F(PrintoutTest, TotalsTableShowsTheValuationsSixRows) {
    struct {
        int32_t rabat, flagi;
        int64_t mont, demont;
        int32_t vatMont, vatDodat, vatOkna;
    } przypadki[] = {
        {0, 0, 0, 0, 800, 2300, 800},
        {10, 1 | 8, 1250, 9900, 850, 2300, 2300},  // assembly by size, fixed disassembly
        {33, 2 | 4, 15000, 333, 0, 700, 2200},     // fixed assembly, disassembly by size
    };
    for (auto& p : przypadki) {
        SCOPED_TRACE(std::to_string(p.rabat) + "% discount");
        FreeAndZeroOrder(&z_);
        InitTestOrder(&z_, 7, "Printout Buyer");
        z_.zam.uwagi[0] = 0;
        AddWindows(3);
        for (int i = 0; i < 3; i++) AddTestAccessory(&z_, i, "Sill", i);
        strWycenZamParam& w = z_.zam.sWycenZamParam;
        w.rabat = p.rabat;
        w.flagi = p.flagi;
        w.cenaMont = p.mont;
        w.cenaDemont = p.demont;
        w.vatMont = p.vatMont;
        w.vatDodat = p.vatDodat;
        w.vatOkna = p.vatOkna;
        z_.sumy = strSumyZam{};
        ComposedPrintout wd = Compose();
        ASSERT_EQ(1, wd.wynik) << wd.msg;
        const strSumyZam& su = z_.sumy;  // recomputed by the printout
        ASSERT_NE(0, su.zamBrutto);
        const EmfPage& s = wd.strony.back();
        auto K = [](int64_t v) {
            char t[64];
            AmountDisplayText(v, t, sizeof t);
            return std::string(t);
        };
        auto S = [](int32_t v) {
            char t[64];
            LLX100NaNap(v, t);
            DopasujCzDzies(t, 2, "01");
            return std::string(t) + "%";
        };
        char rabat[32];
        snprintf(rabat, sizeof rabat, "Discount - %d%%", (int)p.rabat);
        const int64_t rab = su.oknaNetto - su.oknaNettoRabat + su.dodatNetto - su.dodatNettoRabat;
        const std::vector<std::pair<std::string, std::vector<std::string>>> wiersze = {
            {"Net", {"Net", "VAT", "VAT - %", "Gross"}},
            {"Accessories",
             {K(su.dodatNetto), K(su.dodatBrutto - su.dodatNetto), S(p.vatDodat), K(su.dodatBrutto)}},
            {"Windows", {K(su.oknaNetto), K(su.oknaBrutto - su.oknaNetto), S(p.vatOkna), K(su.oknaBrutto)}},
            {"Total sum",
             {K(su.oknaNetto + su.dodatNetto),
              K(su.oknaBrutto - su.oknaNetto + su.dodatBrutto - su.dodatNetto), "-",
              K(su.oknaBrutto + su.dodatBrutto)}},
            {rabat, {K(rab), "-", "-", "-"}},
            {"Assembly / disassembly",
             {K(su.montNetto + su.demontNetto),
              K(su.montBrutto - su.montNetto + su.demontBrutto - su.demontNetto), S(p.vatMont),
              K(su.montBrutto + su.demontBrutto)}},
            {"Total", {K(su.zamNetto), K(su.zamBrutto - su.zamNetto), "-", K(su.zamBrutto)}},
        };
        // Each row by its label (the header row by "Net"): the four cells on
        // its line, left to right, each centred in its column.
        const int srodki[] = {467, 553, 639, 724};
        int yPoprz = 0;
        for (const auto& r : wiersze) {
            const EmfText* et = nullptr;
            for (const EmfText& t : s.teksty)
                if (t.t == r.first && t.y > yPoprz) {
                    et = &t;
                    break;
                }
            ASSERT_NE(nullptr, et) << r.first;
            yPoprz = et->y;
            std::vector<EmfText> komorki;
            for (const EmfText& t : s.teksty)
                if (t.y == et->y && t.x >= 424) komorki.push_back(t);
            std::sort(komorki.begin(), komorki.end(),
                      [](const EmfText& a, const EmfText& b) { return a.x < b.x; });
            ASSERT_EQ(4u, komorki.size()) << r.first;
            for (int c = 0; c < 4; c++) {
                EXPECT_EQ(r.second[c], komorki[c].t) << r.first << " column " << c;
                EXPECT_NEAR(srodki[c], komorki[c].x + ArialTextWidth(komorki[c].t, -14, komorki[c].waga) / 2,
                            1);
            }
        }
        // Net: the sum less the discount plus assembly is the order's net.
        EXPECT_EQ(su.oknaNetto + su.dodatNetto - rab + su.montNetto + su.demontNetto, su.zamNetto);
        auto waluta = MatchingTexts(s, "* All amounts in EUR");
        ASSERT_EQ(1u, waluta.size());
        EXPECT_GT(waluta[0].y, yPoprz);
    }
}

// ---- Notes -----------------------------------------------------------------------------

TEST_F(PrintoutTest, LongNotesRunOverTwoPagesLineByLine) {
    AddWindows(2);
    std::string uwagi;
    for (int i = 1; i <= 60; i++) uwagi += "Note line " + std::to_string(i) + "\r\n";
    std::string dlugi;
    for (int i = 0; i < 40; i++) dlugi += "wide" + std::to_string(i) + " ";
    uwagi += dlugi + "\r\nlast line";
    ASSERT_LT(uwagi.size(), sizeof z_.zam.uwagi);
    strcpy(z_.zam.uwagi, uwagi.c_str());
    ComposedPrintout w = Compose();
    ASSERT_EQ(1, w.wynik) << w.msg;
    // The notes' lines: normal text from x 0 after the "Notes:" label, on
    // whichever page they went.
    std::vector<std::string> linie;
    std::vector<int> strony;
    int etykiety = 0;
    bool za = false;
    for (size_t i = 0; i < w.strony.size(); i++) {
        const EmfPage& s = w.strony[i];
        for (const EmfText& t : s.teksty) {
            if (t.t == "Notes:") {
                za = true;
                etykiety++;
                continue;
            }
            if (!za || t.wys != -14 || t.waga != 400 || t.x != 0) continue;
            linie.push_back(t.t);
            strony.push_back((int)i);
            EXPECT_LE(t.y + 16, ContentEnd(s)) << t.t;
            EXPECT_LE(t.x + ArialTextWidth(t.t, -14, 400), 768) << t.t;
        }
    }
    EXPECT_EQ(1, etykiety);
    ASSERT_GE(linie.size(), 63u);
    // Every line once and in order; the line wider than the page broken at
    // its blanks.
    for (int i = 1; i <= 60; i++) EXPECT_EQ("Note line " + std::to_string(i), linie[i - 1]);
    std::string srodek;
    for (size_t i = 60; i + 1 < linie.size(); i++) srodek += (srodek.empty() ? "" : " ") + linie[i];
    EXPECT_EQ(dlugi, srodek);  // its own trailing blank kept
    EXPECT_GT(linie.size() - 61, 1u) << "the wide line was not broken";
    EXPECT_EQ("last line", linie.back());
    EXPECT_GT(strony.back(), strony.front()) << "the notes stayed on one page";
}

// ---- "Print" from the register into the modal preview -------------------------------

struct PreviewSeen {
    std::string tytul, status;
    bool ownerWasDisabled = false;  // the owner was disabled while it showed
};

bool ClosePreview(void* ctx) {
    HWND p = FindWindowA("podgladDruk", nullptr);
    if (!p || !IsWindowVisible(p)) return false;
    PreviewSeen* w = (PreviewSeen*)ctx;
    char t[300] = "";
    GetWindowTextA(p, t, sizeof t);
    w->tytul = t;
    HWND sb = GetDlgItem(p, 1001);
    char st[128] = "";
    if (sb) SendMessageA(sb, SB_GETTEXTA, 1, (LPARAM)st);
    w->status = st;
    HWND wlasciciel = GetWindow(p, GW_OWNER);
    w->ownerWasDisabled = wlasciciel && !IsWindowEnabled(wlasciciel);
    PostMessageA(p, WM_COMMAND, 1011, 0);  // "Close"
    return true;
}

class PrintCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetHarness();
        char msg[KV_MSG_LEN];
        ASSERT_EQ(1, DbCreateFile("kelvaroDemo.db", 2010, msg)) << msg;
        ASSERT_EQ(6, SaveDemoOrders("kelvaroDemo.db", msg)) << msg;
        main_ = CreateMainWindowForTest();
        ASSERT_NE(nullptr, main_);
        list_ = GetDlgItem(main_, IDC_ORDERS);
        ResetHarness();
    }
    void TearDown() override { DestroyMainWindowForTest(main_); }
    std::string Cell(int row, int column) { return ListCell(list_, row, column); }
    // Selects the row of the order whose number starts with `prefix` (the
    // last such row); -1 when there is none.
    int SelectOrder(const std::string& prefix) {
        int row = -1;
        const int n = (int)SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0);
        for (int r = 0; r < n; r++)
            if (Cell(r, 2).compare(0, prefix.size(), prefix) == 0) row = r;
        if (row < 0) return -1;
        LVITEMA item = {};
        item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(list_, LVM_SETITEMSTATE, row, (LPARAM)&item);
        return row;
    }
    ScopedTempCwd cwd_;
    HWND main_ = nullptr, list_ = nullptr;
};

TEST_F(PrintCommandTest, PrintOpensTheOrdersPagesInTheModalPreview) {
    const int wiersz = SelectOrder("5-");
    ASSERT_GE(wiersz, 0);
    const std::string numer = Cell(wiersz, 2) + " (" + Cell(wiersz, 3) + ")";
    PreviewSeen p;
    {
        LoopProbe probe(ClosePreview, &p, 20000);
        SendMessageA(main_, WM_COMMAND, CMD_PRINT, 0);
        EXPECT_TRUE(probe.done());
    }
    EXPECT_EQ("Print preview - Order " + numer, p.tytul);
    EXPECT_NE(std::string::npos, p.status.find("page 1/4")) << p.status;
    EXPECT_TRUE(p.ownerWasDisabled) << "the preview was not modal";
    EXPECT_TRUE(g_boxes.empty()) << g_boxes[0].text;
    EXPECT_TRUE(IsWindowEnabled(main_));
    EXPECT_EQ(nullptr, FindWindowA("podgladDruk", nullptr));
}

// The order window's own "Print": the order opened from the register, its
// Print command, the preview over it, then the window closed.
struct ViaOrderWindow {
    int krok = 0;
    PreviewSeen p;
};

bool PrintFromWindow(void* ctx) {
    ViaOrderWindow* s = (ViaOrderWindow*)ctx;
    HWND okno = FindWindowA("oknoZamowienia", nullptr);
    switch (s->krok) {
        case 0:
            if (!okno || !IsWindowVisible(okno)) return false;
            PostMessageA(okno, WM_COMMAND, 10029, 0);  // Order > Print
            s->krok = 1;
            return false;
        case 1:
            if (ClosePreview(&s->p)) s->krok = 2;
            return false;
        default:
            if (FindWindowA("podgladDruk", nullptr)) return false;
            if (okno) PostMessageA(okno, WM_COMMAND, 2, 0);  // "Exit"
            return true;
    }
}

TEST_F(PrintCommandTest, TheOrderWindowsPrintOpensThePreviewOverIt) {
    const int wiersz = SelectOrder("2-");
    ASSERT_GE(wiersz, 0);
    const std::string numer = Cell(wiersz, 2) + " (" + Cell(wiersz, 3) + ")";
    ViaOrderWindow s;
    {
        LoopProbe probe(PrintFromWindow, &s, 30000);
        SendMessageA(main_, WM_COMMAND, CMD_PREVIEW, 0);
        EXPECT_TRUE(probe.done());
    }
    EXPECT_EQ(2, s.krok);
    EXPECT_EQ("Print preview - Order " + numer, s.p.tytul);
    EXPECT_NE(std::string::npos, s.p.status.find("page 1/")) << s.p.status;
    EXPECT_TRUE(s.p.ownerWasDisabled) << "the preview was not modal";
    for (const ShownBox& b : g_boxes) ADD_FAILURE() << b.caption << ": " << b.text;
    EXPECT_EQ(nullptr, FindWindowA("oknoZamowienia", nullptr));
}

TEST_F(PrintCommandTest, AFailedPrintoutIsShownAndNoPreviewOpens) {
    // The heading height the settings allow at most leaves no room for a window.
    RawSql("kelvaroDemo.db", "UPDATE T_UstUzytk SET wysNaglDruk = 250;");
    LVITEMA item = {};
    item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list_, LVM_SETITEMSTATE, 0, (LPARAM)&item);
    PreviewSeen p;
    {
        LoopProbe probe(ClosePreview, &p, 1500);
        SendMessageA(main_, WM_COMMAND, CMD_PRINT, 0);
    }
    EXPECT_TRUE(p.tytul.empty());
    ASSERT_EQ(1u, g_boxes.size());
    EXPECT_EQ("Error", g_boxes[0].caption);
    EXPECT_NE(std::string::npos, g_boxes[0].text.find("250 mm")) << g_boxes[0].text;
}

}  // namespace

// ---- Save as PDF --------------------------------------------------------------

std::string g_pdfProposed, g_pdfAnswer;
bool AnswerPdf(HWND, const KvFileQuestion& q, char* path, int size) {
    EXPECT_TRUE(q.save);
    g_pdfProposed = path;
    lstrcpynA(path, g_pdfAnswer.c_str(), size);
    return true;
}

std::string FileText(const char* name) {
    std::string text;
    char msg[KV_MSG_LEN] = "";
    KvReadWholeFile(name, &text, msg);
    return text;
}

// "Save as PDF..." of the register: the heading as the proposed name, one
// PDF page per printout page with the title and creator; a folder that a
// file stands in the way of, or a file a viewer holds open, gets the
// message with the system's reason and no file of its own.
TEST_F(PrintCommandTest, SaveAsPdfWritesThePrintoutsPagesOrSaysWhyNot) {
    const int row = SelectOrder("5-");
    ASSERT_GE(row, 0);
    const std::string heading = Cell(row, 2) + " (" + Cell(row, 3) + ")";
    g_kvAskFile = AnswerPdf;
    g_pdfAnswer = "order.pdf";
    SendMessageA(main_, WM_COMMAND, CMD_SAVE_PDF, 0);
    EXPECT_TRUE(g_boxes.empty()) << g_boxes[0].text;
    EXPECT_EQ(heading + ".pdf", g_pdfProposed);
    const std::string pdf = FileText("order.pdf");
    EXPECT_EQ(0u, pdf.rfind("%PDF-", 0));
    std::string title;  // as a PDF string: its parentheses in octal
    for (char c : heading) title += c == '(' ? "\\050" : c == ')' ? "\\051" : std::string(1, c);
    EXPECT_NE(std::string::npos, pdf.find("/Title (" + title + ")")) << title;
    EXPECT_NE(std::string::npos, pdf.find("/Creator (Quarvel 1.8)"));
    EXPECT_NE(std::string::npos, pdf.find("/MediaBox [ 0 0 612 792 ]"));
    size_t pages = 0;
    for (size_t at = pdf.find("/Type /Page\n"); at != std::string::npos;
         at = pdf.find("/Type /Page\n", at + 1))
        pages++;
    EXPECT_EQ(4u, pages);  // as the preview shows it

    FILE* f = fopen("blocker", "wb");
    ASSERT_TRUE(f);
    fclose(f);
    g_pdfAnswer = "blocker\\order.pdf";
    SendMessageA(main_, WM_COMMAND, CMD_SAVE_PDF, 0);
    g_kvAskFile = KvAskFileSystem;
    ASSERT_EQ(1u, g_boxes.size());
    EXPECT_EQ("The file \"blocker\\order.pdf\" cannot be written.\r\nNo such file or directory", g_boxes[0].text);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("blocker\\order.pdf"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("blocker\\order.pdf.part"));
    EXPECT_EQ(0u, FileText("blocker").size());

    // A viewer holding the file open: the system's reason, and the file as it was.
    HANDLE viewer = CreateFileA("order.pdf", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, viewer);
    g_boxes.clear();
    g_kvAskFile = AnswerPdf;
    g_pdfAnswer = "order.pdf";
    SendMessageA(main_, WM_COMMAND, CMD_SAVE_PDF, 0);
    g_kvAskFile = KvAskFileSystem;
    CloseHandle(viewer);
    ASSERT_EQ(1u, g_boxes.size());
    const std::string first = "The file \"order.pdf\" cannot be written.\r\n";
    EXPECT_EQ(0u, g_boxes[0].text.find(first)) << g_boxes[0].text;  // the reason after it
    EXPECT_EQ(pdf, FileText("order.pdf"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA("order.pdf.part"));
}

// The file name proposed for any heading: the characters Windows refuses in
// a name become "_".
TEST(PdfName, CharactersRefusedInFileNamesBecomeUnderscores) {
    strZam z = {};
    z.idZam = 5;
    z.rok = 2026;
    memcpy(z.sDaneUzytk.skrot, "QW", 2);
    snprintf(z.dodOznaczZam, sizeof z.dodOznaczZam, "%s", "A/B\\C:D*E?F\"G<H>I|J");
    char name[MAX_PATH];
    PdfFileName(&z, name, sizeof name);
    EXPECT_STREQ("5-QW-2026 (A_B_C_D_E_F_G_H_I_J).pdf", name);
}

// ---- The PDF document ---------------------------------------------------------

namespace {

// A page of the printout's size (8 x 10 in) drawn by `draw`.
HENHMETAFILE PdfPage(const std::function<void(HDC)>& draw) {
    const RECT frame = {0, 0, 20320, 25400};  // hundredths of a mm
    HDC dc = CreateEnhMetaFileA(nullptr, nullptr, &frame, nullptr);
    SetBkMode(dc, TRANSPARENT);
    draw(dc);
    return CloseEnhMetaFile(dc);
}

std::wstring Wide(const char* text, UINT cp) {
    wchar_t w[256];
    const int n = MultiByteToWideChar(cp, 0, text, -1, w, 256);
    return std::wstring(w, n > 0 ? n - 1 : 0);
}

void Write(HDC dc, int x, int y, const std::wstring& t, int weight = FW_NORMAL, UINT options = 0,
           const RECT* box = nullptr, int escapement = 0) {
    HFONT font = CreateFontA(-14, 0, escapement, escapement, weight, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
    HGDIOBJ old = SelectObject(dc, font);
    ExtTextOutW(dc, x, y, options, box, t.c_str(), (UINT)t.size(), nullptr);
    DeleteObject(SelectObject(dc, old));
}

// The pages written as a PDF on Wine's Z: drive, where poppler's programs
// read it; removed with the object.
struct Pdf {
    std::string path, msg, data;
    int ok = 0;
    Pdf(std::vector<HENHMETAFILE> pages, UINT cp) {
        static int n;
        path = "Z:\\tmp\\kvpdf-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++n) + ".pdf";
        PrintoutPages s = {pages.data(), (int32_t)pages.size()};
        char m[KV_MSG_LEN] = "";
        ok = SavePdfPagesInCodePage(&s, "Order", cp, path.c_str(), m);
        msg = m;
        data = ReadWholeFile(path);
        for (HENHMETAFILE h : pages) DeleteEnhMetaFile(h);
    }
    ~Pdf() { DeleteFileA(path.c_str()); }
    std::string Poppler(const std::string& tool, const std::string& options, const std::string& suffix = "") {
        std::string error, out = RunPoppler(tool, options, path, &error, suffix);
        EXPECT_EQ("", error);
        return out;
    }
};

double Pt(double x) { return 18 + x * 0.75; }  // page units to points: the frame centred on Letter

}  // namespace

// Each code page's letters come out as themselves, in regular and bold:
// Helvetica for the Latin ones, Liberation Sans embedded from beside the
// program for Cyrillic, Greek and Vietnamese (the regular face standing in
// for a missing bold one: libharu's error of the failed load is cleared, or
// nothing after it would be written). Refused, with a message and no file:
// right-to-left and other scripts, no regular face, and a letter the code
// page has no code for (never a "?").
TEST(PdfDocument, EachCodePageWritesItsLettersOrSaysWhyNot) {
    ScopedTempCwd cwd;
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    *strrchr(exe, '\\') = 0;
    CreateDirectoryA("regular", nullptr);
    CreateDirectoryA("none", nullptr);
    ASSERT_TRUE(CopyFileA((std::string(exe) + "\\" + kPdfFontRegular).c_str(),
                          (std::string("regular\\") + kPdfFontRegular).c_str(), FALSE));
    struct {
        UINT cp, written;  // the code page of the texts and of the PDF
        const char* word;  // in the code page's bytes
        const char* fonts;
        int embedded;  // -1: refused with `message`
        const char* message;
    } cases[] = {
        {1250, 1250, "Za\xBF\xF3\xB3\xE6", nullptr, 0, ""},
        {1251, 1251, "\xC8\xE2\xE0\xED\xEE\xE2", nullptr, 1, ""},
        {1252, 1252, "Fa\xE7" "ade \x80", nullptr, 0, ""},
        {1253, 1253, "\xC1\xE8\xDE\xED\xE1", nullptr, 1, ""},
        {1254, 1254, "A\xF0" "a\xE7", nullptr, 0, ""},
        {1257, 1257, "\xC0\xFEuolas", nullptr, 0, ""},
        {1258, 1258, "\xD0\xF5n \xDDu", nullptr, 1, ""},
        {1251, 1251, "\xC8\xE2\xE0\xED\xEE\xE2", "regular", 1, ""},
        {1251, 1251, "", "none", -1, "The font file \"none\\LiberationSans-Regular.ttf\" cannot be read."},
        {1251, 1252, "\xC8\xE2", nullptr, -1, "The printout holds letters that code page 1252 has no code for."},
        {1255, 1255, "", nullptr, -1, "Save as PDF cannot write the right-to-left letters of code page 1255."},
        {1256, 1256, "", nullptr, -1, "Save as PDF cannot write the right-to-left letters of code page 1256."},
        {874, 874, "", nullptr, -1, "Save as PDF has no font with the letters of code page 874."},
        {932, 932, "", nullptr, -1, "Save as PDF has no font with the letters of code page 932."},
        {936, 936, "", nullptr, -1, "Save as PDF has no font with the letters of code page 936."},
        {949, 949, "", nullptr, -1, "Save as PDF has no font with the letters of code page 949."},
        {950, 950, "", nullptr, -1, "Save as PDF has no font with the letters of code page 950."},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.written) + (c.fonts ? c.fonts : ""));
        const std::wstring word = Wide(c.word, c.cp);
        SetPdfFontFolder(c.fonts);
        Pdf pdf({PdfPage([&](HDC dc) { Write(dc, 100, 100, word), Write(dc, 100, 200, word, FW_BOLD); })}, c.written);
        SetPdfFontFolder(nullptr);
        if (c.embedded < 0) {
            EXPECT_EQ(0, pdf.ok);
            EXPECT_EQ(0u, pdf.msg.find(c.message)) << pdf.msg;
            EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(pdf.path.c_str()));
            continue;
        }
        ASSERT_EQ(1, pdf.ok) << pdf.msg;
        EXPECT_EQ(c.embedded == 1, pdf.data.find("/FontFile2") != std::string::npos);
        char utf8[256];
        utf8[WideCharToMultiByte(CP_UTF8, 0, word.c_str(), -1, utf8, sizeof utf8, nullptr, nullptr)] = 0;
        const std::string text = pdf.Poppler("pdftotext", "");
        EXPECT_NE(text.find(utf8), text.rfind(utf8)) << text;  // both lines
    }
}

// A text on an opaque background hides what lies under its characters'
// cells, as on paper (the drawing's labels over their lines, across or
// along them), and so does ETO_OPAQUE's rectangle; a transparent one does not.
TEST(PdfDocument, AnOpaqueTextHidesTheLinesUnderIt) {
    struct {
        int mode;
        UINT options;
        bool up, hidden;
    } cases[] = {{TRANSPARENT, 0, false, false}, {OPAQUE, 0, false, true}, {OPAQUE, 0, true, true},
                 {TRANSPARENT, ETO_OPAQUE, false, true}};
    for (auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.mode) + (c.up ? " upright" : "") + (c.options ? " ETO_OPAQUE" : ""));
        Pdf pdf({PdfPage([&](HDC dc) {
                    MoveToEx(dc, c.up ? 205 : 100, c.up ? 100 : 205, nullptr);  // under the middle of the text
                    LineTo(dc, c.up ? 205 : 300, c.up ? 300 : 205);
                    SetBkMode(dc, c.mode);
                    const RECT box = {150, 195, 250, 215};
                    Write(dc, c.up ? 200 : 150, c.up ? 250 : 200, L"      ", FW_NORMAL, c.options, &box, c.up ? 900 : 0);
                })},
                1252);
        ASSERT_EQ(1, pdf.ok) << pdf.msg;
        // A grey picture at 96 dpi: page unit (x, y) is its pixel (24 + x, 48 + y).
        const std::string pgm = pdf.Poppler("pdftoppm", "-r 96 -gray -singlefile", ".pgm");
        int w = 0, h = 0, max = 0, header = 0;
        ASSERT_EQ(3, sscanf(pgm.c_str(), "P5 %d %d %d%n", &w, &h, &max, &header));
        auto grey = [&](int x, int y) { return (unsigned char)pgm[header + 1 + (48 + y) * w + 24 + x]; };
        EXPECT_LT(grey(c.up ? 205 : 120, c.up ? 120 : 205), 128) << "the line beside the text";
        EXPECT_EQ(c.hidden, grey(c.up ? 205 : 170, c.up ? 235 : 205) > 200) << "the line under the text";
    }
}

// At any display scale the words go where GDI's spacing put them, and the
// page number, which the page fitted against the frame's edge, stays inside.
TEST_F(PrintoutTest, ThePdfPlacesThePageNumberAsThePageDoesAtEveryScale) {
    AddWindows(1);
    PrintoutPages s = {nullptr, 0};
    char msg[KV_MSG_LEN] = "";
    ASSERT_EQ(1, ComposeOrderPrintout(&z_, &printSet_, &ust_, &s, msg)) << msg;
    const EmfPage page = ReadPage(s.pageFiles[0]);
    Pdf pdf(std::vector<HENHMETAFILE>(s.pageFiles, s.pageFiles + s.itemCount), 1252);
    KvFree(s.pageFiles);  // the metafiles went with the PDF
    ASSERT_EQ(1, pdf.ok) << pdf.msg;
    const EmfText* number = TextAt(page, "Page: ");
    ASSERT_TRUE(number && number->dx.size() == 9);
    int x = number->x;  // where GDI put "1/1"
    for (int i = 0; i < 6; i++) x += number->dx[i];
    const std::string bbox = pdf.Poppler("pdftotext", "-bbox");
    const size_t word = bbox.find(">1/1</word>");
    ASSERT_NE(std::string::npos, word) << bbox;
    const size_t start = bbox.rfind("<word ", word);
    EXPECT_NEAR(Pt(x), atof(bbox.c_str() + bbox.find("xMin=\"", start) + 6), 0.05);
    EXPECT_LE(atof(bbox.c_str() + bbox.find("xMax=\"", start) + 6), Pt(768) + 0.01);
}
