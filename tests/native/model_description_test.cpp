// The description of a window and its notes, byte for byte.
#include <gtest/gtest.h>

#include <string.h>

#include <memory>
#include <string>

#include "model/description.h"
#include "model/uw.h"
#include "tests/native/sample_windows.h"
#include "tests/native/util_locale.h"

namespace {

// An order holding the one test window.
struct Zamowienie {
    std::unique_ptr<strZam> z{new strZam()};
    explicit Zamowienie(TestWindow& o, int32_t profil = 0) {
        strcpy(o.r.nazProfil, "Prof");
        strcpy(o.r.nazOkucie, "Hw");
        strcpy(o.r.nazKolor, "Col");
        strcpy(o.r.nazSzpros, "Bars");
        strcpy(o.r.nazListwa, "Bead");
        o.r.iProfSch = profil;
        z->okna = &o.r;
        z->liczbaOkien = 1;
    }
    std::string Describe(int32_t rozmiar = 4096) {
        std::string buf((size_t)rozmiar, 'Z');
        EXPECT_EQ(1, DescribeWindow(z.get(), 0, &buf[0], rozmiar));
        return buf.c_str();
    }
};

std::string Uw(const TestWindow& o) {
    char t[KV_AMOUNT_LEN];
    UwToText(WindowUw(&o.r), t);
    return std::string("\r\nUw factor: ") + t + " W/(m2*K)";
}

TEST(Description, TheExampleWindow) {
    TestWindow o;
    o << DrawFrame(1200, 1400) << SashElement(3, 0, 0, 0, 0, 0) << DrawFilling(0, "Float 4/16/4", 1);
    Zamowienie z(o);
    EXPECT_EQ(
        "Size: 1200 / 1400\r\n"
        "Profile: Prof (PVC)\r\n"
        "Hardware: Hw\r\n"
        "Color: Col\r\n"
        "Glazing bead: Bead\r\n"
        "Filling:\r\n"
        "(1) - Float 4/16/4 - [Glass]" +
            Uw(o),
        z.Describe());
}

TEST(Description, LinesThatDependOnTheElements) {
    {  // Only fixed sashes: no hardware. A muntin: its line. Wood.
        TestWindow o;
        o << DrawFrame(1000, 800) << DrawMullion(false, 500, false, 0, 0) << SashElement(0, 0, 0, 0, 1, 0)
          << SashElement(0, 1, 1, 0, 0, 0) << DrawFilling(0, "G", 2) << DrawMuntin(200, false, 2, 2, 4);
        Zamowienie z(o, 1);
        EXPECT_EQ(
            "Size: 1000 / 800\r\nProfile: Prof (Wood)\r\nColor: Col\r\nMuntin: Bars\r\n"
            "Glazing bead: Bead\r\nFilling:\r\n(1) - G - [Glass]" +
                Uw(o),
            z.Describe());
    }
    {  // No filling at all; aluminium.
        TestWindow o;
        o << DrawFrame(640, 480);
        Zamowienie z(o, 2);
        EXPECT_EQ("Size: 640 / 480\r\nProfile: Prof (Aluminium)\r\nColor: Col\r\nGlazing bead: Bead" + Uw(o),
                  z.Describe());
    }
    {  // A profile type outside 0-2 has no suffix; a blank filling leaves
        // "Filling:" alone.
        TestWindow o;
        o << DrawFrame(640, 480) << DrawFilling(1, "  \t", 0);
        Zamowienie z(o, 3);
        EXPECT_EQ("Size: 640 / 480\r\nProfile: Prof\r\nColor: Col\r\nGlazing bead: Bead\r\nFilling:" + Uw(o),
                  z.Describe());
    }
}

TEST(Description, FillingsListedOnceByNameAndType) {
    TestWindow o;
    o << DrawFrame(1000, 800) << DrawMullion(false, 300, false, 0, 0) << DrawMullion(false, 600, false, 1, 0)
      << DrawFilling(0, "Float 4/16/4", 0, 0, 1, 0) << DrawFilling(0, "  FLOAT 4/16/4\t", 1, 0, 2, 0)
      << DrawFilling(1, "float 4/16/4", 2, 0, 0, 0);
    Zamowienie z(o);
    const std::string opis = z.Describe();
    const std::string oczek =
        "\r\nFilling:\r\n(1) - Float 4/16/4 - [Glass]\r\n(2) - float 4/16/4 - [Acrylic]\r\nUw";
    EXPECT_NE(std::string::npos, opis.find(oczek)) << opis;
}

TEST(Description, DamagedRecordsAndSmallBuffers) {
    TestWindow o;
    o << DrawFrame(1200, 1400) << DrawFilling(0, "G", 0);
    Zamowienie z(o);
    memset(o.r.nazKolor, 'C', sizeof o.r.nazKolor);  // no terminator
    const std::string opis = z.Describe();
    EXPECT_NE(std::string::npos, opis.find("\r\nColor: " + std::string(127, 'C') + "\r\nGlazing bead: "))
        << opis;

    // Cut to the buffer, always terminated.
    std::string maly(20, 'Z');
    EXPECT_EQ(1, DescribeWindow(z.z.get(), 0, &maly[0], 20));
    EXPECT_EQ(opis.substr(0, 19), maly.c_str());

    // No such window, or one without its frame: an empty text.
    char buf[64] = "old";
    EXPECT_EQ(0, DescribeWindow(z.z.get(), 1, buf, sizeof buf));
    EXPECT_STREQ("", buf);
    o[0].typ = kOpFixedMullion;
    strcpy(buf, "old");
    EXPECT_EQ(0, DescribeWindow(z.z.get(), 0, buf, sizeof buf));
    EXPECT_STREQ("", buf);
}

// The Uw goes through the amount text, so it follows the user's decimal
// separator.
class UwText : public LocaleTest {};

TEST_P(UwText, TwoDecimalsOrADash) {
    const struct {
        int32_t uw;
        const char* t;
    } przypadki[] = {
        {-1, "-"},
        {136, "1#36"},
        {0, "0#00"},
        {5, "0#05"},
        {-150, "-1#50"},
        {INT32_MAX, "21474836#47"},
        {INT32_MIN, "-21474836#48"},
    };
    for (auto& p : przypadki) {
        char t[KV_AMOUNT_LEN];
        UwToText(p.uw, t);
        EXPECT_EQ(Loc(GetParam(), p.t), t) << p.uw;
    }
}
INSTANTIATE_TEST_SUITE_P(Locales, UwText, KV_LOCALES);

// ---- Notes -----------------------------------------------------------------

std::string NotesBlock(const char* uwagi, int32_t szer, const char* przed = "", int32_t rozmiar = 4096) {
    TestWindow o;
    o << DrawFrame(100, 100);
    Zamowienie z(o);
    snprintf(o.r.uwagi, sizeof o.r.uwagi, "%s", uwagi);
    std::string buf((size_t)rozmiar, 'Z');
    strcpy(&buf[0], przed);
    EXPECT_EQ(1, AddWindowNotes(z.z.get(), 0, &buf[0], rozmiar, szer));
    return buf.c_str();
}

TEST(Notes, WrappedAtTheWidth) {
    // The word that crosses the width starts the new line.
    EXPECT_EQ("\r\none \r\ntwo three ", NotesBlock("one two three", 7));
    EXPECT_EQ("\r\none two three ", NotesBlock("one two three", 60));
    EXPECT_EQ("X\r\na b c ", NotesBlock("  a\t\tb   c  ", 60, "X"));
    // A first word wider than the line still gets its own break.
    EXPECT_EQ("\r\n\r\nlonger \r\nwords ", NotesBlock("longer words", 3));
    // Only the first line of the notes is wrapped.
    EXPECT_EQ("\r\nalpha beta ", NotesBlock("alpha beta\r\ngamma", 60));
    EXPECT_EQ("\r\n", NotesBlock("\nalpha", 60));
}

TEST(Notes, AsTheyAreAndLimits) {
    EXPECT_EQ("D\r\nalpha beta\r\ngamma\t ", NotesBlock("alpha beta\r\ngamma\t ", -1, "D"));
    EXPECT_EQ("\r\n", NotesBlock("", 7));

    // 1023 characters fill the field; a longer word is cut at 1024 when wrapping.
    const std::string x(1023, 'x');
    EXPECT_EQ("\r\n" + x + " ", NotesBlock(x.c_str(), 2000));
    EXPECT_EQ("\r\n" + x, NotesBlock(x.c_str(), -1));

    // Cut to the buffer.
    EXPECT_EQ("abc\r\non", NotesBlock("one two", 60, "abc", 8));
}

TEST(Notes, UnterminatedNotesAndNoWindow) {
    TestWindow o;
    o << DrawFrame(100, 100);
    Zamowienie z(o);
    memset(o.r.uwagi, 'n', sizeof o.r.uwagi);
    std::string buf(4096, 0);
    ASSERT_EQ(1, AddWindowNotes(z.z.get(), 0, &buf[0], 4096, -1));
    EXPECT_EQ("\r\n" + std::string(1023, 'n'), buf.c_str());
    char b[8] = "keep";
    EXPECT_EQ(0, AddWindowNotes(z.z.get(), 2, b, sizeof b, 60));
    EXPECT_STREQ("keep", b);
}

}  // namespace
