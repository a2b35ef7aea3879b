// The order list's data path. The key walk stays open while each order is
// loaded: the loads only read, which SQLite allows beside an open read on
// the same connection, and the rows handed out before a failure stay valid.
// The whole walk is one read transaction (unless the caller has one open),
// so the loads see one state of the database and skip a transaction each.
#include "valuation/order_list.h"

#include "db/connection.h"
#include "db/orders.h"
#include "valuation/valuation.h"

namespace {
const char kTrLista[] = "ListaZamowienSq";

struct Lista {
    ZamListaFn fn;
    void* ctx;
};

int JednoZamowienie(int64_t klucz, void* ctx, char* msg) {
    const Lista* l = (const Lista*)ctx;
    strZamRob z;
    if (!WczytajZam(klucz, &z, msg)) return kDbWalkFail;
    PrzeliczZam(&z, kPrzWszystko);
    const bool dalej = !l->fn || l->fn(&z, l->ctx);
    ZwolnijIZerujZam(&z);
    return dalej ? kDbWalkNext : kDbWalkStop;
}
}  // namespace

int ListaZamowien(int32_t filtr, ZamListaFn fn, void* ctx, char* msg) {
    // Without the transaction the walk still works, a lock per order slower.
    DbReadTransaction odczyt(kTrLista, nullptr);
    Lista l = {fn, ctx};
    return DbWalkOrderKeys(filtr, JednoZamowienie, &l, msg);
}
