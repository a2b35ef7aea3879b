// register_dialogs.h - the small dialogs of the register of orders: the next
// order's number, the search by order number and the about box.
#ifndef KV_APP_REGISTER_DIALOGS_H
#define KV_APP_REGISTER_DIALOGS_H

#include <windows.h>
#include <stdint.h>

// Asks for the next order's number, above `lastNumber`. Returns the new
// last number (the one entered less one), or -1 when the user cancels.
int64_t AskNextOrderNumber(HINSTANCE instance, HWND owner, int32_t lastNumber);

// Asks for an order number to search for; the text (at most 64 characters,
// trimmed at both ends) goes to `text`. False when the user cancels.
bool AskSearchText(HINSTANCE instance, HWND owner, char text[65]);

// The about box with the program's version.
void ShowAboutBox(HINSTANCE instance, HWND owner);

#endif  // KV_APP_REGISTER_DIALOGS_H
