#include "tests/win/emf_pages.h"

#include <map>

namespace {

struct StateOf {
    EmfPage* s;
    std::map<DWORD, LOGFONTW> fonty;
    LOGFONTW biezacy = {};
    POINTL poz = {0, 0};
};

void AddOp(StateOf* st, const POINTL& p, const std::string& t, DWORD opcje) {
    st->s->teksty.push_back({t, (int)p.x, (int)p.y, (int)st->biezacy.lfHeight, (int)st->biezacy.lfWeight, {}});
    if (opcje & ETO_GLYPH_INDEX) st->s->glify++;
}

int CALLBACK Rekord(HDC, HANDLETABLE*, const ENHMETARECORD* r, int, LPARAM ctx) {
    StateOf* st = (StateOf*)ctx;
    const BYTE* b = (const BYTE*)r;
    switch (r->iType) {
        case EMR_EXTCREATEFONTINDIRECTW: {
            const EMREXTCREATEFONTINDIRECTW* f = (const EMREXTCREATEFONTINDIRECTW*)r;
            st->fonty[f->ihFont] = f->elfw.elfLogFont;
            break;
        }
        case EMR_SELECTOBJECT: {
            auto it = st->fonty.find(((const EMRSELECTOBJECT*)r)->ihObject);
            if (it != st->fonty.end()) st->biezacy = it->second;
            break;
        }
        case EMR_DELETEOBJECT: st->fonty.erase(((const EMRDELETEOBJECT*)r)->ihObject); break;
        case EMR_EXTTEXTOUTW: {
            const EMREXTTEXTOUTW* t = (const EMREXTTEXTOUTW*)r;
            std::wstring w((const wchar_t*)(b + t->emrtext.offString), t->emrtext.nChars);
            std::string a(w.size() * 2 + 1, '\0');
            int n = WideCharToMultiByte(CP_ACP, 0, w.c_str(), (int)w.size(), &a[0], (int)a.size(), nullptr,
                                        nullptr);
            a.resize(n > 0 ? n : 0);
            st->s->wideTexts++;
            AddOp(st, t->emrtext.ptlReference, a, t->emrtext.fOptions);
            if (t->emrtext.offDx && a.size() == w.size())
                st->s->teksty.back().dx.assign((const INT*)(b + t->emrtext.offDx),
                                               (const INT*)(b + t->emrtext.offDx) + w.size());
            break;
        }
        case EMR_EXTTEXTOUTA: {
            const EMREXTTEXTOUTA* t = (const EMREXTTEXTOUTA*)r;
            st->s->ansiTexts++;
            AddOp(st, t->emrtext.ptlReference,
                  std::string((const char*)(b + t->emrtext.offString), t->emrtext.nChars),
                  t->emrtext.fOptions);
            break;
        }
        case EMR_MOVETOEX: st->poz = ((const EMRMOVETOEX*)r)->ptl; break;
        case EMR_LINETO: {
            const POINTL p = ((const EMRLINETO*)r)->ptl;
            st->s->linie.push_back({(int)st->poz.x, (int)st->poz.y, (int)p.x, (int)p.y});
            st->poz = p;
            break;
        }
    }
    return 1;
}

}  // namespace

EmfPage ReadPage(HENHMETAFILE h) {
    EmfPage s;
    ENHMETAHEADER nag = {};
    GetEnhMetaFileHeader(h, sizeof nag, &nag);
    s.ramka = nag.rclFrame;
    StateOf st;
    st.s = &s;
    EnumEnhMetaFile(nullptr, h, Rekord, &st, nullptr);
    return s;
}

std::vector<EmfText> MatchingTexts(const EmfPage& s, const std::string& t) {
    std::vector<EmfText> w;
    for (const EmfText& x : s.teksty)
        if (x.t == t) w.push_back(x);
    return w;
}

const EmfText* TextAt(const EmfPage& s, const std::string& poczatek) {
    for (const EmfText& x : s.teksty)
        if (x.t.compare(0, poczatek.size(), poczatek) == 0) return &x;
    return nullptr;
}

int ArialTextWidth(const std::string& t, int wys, int waga) {
    HFONT f = CreateFontA(wys, 0, 0, 0, waga, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Arial");
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ stary = SelectObject(dc, f);
    SIZE sz = {0, 0};
    GetTextExtentPoint32A(dc, t.c_str(), (int)t.size(), &sz);
    SelectObject(dc, stary);
    DeleteDC(dc);
    DeleteObject(f);
    return sz.cx;
}
