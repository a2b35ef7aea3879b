// buyers.h - the buyers of earlier orders, which the order window's buyer
// field offers as the user types.
#ifndef KV_DB_BUYERS_H
#define KV_DB_BUYERS_H

#include <string>
#include <vector>

struct Buyer {
    std::string name;     // nazwaNabyw, as stored
    std::string address;  // adresNabyw of the buyer's most recent order
    std::string info;     // infDodatNabyw of that order
};

// Every buyer named in an order that is not deleted (status -1), once per
// name as stored, with the address and other information of that buyer's
// most recent order (the latest date of order, then the highest key); the
// buyers of the most recent orders first. Orders without a buyer's name are
// left out. 1, or 0 with the message (and no buyers).
int DbLoadBuyers(std::vector<Buyer>* buyers, char* msg);

#endif  // KV_DB_BUYERS_H
