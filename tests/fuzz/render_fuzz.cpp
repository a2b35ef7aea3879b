// Fuzz target: the drawing arithmetic over windows as a damaged database or
// a half-built design could hand them over. Decodes a window (raw stored
// blobs, or elements with small indices and positions), runs the geometry
// pass, placement into a random target, the dimension set and the text
// placement, and the inverse mapping. Besides "no crash, no sanitizer
// report" it checks what must hold for any list: each chain has one record
// more than it has elements, sorted the chain's way, and (when nothing was
// clamped) its lengths add up to the frame's width or height.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "model/operations.h"
#include "model/structure.h"
#include "model/window.h"
#include "render/drawing.h"
#include "tests/fuzz/fuzz_input.h"
#include "util/heap.h"
#include "util/msgbuf.h"

namespace {

void FakeMeasure(void*, int pionowy, const char* tekst, int32_t* dl, int32_t* wys) {
    *dl = (int32_t)strlen(tekst) * (6 + pionowy);
    *wys = 11;
}

uniOperRys Element(Wejscie& in, int32_t i) {
    uniOperRys op;
    memset(&op, 0, sizeof op);
    const int32_t ogr = i > 0 ? i : 1;
    op.typ = i == 0 ? (uint32_t)kOpFrame : (uint32_t)(1 + in.U8() % 5);
    switch (op.typ) {
        case kOpFrame:
            op.rama.x1 = 1 + in.U16() % 10000;
            op.rama.y1 = 1 + in.U16() % 10000;
            break;
        case kOpFixedMullion:
        case kOpFalseMullion:
            op.slupek.rodzaj = (int32_t)op.typ - 1;
            op.slupek.poz = in.U16() % 10001;
            op.slupek.poziomy = in.U8() & 1;
            op.slupek.ogrPocz = in.U8() % ogr;
            op.slupek.ogrKon = in.U8() % ogr;
            break;
        case kOpSash:
            op.skrzydlo.rodzOtw = in.U8() % 4;
            op.skrzydlo.stronaOtw = in.U8() % 2;
            for (int k = 0; k < 4; k++) op.skrzydlo.ogr[k] = in.U8() % ogr;
            break;
        case kOpFilling:
            op.wypeln.typWypeln = in.U8() % 2;
            op.wypeln.nazwa[0] = (char)('A' + in.U8() % 3);
            for (int k = 0; k < 4; k++) op.wypeln.ogr[k] = in.U8() % ogr;
            break;
        default:
            op.szpros.poz = in.U16() % 10001;
            op.szpros.poziomy = in.U8() & 1;
            op.szpros.ogrPocz = in.U8() % ogr;
            op.szpros.ogrKon = in.U8() % ogr;
            op.szpros.wypeln = in.U8() % ogr;
            break;
    }
    return op;
}

bool IsMullion(const uniOperRys& op) { return op.typ == kOpFixedMullion || op.typ == kOpFalseMullion; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Wejscie in{data, size};
    char msg[KV_MSG_LEN];
    const bool surowe = in.U8() & 1;
    const int32_t liczba = 1 + in.U8() % 48;
    strOkno o;
    memset(&o, 0, sizeof o);
    o.status = 4;
    o.sGrubProf = strGrubProf{(int32_t)(in.U8() % 120), (int32_t)(in.U8() % 120), (int32_t)(in.U8() % 120),
                              (int32_t)(in.U8() % 120)};
    o.grubSzpros = in.U8() % 40;
    for (int32_t i = 0; i < liczba; i++) {
        uniOperRys op;
        if (surowe) {
            unsigned char blob[kOpBlobLen];
            size_t n = in.n < (size_t)kOpBlobLen ? in.n : (size_t)kOpBlobLen;
            memcpy(blob, in.p, n);
            in.p += n;
            in.n -= n;
            BlobToDrawOp(blob, (int32_t)n, &op);
        } else {
            op = Element(in, i);
        }
        if (!AddDrawOp(&o.oper, &o.liczbaOper, &op, msg)) abort();
    }
    // Placement and chains run whether or not the geometry pass accepted the
    // list: a caller that ignores its answer must not make them misbehave.
    ComputeGeometry(o.oper, o.liczbaOper, 5, &o, msg);
    strProst cel = {(int32_t)(in.I32() % 4000), (int32_t)(in.I32() % 4000), 0, 0};
    cel.right = cel.left + in.U16() % 3000;
    cel.bottom = cel.top + in.U16() % 3000;
    const int32_t margines = in.U8() % 80;
    const PenWidths piora = {in.U8() % 6, in.U8() % 6, in.U8() % 6, in.U8() % 6};
    LayOutWindow(o.oper, o.liczbaOper, &cel, margines, &piora);

    DimensionSet w;
    memset(&w, 0, sizeof w);
    if (BuildDimensions(o.oper, o.liczbaOper, &w, msg)) {
        if (o.oper[0].typ == kOpFrame) {
            for (int c = 0; c < kDimensionChains; c++) {
                int32_t k = 0;
                for (int32_t i = 1; i < o.liczbaOper; i++) {
                    const uniOperRys& op = o.oper[i];
                    bool poziomy = IsMullion(op) ? op.slupek.poziomy != 0 : op.szpros.poziomy != 0;
                    bool slupek = IsMullion(op);
                    if (!slupek && op.typ != kOpMuntin) continue;
                    int chain = slupek ? (poziomy ? kDimensionRight : kDimensionBottom) : (poziomy ? kDimensionLeft : kDimensionTop);
                    k += chain == c;
                }
                if (w.itemCount[c] != (k ? k + 1 : 0)) abort();
                if (!k) continue;
                // Sorted the chain's way; lengths add up when nothing was clamped.
                const bool rosnaco = c == kDimensionBottom || c == kDimensionTop;
                int64_t suma = 0;
                bool obciete = false;
                for (int32_t i = 0; i < w.itemCount[c]; i++) {
                    suma += w.chainSegments[c][i].dlugosc;
                    obciete |= w.chainSegments[c][i].dlugosc == INT32_MAX || w.chainSegments[c][i].dlugosc == INT32_MIN;
                    // Between elements the chain's order makes every step non-negative
                    // (ascending positions, or descending ones measured the other way).
                    if (i > 0 && i < k && w.chainSegments[c][i].dlugosc < 0) abort();
                }
                const int64_t calosc = rosnaco ? o.oper[0].rama.x1 : o.oper[0].rama.y1;
                if (!obciete && suma != calosc) abort();
            }
        }
        LayOutDimensionTexts(&w, o.oper, o.liczbaOper, in.U8() & 1, FakeMeasure, nullptr);
    }
    FreeDimensions(&w);
    if (w.chainSegments[0] || w.itemCount[1] || w.widthText.right) abort();

    int32_t X, Y;
    if (o.oper[0].typ == kOpFrame)
        DeviceToMm(in.I32(), in.I32(), o.oper[0].rama.x1, o.oper[0].rama.y1, &cel, margines, &X, &Y);
    KvFree(o.oper);
    return 0;
}
