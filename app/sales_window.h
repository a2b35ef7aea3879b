// sales_window.h - "Sales overview..." of the register's Order menu: a modal
// window with the orders' gross totals of the last 12, 24 or 36 calendar
// months as a bar chart divided by status, the table under it (month,
// orders, net, gross), a note on the orders in other currencies, and Copy,
// Print..., Save as PDF... and Close.
#ifndef KV_APP_SALES_WINDOW_H
#define KV_APP_SALES_WINDOW_H

#include <windows.h>

// The window's class.
extern const char kSalesWindowClass[];  // "salesOverview"

class RegisterRows;

// Sums the orders once, then runs the window with `owner` disabled under it
// until it is closed. With `allOrders`, the rows of a register that lists
// every order, the sums come from them (the register's one pass and its
// updates since); without, the orders are read once (a wait cursor
// meanwhile), and a failed reading is shown in an "Error" box instead.
void RunSalesWindow(HWND owner, const RegisterRows* allOrders);

#endif  // KV_APP_SALES_WINDOW_H
