// The platform the Windows build relies on: common controls version 6 from
// the manifest, and the two libraries loading and exporting their names.
#include <gtest/gtest.h>

#include <windows.h>

#include <string.h>

#include <fstream>
#include <string>

#include "tests/win/harness.h"

TEST(Platform, CommonControlsVersion6IsActive) {
    // Under the manifest's activation context the name resolves to the
    // side-by-side version 6 assembly; without it, to the system's version 5
    // (whose DllGetVersion Wine also reports for version 6, so the path is
    // the test that tells them apart on both systems).
    HMODULE comctl = LoadLibraryA("comctl32.dll");
    ASSERT_NE(nullptr, comctl);
    char path[MAX_PATH] = "";
    GetModuleFileNameA(comctl, path, sizeof path);
    CharLowerA(path);
    EXPECT_NE(nullptr, strstr(path, "microsoft.windows.common-controls_6595b64144ccf1df_6.")) << path;
    FreeLibrary(comctl);
}

// Every name in the export lists resolves in the library that exports it.
static void ExpectExports(const char* dll, const std::vector<std::string>& lists) {
    HMODULE lib = LoadLibraryA((BinDir() + "\\" + dll).c_str());
    ASSERT_NE(nullptr, lib) << dll << " did not load: " << GetLastError();
    int names = 0;
    for (const std::string& list : lists) {
        std::ifstream in(list);
        ASSERT_TRUE(in.good()) << list;
        std::string line;
        while (std::getline(in, line)) {
            std::string name = line.substr(0, line.find_first_of(" =\r\t"));
            if (name.empty()) continue;
            EXPECT_NE(nullptr, (void*)GetProcAddress(lib, name.c_str())) << dll << ": " << name;
            names++;
        }
    }
    EXPECT_GT(names, 2);
    // The library's state is set while it is loaded.
    HINSTANCE* inst = (HINSTANCE*)(void*)GetProcAddress(lib, "hInstDll");
    HANDLE* heap = (HANDLE*)(void*)GetProcAddress(lib, "hHeapDll");
    ASSERT_NE(nullptr, inst);
    ASSERT_NE(nullptr, heap);
    EXPECT_EQ((HINSTANCE)lib, *inst);
    EXPECT_NE(nullptr, *heap);
    FreeLibrary(lib);
}

TEST(Platform, PagoraExportsItsNamesAndTheUtilityLibrary) {
    ExpectExports("pagora.dll",
                  {KV_SOURCE_DIR "/pagora/pagora.exports", KV_SOURCE_DIR "/util/kvutil.exports"});
}

TEST(Platform, WidgoraExportsItsNamesAndTheUtilityLibrary) {
    ExpectExports("widgora.dll",
                  {KV_SOURCE_DIR "/widgora/widgora.exports", KV_SOURCE_DIR "/util/kvutil.exports"});
}
