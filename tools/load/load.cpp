// kelvaro-load: several desks writing one database server at once, each a
// process of its own over the program's database code, then a check of
// what they left.
//
//   kelvaro-load --server CONNINFO --templates FILE run [--writers 8] [--new 500]
//                [--corrections 500] [--seconds 900]
//   kelvaro-load --server CONNINFO --templates FILE kill [--writers 8] [--kills 50]
//   kelvaro-load --server CONNINFO --templates FILE bench [--new 200]
//   kelvaro-load --server CONNINFO --templates FILE check
//
// The orders saved are copies of the orders of the database file FILE
// (kelvaro-mkdb --demo makes one). Each writer saves its new orders and
// corrects random orders between them, as a desk does: load, change, write
// if still as loaded, else load again. A correction counts itself in the
// order's notes, in every window's notes and in its first accessory's
// quantity, and each writer counts its corrections by order in memory the
// writers share.
//
// run: every writer saves --new orders and makes --corrections corrections,
// all within --seconds; then the check.
// kill: the writers save on while the tool kills one of them in the middle
// of a save (SIGKILL), --kills times, starting a new writer for each; then
// the check, allowing a correction committed but not yet counted by a
// writer that was killed.
// bench: 1, 2, 4 and 8 writers save --new orders each; orders per second
// and the slowest save.
//
// check: only the check, the corrections the orders hold taken as made.
//
// The check: the numbers of the working year are 1..n, each once; every
// order is whole (its template's windows, elements and accessories, every
// window's notes the order's); no correction lost; and the register's
// one-pass reading gives one row per order with the order's own total.
// Exit status 0 when it holds; the figures on standard output.
#include <signal.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "db/connection.h"
#include "db/orders.h"
#include "db/server.h"
#include "db/stmt.h"
#include "db/tables.h"
#include "util/heap.h"
#include "util/msgbuf.h"
#include "valuation/order_list.h"
#include "valuation/valuation.h"

