#include <windows.h>

#include "app.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return KelvaroMain(instance); }
