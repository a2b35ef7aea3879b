// A record header that reaches for the database code.
#include "db/connection.h"
#include "util/msgbuf.h"
