// order_record.h - the working order record: an order with its windows and
// accessories in memory, the order window's view flags and the computed
// totals. Loading, saving and copying it is the order persistence's business;
// the totals are the valuation's.
#ifndef KV_DB_ORDER_RECORD_H
#define KV_DB_ORDER_RECORD_H

#include <stddef.h>
#include <stdint.h>

#include "db/records.h"

// Computed totals of an order; amounts in hundredths.
struct strSumyZam {
    int64_t oknaNetto;         // windows net: sum of the window lines
    int64_t oknaBrutto;        // windows gross
    int64_t oknaNettoRabat;    // windows net after the discount
    int64_t oknaBruttoRabat;   // windows gross after the discount
    int64_t dodatNetto;        // accessories net
    int64_t dodatBrutto;       // accessories gross
    int64_t dodatNettoRabat;   // accessories net after the discount
    int64_t dodatBruttoRabat;  // accessories gross after the discount
    int64_t montNetto;         // assembly net
    int64_t montBrutto;        // assembly gross
    int64_t demontNetto;       // disassembly net
    int64_t demontBrutto;      // disassembly gross
    uint32_t dlugoscRam;       // frame length of all windows, mm
    uint32_t przepelnione;     // totals that do not fit their type (bits kSuma* of valuation/valuation.h); each holds 0
    int64_t zamNetto;          // order net
    int64_t zamBrutto;         // order gross
};
// The overflow bits sit in what was padding: the record keeps its size and
// the places of its amounts.
static_assert(sizeof(strSumyZam) == 120, "totals record is 120 bytes");
static_assert(offsetof(strSumyZam, zamNetto) == 104, "order net at byte 104");

// View flag of the order window: the order was opened for correction.
enum { kViewCorrection = 4 };

struct strZamRob {
    strZam zam;           // the T_Zam columns and the window and accessory lists
    int32_t flagiWidoku;  // view flags of the order window, 0 after loading
    strSumyZam sumy;      // zeroed at load, filled by a recompute
    // The stored order as it was loaded or last written (DbOrderPrint); 0
    // for a record that never was. A write of the record is refused when
    // the stored order has changed since (another desk wrote it).
    uint64_t loadedPrint;
};

#endif  // KV_DB_ORDER_RECORD_H
