// Building a toolbar from its table.
#include "util/toolbar_win.h"

#include "util/dpi_win.h"

#include <string>
#include <vector>

int KvPictureScaleIndex(int dpi) { return dpi < 132 ? 0 : dpi < 180 ? 1 : 2; }

static HIMAGELIST LoadStrip(HINSTANCE instance, int bitmapId, int width) {
    if (!bitmapId) return nullptr;
    return ImageList_LoadImageA(instance, MAKEINTRESOURCEA(bitmapId), width, 0, RGB(255, 0, 255),
                                IMAGE_BITMAP, LR_CREATEDIBSECTION);
}

namespace {

void LoadPictures(KvToolbar* t, int dpi) {
    const KvToolbarSetup& setup = t->setup;
    int width = setup.imageWidth ? setup.imageWidth : 16;
    int height = setup.imageHeight ? setup.imageHeight : 16;
    int images = setup.imagesId, disabled = setup.disabledImagesId;
    const int scale = KvPictureScaleIndex(dpi);
    if (scale > 0 && setup.largerStripsId) {
        images = setup.largerStripsId + scale - 1;
        disabled = setup.disabledImagesId ? setup.largerStripsId + 2 + scale - 1 : 0;
        width = scale == 1 ? width * 3 / 2 : width * 2;
        height = scale == 1 ? height * 3 / 2 : height * 2;
    }
    // A first load at 16 x 16 keeps the toolbar's own default size.
    if (width != 16 || height != 16 || t->images.get())
        SendMessageA(t->hwnd, TB_SETBITMAPSIZE, 0, MAKELONG(width, height));
    // The toolbar lets go of the old lists before they are destroyed.
    ScopedImageList normal(LoadStrip(setup.instance, images, width));
    ScopedImageList greyed(LoadStrip(setup.instance, disabled, width));
    SendMessageA(t->hwnd, TB_SETIMAGELIST, 0, (LPARAM)normal.get());
    SendMessageA(t->hwnd, TB_SETDISABLEDIMAGELIST, 0, (LPARAM)greyed.get());
    t->images.reset(normal.release());
    t->disabledImages.reset(greyed.release());
}

// What a window made of a button after its creation, kept across a rebuild.
struct ButtonNow {
    BYTE state;
    std::string text;
};

// The buttons of the table, separators at `dpi`; `now` (one per button)
// replaces the table's states and texts when given.
void AddButtons(const KvToolbar& t, int dpi, const std::vector<ButtonNow>* now) {
    const KvToolbarSetup& setup = t.setup;
    std::vector<TBBUTTON> tb((size_t)setup.buttonCount);
    for (int i = 0; i < setup.buttonCount; i++) {
        const KvToolButton& b = setup.buttons[i];
        tb[i].iBitmap = b.style == BTNS_SEP ? KvScale(b.image, dpi) : b.image;
        tb[i].idCommand = b.command;
        tb[i].fsState = now ? (*now)[i].state : b.state;
        tb[i].fsStyle = b.style;
        // The toolbar keeps its own copy of an ANSI text.
        const char* text = now && b.text ? (*now)[i].text.c_str() : b.text;
        tb[i].iString = text ? (INT_PTR)text : -1;
    }
    SendMessageA(t.hwnd, TB_ADDBUTTONSA, (WPARAM)tb.size(), (LPARAM)tb.data());
}

// The state and text of each button as the window left them.
std::vector<ButtonNow> ReadButtons(const KvToolbar& t) {
    std::vector<ButtonNow> now((size_t)t.setup.buttonCount);
    for (int i = 0; i < t.setup.buttonCount; i++) {
        TBBUTTON b = {};
        SendMessageA(t.hwnd, TB_GETBUTTON, (WPARAM)i, (LPARAM)&b);
        now[i].state = b.fsState;
        if (!t.setup.buttons[i].text) continue;
        const LRESULT length = SendMessageA(t.hwnd, TB_GETBUTTONTEXTA, (WPARAM)b.idCommand, 0);
        if (length <= 0) continue;
        std::vector<char> text((size_t)length + 1);
        SendMessageA(t.hwnd, TB_GETBUTTONTEXTA, (WPARAM)b.idCommand, (LPARAM)text.data());
        now[i].text = text.data();
    }
    return now;
}

}  // namespace

bool KvCreateToolbar(const KvToolbarSetup& setup, KvToolbar* t) {
    t->setup = setup;
    t->hwnd = CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr, WS_CHILD | WS_VISIBLE | setup.style, 0, 0, 0, 0,
                              setup.parent, (HMENU)(INT_PTR)setup.id, setup.instance, nullptr);
    if (!t->hwnd) return false;
    SendMessageA(t->hwnd, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(t->hwnd, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    const int dpi = KvDpiForWindow(setup.parent);
    LoadPictures(t, dpi);
    AddButtons(*t, dpi, nullptr);
    SendMessageA(t->hwnd, TB_AUTOSIZE, 0, 0);
    return true;
}

void KvToolbarApplyDpi(KvToolbar* t, int dpi) {
    if (!t->hwnd) return;
    const std::vector<ButtonNow> now = ReadButtons(*t);
    SendMessageA(t->hwnd, WM_SETREDRAW, FALSE, 0);
    for (int i = t->setup.buttonCount; i > 0; i--) SendMessageA(t->hwnd, TB_DELETEBUTTON, (WPARAM)(i - 1), 0);
    LoadPictures(t, dpi);
    AddButtons(*t, dpi, &now);
    SendMessageA(t->hwnd, WM_SETREDRAW, TRUE, 0);
    SendMessageA(t->hwnd, TB_AUTOSIZE, 0, 0);
    InvalidateRect(t->hwnd, nullptr, TRUE);
}

int KvToolbarHeight(const KvToolbar& t) {
    RECT r = {};
    if (t.hwnd) GetWindowRect(t.hwnd, &r);
    return r.bottom - r.top;
}
