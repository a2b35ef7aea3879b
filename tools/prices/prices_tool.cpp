// kelvaro-prices: see prices_tool.h.
#include "tools/prices/prices_tool.h"

#include <stdlib.h>
#include <string.h>

#include <string>

#include "db/connection.h"
#include "db/price_table.h"
#include "db/server.h"
#include "util/msgbuf.h"
#include "valuation/price_list.h"

namespace {

const char kUsage[] =
    "usage: kelvaro-prices DATABASE import FILE.csv [--codepage N]\n"
    "       kelvaro-prices DATABASE export FILE.csv [--codepage N]\n"
    "Replaces the price list of a Quarvel database with the one in a CSV file,\n"
    "or writes the database's price list to a CSV file. \"--server CONNINFO\" in\n"
    "place of DATABASE works on the register on a server (libpq's words).\n";

#ifdef _WIN32
const int kDefaultCodePage = 0;  // the system's
#else
const int kDefaultCodePage = 1252;
#endif

int Fail(FILE* err, const char* msg) {
    std::string t = msg;
    for (size_t p; (p = t.find("\r\n")) != std::string::npos;) t.replace(p, 2, "; ");
    fprintf(err, "kelvaro-prices: %s\n", t.c_str());
    return 1;
}

int Import(const char* file, int codePage, FILE* out, FILE* err) {
    char msg[KV_MSG_LEN];
    if (!DbPriceListWritable()) return Fail(err, "the database cannot be written");
    PriceList list;
    if (!ImportPriceListFile(file, codePage, &list, msg)) return Fail(err, msg);
    if (!DbSavePriceList(list.entries(), msg)) return Fail(err, msg);
    fprintf(out, "kelvaro-prices: %zu entries imported\n", list.size());
    return 0;
}

int Export(const char* file, int codePage, FILE* out, FILE* err) {
    char msg[KV_MSG_LEN];
    PriceList list;
    if (!LoadStoredPriceList(&list, msg)) return Fail(err, msg);
    if (!ExportPriceListFile(file, codePage, list, msg)) return Fail(err, msg);
    fprintf(out, "kelvaro-prices: %zu entries exported\n", list.size());
    return 0;
}

}  // namespace

int PricesMain(int argc, char** argv, FILE* out, FILE* err) {
    // "--server CONNINFO" stands where the database file would.
    const bool server = DbTakeServerOption(&argc, argv);
    int codePage = kDefaultCodePage;
    if (argc == 6 && strcmp(argv[4], "--codepage") == 0) {
        char* end = nullptr;
        const long cp = strtol(argv[5], &end, 10);
        if (!*argv[5] || *end || cp <= 0 || cp > 65535) {
            fprintf(err, "kelvaro-prices: not a code page: %s\n", argv[5]);
            return 1;
        }
        codePage = (int)cp;
        argc = 4;
    }
    const bool import = argc == 4 && strcmp(argv[2], "import") == 0;
    if (argc != 4 || (!import && strcmp(argv[2], "export") != 0) || argv[1][0] == '-') {
        fputs(kUsage, err);
        return 1;
    }
    char msg[KV_MSG_LEN];
    if (!DbOpenFileOrServer(argv[1], server, msg)) {
        DbClose();
        return Fail(err, msg);
    }
    const int result = import ? Import(argv[3], codePage, out, err) : Export(argv[3], codePage, out, err);
    DbClose();
    fflush(out);
    return result;
}
