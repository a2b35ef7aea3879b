// valuation.h - the valuation of an order: window and accessory lines and the
// order's totals, in fixed point.
//
// Amounts are int64 hundredths of the order's currency; VAT rates are
// hundredths of a percent (2200 = 22.00 %), the discount is whole percent;
// lengths are mm. Every percentage is applied with DzielKwote (nearest,
// exact halves down, negative values truncated toward zero):
//   VAT(x, V)          = DzielKwote(x * V, 10000)
//   discount(x)        = DzielKwote(x * D, 100)
//   cost by size(L, P) = DzielKwote(L * P, 1000)   L frame length mm, P per metre
// VAT is always taken of a sum (after the discount where there is one),
// never summed from rounded line VATs. The discount applies to windows and
// accessories, never to assembly and disassembly.
//
// Every sum and product is checked: a total or a line field whose exact
// value does not fit 64 bits (a frame length 32 bits unsigned) is never
// wrapped or cut to the largest value; it holds 0 and its bit is set in the
// record's `przepelnione`, and whoever shows it shows an error instead. A
// percentage is taken of the exact 128-bit product, so only a result that
// itself does not fit counts. -2^63 is no amount and counts as not fitting.
//
// Prices the seller types are bounded by kMaxEnteredPrice; with the quantities
// the windows allow (999 a window, 500 000 an accessory) an order of
// ordinary size stays far inside 64 bits. Orders read from a database are
// not bounded, hence the checks.
#ifndef KV_VALUATION_VALUATION_H
#define KV_VALUATION_VALUATION_H

#include <stddef.h>
#include <stdint.h>

#include "db/order_record.h"
#include "db/records.h"

// One window or accessory line.
struct ValuationLine {
    int64_t unitNet;      // unit net, hundredths: the price entered
    int64_t unitGross;     // unit net + VAT of the unit net, hundredths
    int64_t lineNet;     // unit net * quantity, hundredths
    int64_t lineGross;    // line net + VAT of the line net, hundredths
    uint32_t dlugoscRam;    // windows: 2 * (frame width + height) * quantity, mm
    uint32_t przepelnione;  // kLinia* bits of the fields that do not fit (each holds 0)
};

// Line mask bits: which fields of ValuationLine a line call writes (the others
// keep what they held). Callers pass 3 for sums, 5 for a window cell's unit
// prices, 15 for a full line.
enum : uint32_t {
    kLineUnitNet = 0x1,   // unit net, and for a window the frame length
    kLineNet = 0x2,       // line net
    kLineUnitGross = 0x4,  // unit gross
    kLineGross = 0x8,      // line gross
    kLineLength = 0x10,    // only in ValuationLine::przepelnione: the frame length
};

// Recompute mask bits, one per step of RecomputeOrder, in the order they run.
enum : uint32_t {
    kRecomputeWindowsNet = 0x001,         // windows net and frame length; sets 0x002 0x004 0x008 0x100 0x200
    kRecomputeWindowsGross = 0x002,        // windows gross
    kRecomputeWindowsDiscount = 0x004,         // windows net after discount; sets 0x008 0x100 0x200
    kRecomputeWindowsGrossDiscount = 0x008,   // windows gross after discount; sets 0x100 0x200
    kRecomputeAccessoriesNet = 0x010,        // accessories net; sets 0x020 0x040 0x080 0x100 0x200
    kRecomputeAccessoriesGross = 0x020,       // accessories gross
    kRecomputeAccessoriesDiscount = 0x040,        // accessories net after discount; sets 0x080 0x100 0x200
    kRecomputeAccessoriesGrossDiscount = 0x080,  // accessories gross after discount; sets 0x100 0x200
    kRecomputeAssembly = 0x100,            // assembly net and gross
    kRecomputeDisassembly = 0x200,          // disassembly net and gross
};

