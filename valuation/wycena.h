// wycena.h - the valuation of an order: window and accessory lines and the
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
// Products and sums are formed in 64 bits and wrap (never undefined) past
// them; amounts the program can enter stay far inside.
#ifndef KV_VALUATION_WYCENA_H
#define KV_VALUATION_WYCENA_H

#include <stdint.h>

#include "records.h"
#include "zamowienie.h"

// One window or accessory line.
struct strLinia {
    int64_t jednNetto;    // unit net, hundredths: the price entered
    int64_t jednBrutto;   // unit net + VAT of the unit net, hundredths
    int64_t liniaNetto;   // unit net * quantity, hundredths
    int64_t liniaBrutto;  // line net + VAT of the line net, hundredths
    uint32_t dlugoscRam;  // windows: 2 * (frame width + height) * quantity, mm
};

// Line mask bits: which fields of strLinia a line call writes (the others
// keep what they held). Callers pass 3 for sums, 5 for a window cell's unit
// prices, 15 for a full line.
enum : uint32_t {
    kLiniaJednNetto = 0x1,   // unit net, and for a window the frame length
    kLiniaNetto = 0x2,       // line net
    kLiniaJednBrutto = 0x4,  // unit gross
    kLiniaBrutto = 0x8,      // line gross
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

// Recomputes the totals of z->sumy selected by `maska` (and the steps they
// set), then always the order net and gross. Returns the order gross
// (hundredths); 0 for a null order.
int64_t PrzeliczZam(strZamRob* z, uint32_t maska);

// The line of window `o` of order `z` (VAT at the order's window rate);
// writes the fields selected by `maska`. A window without a frame has frame
// length 0.
void LiniaOkna(strLinia* l, const strZamRob* z, const strOkno* o, uint32_t maska);

// The line of accessory `d` (VAT at the order's accessory rate); bit 1 also
// writes frame length 0.
void LiniaDodatku(strLinia* l, const strZamRob* z, const strDodatZam* d, uint32_t maska);

// The rates applied as above, for the screens that show them.
int64_t VatKwoty(int64_t kwota, int32_t stawka);  // stawka hundredths of a percent
int64_t RabatKwoty(int64_t kwota, int32_t rabat);  // rabat whole percent
int64_t KosztWgWymiaru(uint32_t dlugosc, int64_t cenaZaMetr);  // dlugosc mm

#endif  // KV_VALUATION_WYCENA_H