namespace {

enum { kMaxWriters = 64, kMaxNumber = 1 << 17, kMaxConflicts = 50 };

// What the writers share with the tool (anonymous shared memory, before fork).
struct Shared {
    struct Writer {
        volatile int inSave;  // 1 from just before a write to just after it
        long saves, corrections, conflicts, failures;
        long long slowestUs, totalUs;  // of the writes
    } writers[kMaxWriters];
    int corrections[kMaxNumber];  // committed corrections by order number
    char lastFailure[KV_MSG_LEN];
};

Shared* g_shared;
std::vector<strZamRob*> g_templates;
std::string g_conninfo;

long long NowUs() {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (long long)t.tv_sec * 1000000 + t.tv_nsec / 1000;
}

bool LoadTemplates(const char* file, char* msg) {
    if (!DbOpen(file, msg)) return false;
    std::vector<int64_t> keys;
    Stmt st;
    if (!st.Prepare("SELECT kluczZam FROM T_Zam ORDER BY kluczZam")) return false;
    while (st.Step() == kStepRow) keys.push_back(st.ColumnInt64(0));
    for (int64_t key : keys) {
        strZamRob* z = new strZamRob();
        if (!LoadOrder(key, z, msg)) return false;
        g_templates.push_back(z);
    }
    DbClose();
    if (g_templates.empty()) KvMsg(msg, "%s holds no order", file);
    return !g_templates.empty();
}

void Mark(strZamRob* z, int count) {
    snprintf(z->zam.uwagi, sizeof z->zam.uwagi, "corrections: %d", count);
    for (int32_t i = 0; i < z->zam.liczbaOkien; i++)
        snprintf(z->zam.okna[i].uwagi, sizeof z->zam.okna[i].uwagi, "corrections: %d", count);
    if (z->zam.liczbaDodat > 0) z->zam.dodatki[0].ilosc = count + 1;
}

void NoteFailure(const char* msg) { snprintf(g_shared->lastFailure, sizeof g_shared->lastFailure, "%s", msg); }

// One write, timed, flagged as in progress for the killer.
template <typename F>
bool Timed(Shared::Writer& me, F write) {
    me.inSave = 1;
    __sync_synchronize();
    const long long start = NowUs();
    const bool ok = write();
    const long long took = NowUs() - start;
    __sync_synchronize();
    me.inSave = 0;
    me.totalUs += took;
    me.slowestUs = std::max(me.slowestUs, took);
    return ok;
}

bool SaveNew(Shared::Writer& me, int writer, long n, unsigned* seed) {
    const size_t t = (size_t)rand_r(seed) % g_templates.size();
    strZamRob z{};
    char msg[KV_MSG_LEN];
    if (!CopyOrder(&z, g_templates[t], msg)) return false;
    z.zam.kluczZam = 0;
    z.loadedPrint = 0;
    z.zam.idZam = 1;  // taken in the save
    snprintf(z.zam.nazwaNabyw, sizeof z.zam.nazwaNabyw, "Writer %d order %ld", writer, n);
    snprintf(z.zam.dodOznaczZam, sizeof z.zam.dodOznaczZam, "T%zu", t);
    z.zam.status = 0;
    Mark(&z, 0);
    RecomputeOrder(&z, kRecomputeAll);
    const bool ok = Timed(me, [&] { return SaveNewOrderNumbered(&z, msg) != 0; });
    if (ok) me.saves++;
    else NoteFailure(msg);
    FreeOrder(&z);
    return ok;
}

enum Outcome { kWritten, kNothingToCorrect, kFailed };

Outcome Correct(Shared::Writer& me, unsigned* seed) {
    int64_t last = 0;
    char msg[KV_MSG_LEN];
    if (DbQueryValue("SELECT MAX(idZam) FROM T_Zam", kDbInt64, &last, sizeof last, msg) != kDbQueryValue ||
        last < 1)
        return kNothingToCorrect;
    const int number = 1 + rand_r(seed) % (int)last;
    Stmt st;
    if (!st.Prepare("SELECT kluczZam FROM T_Zam WHERE idZam = ?1") || !st.BindInt(1, number) ||
        st.Step() != kStepRow)
        return kNothingToCorrect;
    const int64_t key = st.ColumnInt64(0);
    for (int attempt = 0; attempt < kMaxConflicts; attempt++) {
        strZamRob z{};
        if (!LoadOrder(key, &z, msg)) {
            NoteFailure(msg);
            return kFailed;
        }
        const int count = atoi(z.zam.uwagi + strlen("corrections: "));
        Mark(&z, count + 1);
        for (int32_t i = 0; i < z.zam.liczbaOkien; i++) z.zam.okna[i].cenaZReki += 1;
        RecomputeOrder(&z, kRecomputeAll);
        const bool ok = Timed(me, [&] { return OverwriteOrder(&z, msg) != 0; });
        FreeOrder(&z);
        if (ok) {
            __sync_fetch_and_add(&g_shared->corrections[number], 1);
            me.corrections++;
            return kWritten;
        }
        if (!strstr(msg, "was changed at another desk")) {
            NoteFailure(msg);
            return kFailed;
        }
        me.conflicts++;
    }
    NoteFailure("a correction met another desk's too often");
    return kFailed;
}

// The body of a writer process: `news` new orders and `corrections`
// corrections in a random order, until `deadline` (0: none).
[[noreturn]] void Writer(int writer, long news, long corrections, long long deadline) {
    Shared::Writer& me = g_shared->writers[writer];
    char msg[KV_MSG_LEN];
    if (DbOpenServer(g_conninfo.c_str(), msg) != kServerConnected) {
        NoteFailure(msg);
        me.failures++;
        _exit(2);
    }
    unsigned seed = (unsigned)(writer * 7919 + getpid());
    long made = 0, fixed = 0;
    while (made < news || fixed < corrections) {
        if (deadline && NowUs() > deadline) _exit(3);
        const bool saveNew = fixed >= corrections || (made < news && rand_r(&seed) % 2 == 0);
        const Outcome done = saveNew ? (SaveNew(me, writer, made, &seed) ? kWritten : kFailed) : Correct(me, &seed);
        if (done == kWritten) {
            (saveNew ? made : fixed)++;
        } else if (done == kNothingToCorrect) {
            usleep(10000);  // the others' first orders are on their way
        } else if (++me.failures > 10) {
            _exit(4);
        }
    }
    DbClose();
    _exit(0);
}

pid_t StartWriter(int writer, long news, long corrections, long long deadline) {
    fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) Writer(writer, news, corrections, deadline);
    return pid;
}