// What callers pass after a change.
enum : uint32_t {
    kRecomputeAll = 0x11,     // show or print an order; windows added, edited, removed; currency
    kRecomputeAccessories = 0x30,      // accessory added, edited, removed
    kRecomputeAssemblyPrice = 0x100,    // assembly mode or price
    kRecomputeDisassemblyPrice = 0x200,  // disassembly mode or price
    kRecomputeAssemblyVat = 0x300,     // VAT of assembly and disassembly
    kRecomputeWindowsVat = 0x0A,     // VAT of windows
    kRecomputeAccessoriesVat = 0xA0,     // VAT of accessories
    kRecomputeDiscount = 0x44,        // discount
};

// Bits of strSumyZam::przepelnione, one per total.
enum : uint32_t {
    kTotalWindowsNet = 1u << 0,
    kTotalWindowsGross = 1u << 1,
    kTotalWindowsNetDiscount = 1u << 2,
    kTotalWindowsGrossDiscount = 1u << 3,
    kTotalAccessoriesNet = 1u << 4,
    kTotalAccessoriesGross = 1u << 5,
    kTotalAccessoriesNetDiscount = 1u << 6,
    kTotalAccessoriesGrossDiscount = 1u << 7,
    kTotalAssemblyNet = 1u << 8,
    kTotalAssemblyGross = 1u << 9,
    kTotalDisassemblyNet = 1u << 10,
    kTotalDisassemblyGross = 1u << 11,
    kTotalFrameLength = 1u << 12,  // the frame length (a length, not an amount)
    kTotalOrderNet = 1u << 13,
    kTotalOrderGross = 1u << 14,
    kTotalsAll = (1u << 15) - 1,
};

// The largest price a seller may type, hundredths: 99 999 999,99 (a
// window's or an accessory's unit price, the assembly and disassembly
// prices), negative or positive.
const int64_t kMaxEnteredPrice = 9999999999;
// True when |cena| <= kMaxEnteredPrice.
bool PriceInRange(int64_t cena);

// What a screen shows in place of an amount that does not fit, and the
// message that tells the seller why.
extern const char kAmountTooLarge[];  // "too large"
extern const char kTotalsTooLarge[];

// The refusal of a typed price: `co` (the field's own message), a line
// break and "The highest price is " with kMaxEnteredPrice in the locale's form.
// REQUIRES: tekst has room for rozmiar bytes (cut to fit).
void PriceRefusalText(const char* co, char* tekst, int rozmiar);

// Recomputes the totals of z->sumy selected by `maska` (and the steps they
// set), then always the order net and gross, and keeps z->sumy.przepelnione
// for every total it writes. Returns the order gross (hundredths); 0 when
// it does not fit, and for a null order.
int64_t RecomputeOrder(strZamRob* z, uint32_t maska);

// True when every amount of the totals fits (the frame length may not: it
// matters only through an assembly by size, which is then flagged itself).
bool OrderTotalsExact(const strSumyZam* s);

// The discount the order window shows: (windows net - windows net after
// discount) + (accessories net - accessories net after discount). 1 with
// it in *rabat; 0 (and *rabat 0) when a part or the sum does not fit.
int OrderDiscount(const strSumyZam* s, int64_t* rabat);

// The line of window `o` of order `z` (VAT at the order's window rate);
// writes the fields selected by `maska` and their bits of l->przepelnione
// (bit 1 also kLineLength). A window without a frame has frame length 0.
// Returns 1 when every field written fits, else 0.
int WindowLine(ValuationLine* l, const strZamRob* z, const strOkno* o, uint32_t maska);

// The line of accessory `d` (VAT at the order's accessory rate); bit 1 also
// writes frame length 0. Returns as WindowLine.
int AccessoryLine(ValuationLine* l, const strZamRob* z, const strDodatZam* d, uint32_t maska);

// The rates applied as above: 1 with the result in *wynik, or 0 with
// *wynik 0 when it does not fit.
int VatOfAmount(int64_t kwota, int32_t stawka, int64_t* wynik);               // stawka hundredths of a percent
int DiscountOfAmount(int64_t kwota, int32_t rabat, int64_t* wynik);              // rabat whole percent
int CostByDimension(uint32_t dlugosc, int64_t cenaZaMetr, int64_t* wynik);  // dlugosc mm

#endif  // KV_VALUATION_VALUATION_H
