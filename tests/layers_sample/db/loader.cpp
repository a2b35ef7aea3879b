// A database file that builds windows (as model/gone.h once told it to).
#include "db/loader.h"
#include "model/structure.h"
