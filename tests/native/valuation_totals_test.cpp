// The valuation of an order: lines, totals, and the partial recomputes.
#include <gtest/gtest.h>

#include <string.h>

#include <functional>
#include <random>
#include <vector>

#include "model/operations.h"
#include "valuation/valuation.h"

namespace {

// An order whose lists live in vectors of the test.
struct Zam {
    strZamRob z;
    std::vector<strOkno> okna;
    std::vector<std::vector<uniOperRys>> oper;
    std::vector<strDodatZam> dodatki;

    Zam() {
        memset(&z, 0, sizeof z);
        // Totals hold garbage until a recompute writes them.
        memset(&z.sumy, 0x5A, sizeof z.sumy);
        okna.reserve(16);
        oper.reserve(16);
        dodatki.reserve(16);
    }
    Zam(const Zam& o) : z(o.z), okna(o.okna), oper(o.oper), dodatki(o.dodatki) { Wiaz(); }
    Zam& operator=(const Zam&) = delete;

    strWycenZamParam& p() { return z.zam.sWycenZamParam; }

    // A window of w x h mm (no frame when w is 0).
    strOkno& Okno(int64_t cena, int32_t ilosc, int32_t w = 1000, int32_t h = 1000) {
        strOkno o;
        memset(&o, 0, sizeof o);
        o.cenaZReki = cena;
        o.ilOkien = ilosc;
        okna.push_back(o);
        oper.emplace_back();
        if (w) {
            uniOperRys r;
            memset(&r, 0, sizeof r);
            r.rama.typ = kOpFrame;
            r.rama.x1 = w;
            r.rama.y1 = h;
            oper.back().push_back(r);
        }
        Wiaz();
        return okna.back();
    }
    strDodatZam& NewAccessory(int64_t cena, int32_t ilosc) {
        strDodatZam d;
        memset(&d, 0, sizeof d);
        d.cenaZReki = cena;
        d.ilosc = ilosc;
        dodatki.push_back(d);
        Wiaz();
        return dodatki.back();
    }
    // Points the order at the vectors' current storage.
    void Wiaz() {
        for (size_t i = 0; i < okna.size(); i++) {
            okna[i].liczbaOper = (int32_t)oper[i].size();
            okna[i].oper = oper[i].empty() ? nullptr : oper[i].data();
        }
        z.zam.liczbaOkien = (int32_t)okna.size();
        z.zam.okna = okna.empty() ? nullptr : okna.data();
        z.zam.liczbaDodat = (int32_t)dodatki.size();
        z.zam.dodatki = dodatki.empty() ? nullptr : dodatki.data();
    }
};

// Totals compared field by field (the record has padding).
#define TOTALS_FIELDS(X)                                                                                   \
    X(oknaNetto)                                                                                       \
    X(oknaBrutto) X(oknaNettoRabat) X(oknaBruttoRabat) X(dodatNetto) X(dodatBrutto) X(dodatNettoRabat) \
        X(dodatBruttoRabat) X(montNetto) X(montBrutto) X(demontNetto) X(demontBrutto) X(dlugoscRam)    \
            X(przepelnione) X(zamNetto) X(zamBrutto)

::testing::AssertionResult EqualTotals(const strSumyZam& a, const strSumyZam& b) {
#define COMPARE_FIELD(f) \
    if (a.f != b.f) return ::testing::AssertionFailure() << #f ": " << (int64_t)a.f << " != " << (int64_t)b.f;
    TOTALS_FIELDS(COMPARE_FIELD)
#undef COMPARE_FIELD
    return ::testing::AssertionSuccess();
}

TEST(Valuation, EmptyOrderHasEveryTotalZero) {
    Zam z;
    z.p().vatOkna = z.p().vatDodat = z.p().vatMont = 2200;
    z.p().rabat = 10;
    z.p().cenaMont = z.p().cenaDemont = 5000;
    EXPECT_EQ(0, RecomputeOrder(&z.z, kRecomputeAll));
    strSumyZam zero;
    memset(&zero, 0, sizeof zero);
    EXPECT_TRUE(EqualTotals(zero, z.z.sumy));
    // A fixed assembly price is a cost even without windows.
    z.p().flagi = 2;
    EXPECT_EQ(6100, RecomputeOrder(&z.z, kRecomputeAssemblyPrice));
    EXPECT_EQ(5000, z.z.sumy.zamNetto);
}

TEST(Valuation, WindowsWithVatAndDiscount) {
    Zam z;
    z.Okno(50000, 2);  // 1 000,00 net
    z.p().vatOkna = 2200;
    EXPECT_EQ(122000, RecomputeOrder(&z.z, kRecomputeAll));
    EXPECT_EQ(100000, z.z.sumy.oknaNetto);
    EXPECT_EQ(122000, z.z.sumy.oknaBrutto);
    EXPECT_EQ(100000, z.z.sumy.oknaNettoRabat);
    z.p().rabat = 10;
    EXPECT_EQ(109800, RecomputeOrder(&z.z, kRecomputeDiscount));
    EXPECT_EQ(122000, z.z.sumy.oknaBrutto);
    EXPECT_EQ(90000, z.z.sumy.oknaNettoRabat);
    EXPECT_EQ(109800, z.z.sumy.oknaBruttoRabat);
    EXPECT_EQ(90000, z.z.sumy.zamNetto);
    EXPECT_EQ(109800, z.z.sumy.zamBrutto);
    EXPECT_EQ(8000u, z.z.sumy.dlugoscRam);
}

// VAT of an amount, through a line and through the accessory totals (where
// it is taken of the sum): 1.1 hundredths rounds to 1, 5 stays 5, the exact
// half 2.5 rounds down, and negative amounts are truncated toward zero.
TEST(Valuation, VatRounding) {
    const struct {
        int64_t kwota;
        int32_t vat;
        int64_t brutto;
    } przypadki[] = {
        {5, 2200, 6},   {25, 2000, 30}, {250, 100, 252},   {251, 100, 254}, {7, 2300, 9},
        {-5, 2200, -6}, {-7, 2300, -8}, {-250, 100, -252}, {0, 2200, 0},    {100000, 0, 100000},
    };
    for (auto& c : przypadki) {
        Zam z;
        z.p().vatDodat = c.vat;
        z.NewAccessory(c.kwota, 1);
        ValuationLine l{};
        AccessoryLine(&l, &z.z, &z.dodatki[0], 15);
        EXPECT_EQ(c.brutto, l.unitGross) << c.kwota << " at " << c.vat;
        EXPECT_EQ(c.brutto, l.lineGross) << c.kwota << " at " << c.vat;
        RecomputeOrder(&z.z, kRecomputeAll);
        EXPECT_EQ(c.brutto, z.z.sumy.dodatBrutto) << c.kwota << " at " << c.vat;
        EXPECT_EQ(c.brutto, z.z.sumy.zamBrutto) << c.kwota << " at " << c.vat;
    }
}

TEST(Valuation, LinesAndTheirMasks) {
    Zam z;
    z.p().vatOkna = 2200;
    strOkno& o = z.Okno(5, 10, 1200, 1400);
    ValuationLine l;
    memset(&l, 0x77, sizeof l);
    const ValuationLine stara = l;
    WindowLine(&l, &z.z, &o, 5);  // a window cell: the unit prices
    EXPECT_EQ(5, l.unitNet);
    EXPECT_EQ(6, l.unitGross);
    EXPECT_EQ(52000u, l.dlugoscRam);  // 2 * (1200 + 1400) * 10
    EXPECT_EQ(stara.lineNet, l.lineNet);
    EXPECT_EQ(stara.lineGross, l.lineGross);
    // Line gross is the line net plus its own VAT, not unit gross * 10.
    WindowLine(&l, &z.z, &o, 15);
    EXPECT_EQ(50, l.lineNet);
    EXPECT_EQ(61, l.lineGross);
    memset(&l, 0x77, sizeof l);
    WindowLine(&l, &z.z, &o, 8);
    EXPECT_EQ(61, l.lineGross);
    EXPECT_EQ(stara.unitNet, l.unitNet);
    EXPECT_EQ(stara.dlugoscRam, l.dlugoscRam);
    // A window without operations has no frame length; the accessory rate
    // is not the window rate.
    strOkno& bez = z.Okno(1000, 3, 0);
    WindowLine(&l, &z.z, &bez, 15);
    EXPECT_EQ(0u, l.dlugoscRam);
    EXPECT_EQ(3660, l.lineGross);
    z.p().vatDodat = 800;
    strDodatZam& d = z.NewAccessory(1000, 3);
    AccessoryLine(&l, &z.z, &d, 15);
    EXPECT_EQ(3240, l.lineGross);
    EXPECT_EQ(0u, l.dlugoscRam);
}

TEST(Valuation, AssemblyAndDisassembly) {
    Zam z;
    z.Okno(100000, 2);        // 1000 x 1000, frame length 8000 mm
    z.p().cenaMont = 1000;    // 10,00 per metre
    z.p().cenaDemont = 2550;  // 25,50
    z.p().vatMont = 800;
    z.p().rabat = 50;     // never applies to assembly
    z.p().flagi = 1 | 8;  // assembly by size, disassembly fixed
    RecomputeOrder(&z.z, kRecomputeAll);
    EXPECT_EQ(8000u, z.z.sumy.dlugoscRam);
    EXPECT_EQ(8000, z.z.sumy.montNetto);
    EXPECT_EQ(8640, z.z.sumy.montBrutto);
    EXPECT_EQ(2550, z.z.sumy.demontNetto);
    EXPECT_EQ(2754, z.z.sumy.demontBrutto);
    EXPECT_EQ(100000 + 8000 + 2550, z.z.sumy.zamNetto);
    // Switched to "without": both zeroed; disassembly left alone by 0x100.
    z.p().flagi = 8;
    RecomputeOrder(&z.z, kRecomputeAssemblyPrice);
    EXPECT_EQ(0, z.z.sumy.montNetto);
    EXPECT_EQ(0, z.z.sumy.montBrutto);
    EXPECT_EQ(2550, z.z.sumy.demontNetto);
    EXPECT_EQ(100000 + 2550, z.z.sumy.zamNetto);
    // Disassembly by size; the assembly's value 3 is no mode.
    z.p().flagi = 3 | 4;
    RecomputeOrder(&z.z, kRecomputeAssemblyPrice | kRecomputeDisassemblyPrice);
    EXPECT_EQ(0, z.z.sumy.montNetto);
    EXPECT_EQ(20400, z.z.sumy.demontNetto);  // 8000 mm * 25,50 / m
    EXPECT_EQ(22032, z.z.sumy.demontBrutto);
    // By size rounds the cost: 1 mm at 5,00 per metre is half a hundredth.
    int64_t koszt = -1;
    EXPECT_EQ(1, CostByDimension(1, 500, &koszt));
    EXPECT_EQ(0, koszt);
    EXPECT_EQ(1, CostByDimension(1, 501, &koszt));
    EXPECT_EQ(1, koszt);
}

// A partial recompute touches only what its mask reaches.
TEST(Valuation, PartialMasksLeaveOtherTotalsAlone) {
    Zam z;
    z.Okno(100000, 1);
    z.NewAccessory(20000, 2);
    z.p().vatOkna = 2200;
    z.p().vatDodat = 2200;
    RecomputeOrder(&z.z, kRecomputeAll);
    // Mark the accessory totals: a windows VAT change must not rewrite them.
    z.z.sumy.dodatNetto = 11;
    z.z.sumy.dodatBrutto = 12;
    z.z.sumy.dodatNettoRabat = 13;
    z.z.sumy.dodatBruttoRabat = 14;
    z.p().vatOkna = 800;
    EXPECT_EQ(108000 + 14, RecomputeOrder(&z.z, kRecomputeWindowsVat));
    EXPECT_EQ(108000, z.z.sumy.oknaBrutto);
    EXPECT_EQ(108000, z.z.sumy.oknaBruttoRabat);
    EXPECT_EQ(11, z.z.sumy.dodatNetto);
    EXPECT_EQ(12, z.z.sumy.dodatBrutto);
    EXPECT_EQ(100000 + 13, z.z.sumy.zamNetto);
    // An accessory change leaves the windows alone.
    z.z.sumy.oknaNetto = 21;
    z.z.sumy.oknaBrutto = 22;
    z.z.sumy.oknaNettoRabat = 23;
    z.z.sumy.oknaBruttoRabat = 24;
    EXPECT_EQ(24 + 48800, RecomputeOrder(&z.z, kRecomputeAccessories));
    EXPECT_EQ(40000, z.z.sumy.dodatNetto);
    EXPECT_EQ(21, z.z.sumy.oknaNetto);
    EXPECT_EQ(23 + 40000, z.z.sumy.zamNetto);
    // No bit at all: only the order's net and gross are summed again.
    z.z.sumy.montNetto = 5;
    z.z.sumy.montBrutto = 6;
    EXPECT_EQ(24 + 48800 + 6, RecomputeOrder(&z.z, 0));
    EXPECT_EQ(5, z.z.sumy.montNetto);
    EXPECT_EQ(0, RecomputeOrder(nullptr, kRecomputeAll));
}

TEST(Valuation, NegativePricesTruncateTowardZero) {
    Zam z;
    z.NewAccessory(-5, 3);  // line -15
    z.p().vatDodat = 2200;
    z.p().rabat = 10;
    ValuationLine l{};
    AccessoryLine(&l, &z.z, &z.dodatki[0], 15);
    EXPECT_EQ(-6, l.unitGross);  // -5 - 1.1 -> -5 - 1
    EXPECT_EQ(-15, l.lineNet);
    EXPECT_EQ(-18, l.lineGross);  // -15 - 3.3 -> -15 - 3
    EXPECT_EQ(-17, RecomputeOrder(&z.z, kRecomputeAll));
    EXPECT_EQ(-18, z.z.sumy.dodatBrutto);
    EXPECT_EQ(-14, z.z.sumy.dodatNettoRabat);   // discount -1.5 -> -1
    EXPECT_EQ(-17, z.z.sumy.dodatBruttoRabat);  // -14 + VAT -3.08 -> -14 - 3
}

// A total whose exact value does not fit is flagged and held at 0, never
// wrapped or cut to the largest value; what depends on it is flagged too,
// and what does not keeps its exact value. (The sanitizer build also
// checks that nothing on the way is undefined.)
TEST(Valuation, TotalsThatDoNotFitAreFlaggedNeverWrapped) {
    const uint32_t okna = kTotalWindowsNet | kTotalWindowsGross | kTotalWindowsNetDiscount | kTotalWindowsGrossDiscount;
    const uint32_t dodatki =
        kTotalAccessoriesNet | kTotalAccessoriesGross | kTotalAccessoriesNetDiscount | kTotalAccessoriesGrossDiscount;
    const uint32_t zam = kTotalOrderNet | kTotalOrderGross;
    const int64_t bilion = 10000000000000000;  // 100 000 000 000 000,00
    struct Przypadek {
        const char* nazwa;
        std::function<void(Zam&)> buduj;
        uint32_t przepelnione;
        int64_t zamNetto, zamBrutto;
    };
    const Przypadek przypadki[] = {
        {"a huge quantity makes the window line and the order total overflow",
         [](Zam& z) {
             z.Okno(kMaxEnteredPrice, INT32_MAX);
             z.NewAccessory(100, 1);
             z.p().vatOkna = 2300;
         },
         okna | kTotalFrameLength | zam, 0, 0},
        {"accessory lines that each fit but whose sum does not",
         [](Zam& z) {
             for (int i = 0; i < 1900; i++) z.NewAccessory(kMaxEnteredPrice, 500000);
         },
         dodatki | zam, 0, 0},
        {"a VAT whose product leaves 64 bits but whose share fits",
         [&](Zam& z) {
             z.NewAccessory(bilion, 1);
             z.p().vatDodat = 2300;
         },
         0, bilion, bilion + bilion / 10000 * 2300},
        {"a VAT share that does not fit: the gross side only",
         [](Zam& z) {
             z.Okno(5000000000000000, 1);
             z.p().vatOkna = INT32_MAX;
         },
         kTotalWindowsGross | kTotalWindowsGrossDiscount | kTotalOrderGross, 5000000000000000, 0},
        {"an order net of exactly 2^63 - 1 fits", [](Zam& z) { z.NewAccessory(INT64_MAX, 1); }, 0, INT64_MAX,
         INT64_MAX},
        {"one hundredth of assembly more does not",
         [](Zam& z) {
             z.NewAccessory(INT64_MAX, 1);
             z.p().flagi = 2;
             z.p().cenaMont = 1;
         },
         zam, 0, 0},
        {"a frame length past 32 bits flags an assembly by size",
         [](Zam& z) {
             for (int i = 0; i < 108; i++) z.Okno(1, 999, 10000, 10000);
             z.p().flagi = 1;
             z.p().cenaMont = 100;
         },
         kTotalFrameLength | kTotalAssemblyNet | kTotalAssemblyGross | zam, 0, 0},
        {"and nothing else when the assembly is fixed",
         [](Zam& z) {
             for (int i = 0; i < 108; i++) z.Okno(1, 999, 10000, 10000);
             z.p().flagi = 2;
             z.p().cenaMont = 100;
         },
         kTotalFrameLength, 108 * 999 + 100, 108 * 999 + 100},
        {"a negative discount that doubles the net past 64 bits",
         [](Zam& z) {
             z.Okno(6000000000000000000, 1, 0);
             z.p().rabat = -100;
         },
         kTotalWindowsNetDiscount | kTotalWindowsGrossDiscount | zam, 0, 0},
        {"-2^63 is no amount", [](Zam& z) { z.NewAccessory(INT64_MIN, 1); }, dodatki | zam, 0, 0},
    };
    for (const Przypadek& c : przypadki) {
        SCOPED_TRACE(c.nazwa);
        Zam z;
        c.buduj(z);
        EXPECT_EQ(c.zamBrutto, RecomputeOrder(&z.z, kRecomputeAll));
        EXPECT_EQ(c.przepelnione, z.z.sumy.przepelnione);
        EXPECT_EQ(c.zamNetto, z.z.sumy.zamNetto);
        EXPECT_EQ(c.zamBrutto, z.z.sumy.zamBrutto);
        EXPECT_EQ((c.przepelnione & ~kTotalFrameLength) == 0, OrderTotalsExact(&z.z.sumy));
        // Every flagged total holds 0.
        const strSumyZam& s = z.z.sumy;
        const int64_t kwoty[12] = {s.oknaNetto,  s.oknaBrutto,  s.oknaNettoRabat,  s.oknaBruttoRabat,
                                   s.dodatNetto, s.dodatBrutto, s.dodatNettoRabat, s.dodatBruttoRabat,
                                   s.montNetto,  s.montBrutto,  s.demontNetto,     s.demontBrutto};
        for (int bit = 0; bit < 12; bit++) {
            if (c.przepelnione & (1u << bit)) {
                EXPECT_EQ(0, kwoty[bit]) << "total " << bit;
            }
        }
        if (c.przepelnione & kTotalFrameLength) {
            EXPECT_EQ(0u, z.z.sumy.dlugoscRam);
        }
    }
}

// A line reports the fields that do not fit and holds them at 0; the unit
// prices of a window cell still come out. Bringing the quantity back clears
// the order's flags on the next recompute.
TEST(Valuation, LinesAndDiscountThatDoNotFit) {
    Zam z;
    z.p().vatOkna = 2300;
    strOkno& o = z.Okno(kMaxEnteredPrice, INT32_MAX);
    ValuationLine l;
    memset(&l, 0x77, sizeof l);
    WindowLine(&l, &z.z, &o, kLineUnitNet | kLineUnitGross);  // a window cell
    EXPECT_EQ(kLineLength, l.przepelnione & (kLineUnitNet | kLineUnitGross | kLineLength));
    EXPECT_EQ(12299999999, l.unitGross);  // VAT 2 299 999 999,77 rounds up
    EXPECT_EQ(0, WindowLine(&l, &z.z, &o, 15));
    EXPECT_EQ(kMaxEnteredPrice, l.unitNet);
    EXPECT_EQ(12299999999, l.unitGross);
    EXPECT_EQ(0, l.lineNet);
    EXPECT_EQ(0, l.lineGross);
    EXPECT_EQ(0u, l.dlugoscRam);
    EXPECT_EQ(kLineNet | kLineGross | kLineLength, l.przepelnione);
    memset(&l, 0, sizeof l);
    EXPECT_EQ(1, WindowLine(&l, &z.z, &o, kLineUnitGross));
    EXPECT_EQ(0u, l.przepelnione);

    RecomputeOrder(&z.z, kRecomputeAll);
    int64_t rabat = -1;
    EXPECT_EQ(0, OrderDiscount(&z.z.sumy, &rabat));
    EXPECT_EQ(0, rabat);
    z.okna[0].ilOkien = 3;
    z.p().rabat = 10;
    // 29 999 999 999,97 less 3 000 000 000,00 (rounded up), plus 23 %.
    EXPECT_EQ(33209999996, RecomputeOrder(&z.z, kRecomputeAll));
    EXPECT_EQ(0u, z.z.sumy.przepelnione);
    EXPECT_EQ(1, OrderDiscount(&z.z.sumy, &rabat));
    EXPECT_EQ(3000000000, rabat);

    // The rates alone: a share that does not fit is refused, not saturated.
    int64_t v = -1;
    EXPECT_EQ(0, VatOfAmount(INT64_MAX, 20000, &v));
    EXPECT_EQ(0, v);
    EXPECT_EQ(1, VatOfAmount(INT64_MAX, 10000, &v));
    EXPECT_EQ(INT64_MAX, v);
    EXPECT_EQ(1, DiscountOfAmount(-INT64_MAX, 100, &v));
    EXPECT_EQ(-INT64_MAX, v);
    EXPECT_EQ(0, CostByDimension(UINT32_MAX, INT64_MAX, &v));

    // The bound of a typed price.
    EXPECT_TRUE(PriceInRange(kMaxEnteredPrice));
    EXPECT_TRUE(PriceInRange(-kMaxEnteredPrice));
    EXPECT_FALSE(PriceInRange(kMaxEnteredPrice + 1));
    EXPECT_FALSE(PriceInRange(INT64_MAX));
}

// Each change the order window makes, followed by the recompute its caller
// uses, ends with the same totals as a full recompute of the changed order.
TEST(Valuation, PartialRecomputeEqualsFullRecompute) {
    std::mt19937 rng(20261208);
    auto los = [&](int64_t a, int64_t b) { return std::uniform_int_distribution<int64_t>(a, b)(rng); };
    // Now and then a price so large that totals stop fitting: the flags
    // must come out of a partial recompute as they do out of a full one.
    auto cena = [&]() {
        switch (los(0, 29)) {
            case 0:
            case 1:
            case 2: return los(-100000, 0);
            case 3: return los(INT64_MAX / 4, INT64_MAX);
            default: return los(0, 5000000);
        }
    };
    for (int iter = 0; iter < 3000; iter++) {
        Zam z;
        for (int64_t i = los(0, 4); i > 0; i--)
            z.Okno(cena(), (int32_t)los(0, 20), (int32_t)(los(0, 4) ? los(300, 3000) : 0),
                   (int32_t)los(300, 3000));
        for (int64_t i = los(0, 4); i > 0; i--) z.NewAccessory(cena(), (int32_t)los(-2, 50));
        strWycenZamParam& p = z.p();
        p.rabat = (int32_t)los(0, 100);
        p.cenaMont = cena();
        p.cenaDemont = cena();
        p.vatMont = (int32_t)los(0, 2500);
        p.vatDodat = (int32_t)los(0, 2500);
        p.vatOkna = (int32_t)los(0, 2500);
        p.flagi = (int32_t)los(0, 15);
        RecomputeOrder(&z.z, kRecomputeAll);

        uint32_t maska = 0;
        switch (los(0, 9)) {
            case 0:  // a window added
                z.Okno(cena(), (int32_t)los(1, 9), (int32_t)los(300, 3000), (int32_t)los(300, 3000));
                maska = kRecomputeAll;
                break;
            case 1:  // a window edited or removed
                if (z.okna.empty()) continue;
                if (los(0, 1)) {
                    z.okna.pop_back();
                    z.oper.pop_back();
                    z.Wiaz();
                } else {
                    z.okna[0].cenaZReki = cena();
                    z.okna[0].ilOkien = (int32_t)los(0, 9);
                }
                maska = kRecomputeAll;
                break;
            case 2:  // an accessory added, edited or removed
                if (z.dodatki.empty() || los(0, 2) == 0) z.NewAccessory(cena(), (int32_t)los(1, 9));
                else if (los(0, 1)) z.dodatki.pop_back(), z.Wiaz();
                else z.dodatki[0].cenaZReki = cena();
                maska = kRecomputeAccessories;
                break;
            case 3:
                p.flagi = (p.flagi & ~kAssemblyMask) | (int32_t)los(0, 3);
                maska = kRecomputeAssemblyPrice;
                break;
            case 4:
                p.cenaMont = cena();
                maska = kRecomputeAssemblyPrice;
                break;
            case 5:
                p.flagi = (p.flagi & ~kDisassemblyMask) | (int32_t)los(0, 3) * 4;
                maska = kRecomputeDisassemblyPrice;
                break;
            case 6:
                p.cenaDemont = cena();
                maska = kRecomputeDisassemblyPrice;
                break;
            case 7:
                if (los(0, 1)) p.vatMont = (int32_t)los(0, 2500), maska = kRecomputeAssemblyVat;
                else p.vatOkna = (int32_t)los(0, 2500), maska = kRecomputeWindowsVat;
                break;
            case 8:
                p.vatDodat = (int32_t)los(0, 2500);
                maska = kRecomputeAccessoriesVat;
                break;
            default:
                p.rabat = (int32_t)los(0, 100);
                maska = kRecomputeDiscount;
                break;
        }
        const int64_t brutto = RecomputeOrder(&z.z, maska);
        Zam pelne(z);
        memset(&pelne.z.sumy, 0x5A, sizeof pelne.z.sumy);
        EXPECT_EQ(RecomputeOrder(&pelne.z, kRecomputeAll), brutto) << "iteration " << iter << " mask " << maska;
        ASSERT_TRUE(EqualTotals(pelne.z.sumy, z.z.sumy)) << "iteration " << iter << " mask " << maska;
    }
}

}  // namespace