// ---- The check ----------------------------------------------------------------

struct Problems {
    int count = 0;
    void operator()(const char* fmt, ...) __attribute__((format(printf, 2, 3))) {
        if (++count > 20) return;
        va_list ap;
        va_start(ap, fmt);
        printf("FAULT: ");
        vprintf(fmt, ap);
        printf("\n");
        va_end(ap);
    }
};

struct RegisterSeen {
    std::map<int64_t, int64_t> gross;  // by key
    int rows = 0;
};

bool SeeRow(const strZamRob* z, void* ctx) {
    RegisterSeen* r = (RegisterSeen*)ctx;
    r->rows++;
    r->gross[z->zam.kluczZam] = z->sumy.zamBrutto;
    return true;
}

// `allowance`: corrections a killed writer may have committed but not counted.
int Check(int allowance) {
    char msg[KV_MSG_LEN];
    Problems fault;
    if (DbOpenServer(g_conninfo.c_str(), msg) != kServerConnected) {
        printf("FAULT: %s\n", msg);
        return 1;
    }
    strZmienne vars{};
    if (!ReadVariables(&vars, msg)) fault("%s", msg);
    std::vector<std::pair<int32_t, int64_t>> orders;  // number, key
    {
        Stmt st;
        if (!st.Prepare("SELECT idZam, kluczZam, rok FROM T_Zam ORDER BY idZam")) fault("%s", DbErrorText());
        while (st.Step() == kStepRow) {
            if (st.ColumnInt32(2) != vars.rok) fault("order %d in the year %d", st.ColumnInt32(0), st.ColumnInt32(2));
            orders.push_back({st.ColumnInt32(0), st.ColumnInt64(1)});
        }
    }
    for (size_t i = 0; i < orders.size(); i++)
        if (orders[i].first != (int32_t)i + 1) {
            fault("the numbers are not 1..%zu each once: %d at place %zu", orders.size(), orders[i].first, i + 1);
            break;
        }
    if (vars.idZam != (int32_t)orders.size()) fault("the last number is %d, with %zu orders", vars.idZam, orders.size());

    RegisterSeen seen;
    if (!ListOrders(0, SeeRow, &seen, msg)) fault("the register's reading: %s", msg);
    if (seen.rows != (int)orders.size()) fault("the register has %d rows for %zu orders", seen.rows, orders.size());

    long corrections = 0, uncounted = 0;
    for (const auto& [number, key] : orders) {
        strZamRob z{};
        if (!LoadOrder(key, &z, msg)) {
            fault("order %d does not load: %s", number, msg);
            continue;
        }
        const strZamRob* t =
            z.zam.dodOznaczZam[0] == 'T' ? g_templates.at((size_t)atoi(z.zam.dodOznaczZam + 1) % g_templates.size())
                                         : nullptr;
        if (!t || z.zam.liczbaOkien != t->zam.liczbaOkien || z.zam.liczbaDodat != t->zam.liczbaDodat) {
            fault("order %d is not whole: %d windows, %d accessories", number, z.zam.liczbaOkien, z.zam.liczbaDodat);
        } else {
            for (int32_t i = 0; i < z.zam.liczbaOkien; i++) {
                if (z.zam.okna[i].liczbaOper != t->zam.okna[i].liczbaOper)
                    fault("order %d window %d has %d of %d elements", number, i + 1, z.zam.okna[i].liczbaOper,
                          t->zam.okna[i].liczbaOper);
                if (strcmp(z.zam.okna[i].uwagi, z.zam.uwagi) != 0)
                    fault("order %d is half-corrected: \"%s\" and window %d \"%s\"", number, z.zam.uwagi, i + 1,
                          z.zam.okna[i].uwagi);
            }
        }
        const int stored = atoi(z.zam.uwagi + strlen("corrections: "));
        if (z.zam.liczbaDodat > 0 && z.zam.dodatki[0].ilosc != stored + 1)
            fault("order %d is half-corrected: %d corrections, accessory quantity %d", number, stored,
                  z.zam.dodatki[0].ilosc);
        const int counted = number < kMaxNumber ? g_shared->corrections[number] : 0;
        if (stored < counted) fault("order %d lost corrections: %d stored, %d made", number, stored, counted);
        if (stored > counted) uncounted += stored - counted;
        corrections += stored;
        RecomputeOrder(&z, kRecomputeAll);
        auto row = seen.gross.find(key);
        if (row == seen.gross.end() || row->second != z.sumy.zamBrutto)
            fault("order %d: the register's total is not the order's", number);
        FreeOrder(&z);
    }
    if (uncounted > allowance) fault("%ld corrections stored that no writer made", uncounted);
    printf("check: %zu orders numbered 1..%zu, %ld corrections stored (%ld of killed writers), register %d rows: %s\n",
           orders.size(), orders.size(), corrections, uncounted, seen.rows, fault.count ? "FAULTS" : "whole");
    DbClose();
    return fault.count ? 1 : 0;
}

