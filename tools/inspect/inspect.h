// inspect.h - kelvaro-inspect, the support tool that prints the orders of a
// database as the program values them, or checks that they load.
#ifndef KV_TOOLS_INSPECT_H
#define KV_TOOLS_INSPECT_H

#include <stdio.h>

// The whole tool, with its streams given so that tests can run it in their
// own process:
//   kelvaro-inspect DATABASE          every order as JSON on `out`
//   kelvaro-inspect DATABASE KEY      one order as JSON
//   kelvaro-inspect --check DATABASE  one line "KEY: message" per order that
//                                     does not load or whose windows fail the
//                                     structure check
// Exit status: 0 success (for --check: every order loads and passes); 1 an
// order failed the check; 2 wrong arguments, or the database or an order
// could not be read (the message on `err`). Opens and closes the program's
// database connection.
int InspectMain(int argc, char** argv, FILE* out, FILE* err);

#endif  // KV_TOOLS_INSPECT_H
