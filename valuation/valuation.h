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
// Prices the seller types are bounded by kMaxCenaWpis; with the quantities
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
struct strLinia {
    int64_t jednNetto;      // unit net, hundredths: the price entered
    int64_t jednBrutto;     // unit net + VAT of the unit net, hundredths
    int64_t liniaNetto;     // unit net * quantity, hundredths
    int64_t liniaBrutto;    // line net + VAT of the line net, hundredths
    uint32_t dlugoscRam;    // windows: 2 * (frame width + height) * quantity, mm
    uint32_t przepelnione;  // kLinia* bits of the fields that do not fit (each holds 0)
};

// Line mask bits: which fields of strLinia a line call writes (the others
// keep what they held). Callers pass 3 for sums, 5 for a window cell's unit
// prices, 15 for a full line.
enum : uint32_t {
    kLiniaJednNetto = 0x1,   // unit net, and for a window the frame length
    kLiniaNetto = 0x2,       // line net
    kLiniaJednBrutto = 0x4,  // unit gross
    kLiniaBrutto = 0x8,      // line gross
    kLiniaDlugosc = 0x10,    // only in strLinia::przepelnione: the frame length
};

// Recompute mask bits, one per step of PrzeliczZam, in the order they run.
enum : uint32_t {
    kPrzOknaNetto = 0x001,         // windows net and frame length; sets 0x002 0x004 0x008 0x100 0x200
    kPrzOknaBrutto = 0x002,        // windows gross
    kPrzOknaRabat = 0x004,         // windows net after discount; sets 0x008 0x100 0x200
    kPrzOknaBruttoRabat = 0x008,   // windows gross after discount; sets 0x100 0x200
    kPrzDodatNetto = 0x010,        // accessories net; sets 0x020 0x040 0x080 0x100 0x200
    kPrzDodatBrutto = 0x020,       // accessories gross
    kPrzDodatRabat = 0x040,        // accessories net after discount; sets 0x080 0x100 0x200
    kPrzDodatBruttoRabat = 0x080,  // accessories gross after discount; sets 0x100 0x200
    kPrzMontaz = 0x100,            // assembly net and gross
    kPrzDemontaz = 0x200,          // disassembly net and gross
};

// What callers pass after a change.
enum : uint32_t {
    kPrzWszystko = 0x11,     // show or print an order; windows added, edited, removed; currency
    kPrzDodatki = 0x30,      // accessory added, edited, removed
    kPrzCenaMont = 0x100,    // assembly mode or price
    kPrzCenaDemont = 0x200,  // disassembly mode or price
    kPrzVatMont = 0x300,     // VAT of assembly and disassembly
    kPrzVatOkien = 0x0A,     // VAT of windows
    kPrzVatDodat = 0xA0,     // VAT of accessories
    kPrzRabat = 0x44,        // discount
};

// Bits of strSumyZam::przepelnione, one per total.
enum : uint32_t {
    kSumaOknaNetto = 1u << 0,
    kSumaOknaBrutto = 1u << 1,
    kSumaOknaNettoRabat = 1u << 2,
    kSumaOknaBruttoRabat = 1u << 3,
    kSumaDodatNetto = 1u << 4,
    kSumaDodatBrutto = 1u << 5,
    kSumaDodatNettoRabat = 1u << 6,
    kSumaDodatBruttoRabat = 1u << 7,
    kSumaMontNetto = 1u << 8,
    kSumaMontBrutto = 1u << 9,
    kSumaDemontNetto = 1u << 10,
    kSumaDemontBrutto = 1u << 11,
    kSumaDlugoscRam = 1u << 12,  // the frame length (a length, not an amount)
    kSumaZamNetto = 1u << 13,
    kSumaZamBrutto = 1u << 14,
    kSumaWszystkie = (1u << 15) - 1,
};

// The largest price a seller may type, hundredths: 99 999 999,99 (a
// window's or an accessory's unit price, the assembly and disassembly
// prices), negative or positive.
const int64_t kMaxCenaWpis = 9999999999;
// True when |cena| <= kMaxCenaWpis.
bool CenaWZakresie(int64_t cena);

// What a screen shows in place of an amount that does not fit, and the
// message that tells the seller why.
extern const char kKwotaZaDuza[];  // "too large"
extern const char kSumyZaDuze[];

// The refusal of a typed price: `co` (the field's own message), a line
// break and "The highest price is " with kMaxCenaWpis in the locale's form.
// REQUIRES: tekst has room for rozmiar bytes (cut to fit).
void TekstOdmowyCeny(const char* co, char* tekst, int rozmiar);

// Recomputes the totals of z->sumy selected by `maska` (and the steps they
// set), then always the order net and gross, and keeps z->sumy.przepelnione
// for every total it writes. Returns the order gross (hundredths); 0 when
// it does not fit, and for a null order.
int64_t PrzeliczZam(strZamRob* z, uint32_t maska);

// True when every amount of the totals fits (the frame length may not: it
// matters only through an assembly by size, which is then flagged itself).
bool SumyZamDokladne(const strSumyZam* s);

// The discount the order window shows: (windows net - windows net after
// discount) + (accessories net - accessories net after discount). 1 with
// it in *rabat; 0 (and *rabat 0) when a part or the sum does not fit.
int RabatZam(const strSumyZam* s, int64_t* rabat);

// The line of window `o` of order `z` (VAT at the order's window rate);
// writes the fields selected by `maska` and their bits of l->przepelnione
// (bit 1 also kLiniaDlugosc). A window without a frame has frame length 0.
// Returns 1 when every field written fits, else 0.
int LiniaOkna(strLinia* l, const strZamRob* z, const strOkno* o, uint32_t maska);

// The line of accessory `d` (VAT at the order's accessory rate); bit 1 also
// writes frame length 0. Returns as LiniaOkna.
int LiniaDodatku(strLinia* l, const strZamRob* z, const strDodatZam* d, uint32_t maska);

// The rates applied as above: 1 with the result in *wynik, or 0 with
// *wynik 0 when it does not fit.
int VatKwoty(int64_t kwota, int32_t stawka, int64_t* wynik);               // stawka hundredths of a percent
int RabatKwoty(int64_t kwota, int32_t rabat, int64_t* wynik);              // rabat whole percent
int KosztWgWymiaru(uint32_t dlugosc, int64_t cenaZaMetr, int64_t* wynik);  // dlugosc mm

#endif  // KV_VALUATION_VALUATION_H