// ---- The runs ---------------------------------------------------------------------

struct Totals {
    long saves = 0, corrections = 0, conflicts = 0, failures = 0;
    long long slowestUs = 0, totalUs = 0;
};

Totals Sum(int writers) {
    Totals t;
    for (int i = 0; i < writers; i++) {
        const Shared::Writer& w = g_shared->writers[i];
        t.saves += w.saves;
        t.corrections += w.corrections;
        t.conflicts += w.conflicts;
        t.failures += w.failures;
        t.slowestUs = std::max(t.slowestUs, w.slowestUs);
        t.totalUs += w.totalUs;
    }
    return t;
}

void ClearStats() { memset(g_shared->writers, 0, sizeof g_shared->writers); }

// The corrections the orders already hold count as made: a run may follow another.
bool CountStoredCorrections(char* msg) {
    if (DbOpenServer(g_conninfo.c_str(), msg) != kServerConnected) return false;
    Stmt st;
    if (!st.Prepare("SELECT idZam, uwagi FROM T_Zam")) {
        KvMsg(msg, "%s", DbErrorText());
        DbClose();
        return false;
    }
    while (st.Step() == kStepRow) {
        const int number = st.ColumnInt32(0);
        char notes[32];
        ColumnText(st, 1, notes, (int)sizeof notes);
        if (number > 0 && number < kMaxNumber && !strncmp(notes, "corrections: ", 13))
            g_shared->corrections[number] = atoi(notes + 13);
    }
    DbClose();
    return true;
}

// Waits for the writers; true when each ended well.
bool WaitAll(const std::vector<pid_t>& pids) {
    bool ok = true;
    for (pid_t p : pids) {
        int status = 0;
        if (waitpid(p, &status, 0) != p || !WIFEXITED(status) || WEXITSTATUS(status) != 0) ok = false;
    }
    return ok;
}

int Run(int writers, long news, long corrections, int seconds) {
    ClearStats();
    const long long start = NowUs(), deadline = start + (long long)seconds * 1000000;
    std::vector<pid_t> pids;
    for (int i = 0; i < writers; i++) pids.push_back(StartWriter(i, news, corrections, deadline));
    const bool ended = WaitAll(pids);
    const double took = (NowUs() - start) / 1e6;
    const Totals t = Sum(writers);
    printf("run: %d writers, %ld new orders and %ld corrections in %.1f s (%ld conflicts met and retried), "
           "slowest write %.1f ms\n",
           writers, t.saves, t.corrections, took, t.conflicts, t.slowestUs / 1000.0);
    if (!ended) printf("FAULT: a writer did not end well: %s\n", g_shared->lastFailure);
    return Check(0) || !ended || t.saves != writers * news || t.corrections != writers * corrections;
}

int Kill(int writers, int kills) {
    ClearStats();
    std::vector<pid_t> pids;
    for (int i = 0; i < writers; i++) pids.push_back(StartWriter(i, 1 << 30, 1 << 30, 0));
    unsigned seed = (unsigned)getpid();
    int done = 0, inSave = 0;
    while (done < kills) {
        usleep(20000 + rand_r(&seed) % 80000);
        const int victim = rand_r(&seed) % writers;
        Shared::Writer& w = g_shared->writers[victim];
        // Into a write, and a little way on, still in it.
        bool during = false;
        for (int tries = 0; tries < 200 && !during; tries++) {
            for (int i = 0; i < 20000 && !w.inSave; i++) usleep(100);
            usleep(rand_r(&seed) % 2000);
            during = w.inSave != 0;
        }
        kill(pids[victim], SIGKILL);
        waitpid(pids[victim], nullptr, 0);
        w.inSave = 0;
        done++;
        inSave += during;
        pids[victim] = StartWriter(victim, 1 << 30, 1 << 30, 0);
    }
    for (pid_t p : pids) kill(p, SIGKILL);
    for (pid_t p : pids) waitpid(p, nullptr, 0);
    const Totals t = Sum(writers);
    printf("kill: %d writers killed %d times (%d in the middle of a write), %ld new orders and %ld corrections "
           "made meanwhile\n",
           writers, done, inSave, t.saves, t.corrections);
    // Each killed writer may have committed one write it did not count yet.
    return Check(done);
}

int Bench(long news) {
    for (int writers : {1, 2, 4, 8}) {
        ClearStats();
        const long long start = NowUs();
        std::vector<pid_t> pids;
        for (int i = 0; i < writers; i++) pids.push_back(StartWriter(i, news, 0, 0));
        if (!WaitAll(pids)) {
            printf("FAULT: a writer did not end well: %s\n", g_shared->lastFailure);
            return 1;
        }
        const double took = (NowUs() - start) / 1e6;
        const Totals t = Sum(writers);
        printf("bench: %d writers: %.0f orders/s, mean save %.1f ms, slowest save %.1f ms\n", writers,
               t.saves / took, t.totalUs / 1000.0 / std::max(1L, t.saves), t.slowestUs / 1000.0);
    }
    return 0;
}

long Option(int argc, char** argv, const char* name, long fallback) {
    for (int i = 0; i + 1 < argc; i++)
        if (!strcmp(argv[i], name)) return atol(argv[i + 1]);
    return fallback;
}

}  // namespace

int main(int argc, char** argv) {
    const char* templates = nullptr;
    const char* what = nullptr;
    for (int i = 1; i < argc; i++) {
        if (!strcmp(argv[i], "--server") && i + 1 < argc) g_conninfo = argv[++i];
        else if (!strcmp(argv[i], "--templates") && i + 1 < argc) templates = argv[++i];
        else if (argv[i][0] != '-' && !what) what = argv[i];
        else if (argv[i][0] == '-') i++;  // a number option, read below
    }
    const int writers = (int)Option(argc, argv, "--writers", 8);
    if (g_conninfo.empty() || !templates || !what || writers < 1 || writers > kMaxWriters) {
        fprintf(stderr, "usage: kelvaro-load --server CONNINFO --templates FILE run|kill|bench|check [options]\n");
        return 2;
    }
    char msg[KV_MSG_LEN];
    if (!KvHeapCreate() || !LoadTemplates(templates, msg)) {
        fprintf(stderr, "kelvaro-load: %s\n", msg);
        return 1;
    }
    g_shared = (Shared*)mmap(nullptr, sizeof(Shared), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (g_shared == MAP_FAILED) return 1;
    memset(g_shared, 0, sizeof *g_shared);
    setvbuf(stdout, nullptr, _IOLBF, 0);
    if (!CountStoredCorrections(msg)) {
        fprintf(stderr, "kelvaro-load: %s\n", msg);
        return 1;
    }
    int rc = 2;
    if (!strcmp(what, "run"))
        rc = Run(writers, Option(argc, argv, "--new", 500), Option(argc, argv, "--corrections", 500),
                 (int)Option(argc, argv, "--seconds", 900));
    else if (!strcmp(what, "kill")) rc = Kill(writers, (int)Option(argc, argv, "--kills", 50));
    else if (!strcmp(what, "bench")) rc = Bench(Option(argc, argv, "--new", 200));
    else if (!strcmp(what, "check")) rc = Check(0);
    else fprintf(stderr, "kelvaro-load: no such run: %s\n", what);
    for (strZamRob* z : g_templates) {
        FreeOrder(z);
        delete z;
    }
    return rc;
}
