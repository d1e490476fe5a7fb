// The about box: its layout, its picture stretched to the frame, and the ticker in the
// button's caption, which runs from the program's start whether the box is shown or not.
#include <gtest/gtest.h>
#include <windows.h>

#include "shell/main/about_set.h"
#include "shell/main/main_form.h"
#include "shell/main/program.h"
#include "tests/gui/dialog_driver.h"
#include "tests/gui/gui_util.h"
#include "tests/gui/program_fixture.h"

using namespace guitest;
using AboutSet::About;
using AboutSet::MarqueePos;
using AboutSet::MarqueeText;
using MainSet::MainForm;

namespace {

class AboutBox : public ProgramTest {
protected:
    static bool boxUp() { return About->visible() && GetActiveWindow() == About->hwnd(); }
    static std::wstring caption() { return About->bbOKAbout->text(); }

    // The caption after n ticks since the box was made: the 38 characters of the endlessly
    // repeated ticker text that end with the n-th character taken from it.
    static std::wstring captionAfter(int ticks) {
        const int len = static_cast<int>(MarqueeText.size());
        std::wstring endless = MarqueeText + MarqueeText + MarqueeText;
        int end = len + ticks % len;  // one past the last character shown
        return endless.substr(static_cast<size_t>(end - 38), 38);
    }
};

TEST_F(AboutBox, IsLaidOutAsTheFormSays) {
    EXPECT_EQ(About->text(), L"О программе...");
    SIZE client = About->clientSize();
    EXPECT_EQ(client.cx, 204);
    EXPECT_EQ(client.cy, 410);
    LONG style = GetWindowLongW(About->hwnd(), GWL_STYLE);
    EXPECT_FALSE(style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_TRUE(style & WS_DLGFRAME);
    EXPECT_FALSE(About->visible());
    RECT wr;
    GetWindowRect(About->hwnd(), &wr);
    EXPECT_NEAR((wr.left + wr.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((wr.top + wr.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);

    struct Place {
        const wchar_t* name;
        int x, y, w, h;
        int fontPx;  // 0: the form's 11 px regular
        bool italic;
        DWORD align;  // SS_LEFT, SS_CENTER, SS_RIGHT for labels, or ~0 for other controls
    };
    const DWORD other = ~0u;
    const Place places[] = {
        {L"Image1", 21, 0, 161, 121, 0, false, other},
        {L"Label6", 114, 1, 67, 13, 0, false, SS_RIGHT},  // the maker's mark
        {L"Label5", 47, 125, 110, 16, 13, true, SS_CENTER},
        {L"Label4", 10, 139, 185, 13, 11, true, SS_CENTER},
        {L"Label3", 10, 154, 182, 65, 0, false, SS_LEFT},
        {L"Bevel1", 2, 227, 200, 1, 0, false, other},
        {L"Label1", 10, 232, 180, 118, 0, false, SS_LEFT},
        {L"Label2", 10, 349, 180, 32, 0, false, SS_LEFT},
        {L"bbOKAbout", 2, 383, 199, 25, 0, false, other},
    };
    for (const Place& p : places) {
        SCOPED_TRACE(std::string(p.name, p.name + wcslen(p.name)));
        ui::Window* w = About->control(p.name);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->parentWindow(), About);
        EXPECT_EQ(w->left(), p.x);
        EXPECT_EQ(w->top(), p.y);
        EXPECT_EQ(w->width(), p.w);
        EXPECT_EQ(w->height(), p.h);
        LOGFONTW lf{};
        GetObjectW(w->font(), sizeof lf, &lf);
        EXPECT_STREQ(lf.lfFaceName, L"MS Sans Serif");
        EXPECT_EQ(lf.lfHeight, -(p.fontPx ? p.fontPx : 11));
        EXPECT_EQ(lf.lfItalic != 0, p.italic);
        if (p.align != other) {
            EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(w->hwnd(), GWL_STYLE)) & SS_TYPEMASK, p.align);
        }
    }
    EXPECT_EQ(About->defaultButton(), About->bbOKAbout);
    EXPECT_NE(About->Image1->picture(), nullptr);
    // The maker's mark lies over the picture, so it comes first among the siblings.
    bool markFirst = false;
    for (HWND h = GetWindow(About->hwnd(), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
        if (h == About->Label6->hwnd()) {
            markFirst = true;
            break;
        }
        if (h == About->Image1->hwnd()) break;
    }
    EXPECT_TRUE(markFirst);
}

TEST_F(AboutBox, EveryTextFitsItsLabelAndIsInRussian) {
    for (const wchar_t* n : {L"Label6", L"Label5", L"Label4", L"Label3", L"Label1", L"Label2"}) {
        SCOPED_TRACE(std::string(n, n + wcslen(n)));
        ui::Window& label = *About->control(n);
        std::wstring text = label.text();
        ASSERT_FALSE(text.empty());
        EXPECT_NE(text.find_first_of(L"АБВГДЕЖЗИКЛМНОПРСТУФХЦЧШЩЭЮЯабвгдежзиклмнопрстуфхцчшщыьэюя"), std::wstring::npos);
        LONG style = GetWindowLongW(label.hwnd(), GWL_STYLE);
        bool wraps = (style & SS_TYPEMASK) != SS_LEFTNOWORDWRAP;
        ui::WindowDC dc(label.hwnd());
        ui::SelectGuard sel(dc.get(), label.font());
        RECT r{0, 0, label.width(), 0};
        DrawTextW(dc.get(), text.c_str(), -1, &r, DT_CALCRECT | DT_NOPREFIX | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
        EXPECT_LE(r.right, label.width());
        EXPECT_LE(r.bottom, label.height());
        if ((style & SS_TYPEMASK) == SS_CENTER || (style & SS_TYPEMASK) == SS_RIGHT) {
            // A centred or right-aligned line would wrap rather than be cut: it must be one line.
            RECT one{0, 0, 0, 0};
            DrawTextW(dc.get(), text.c_str(), -1, &one, DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE);
            EXPECT_LE(one.right, label.width()) << "wraps";
        }
    }
}

TEST_F(AboutBox, ThePictureIsStretchedToItsFrame) {
    // The picture is drawn small; what the frame shows covers the frame from edge to edge.
    ENHMETAHEADER head{};
    GetEnhMetaFileHeader(About->Image1->picture(), sizeof head, &head);
    int naturalW = MulDiv(head.rclFrame.right - head.rclFrame.left, head.szlDevice.cx, head.szlMillimeters.cx * 100);
    int naturalH = MulDiv(head.rclFrame.bottom - head.rclFrame.top, head.szlDevice.cy, head.szlMillimeters.cy * 100);
    EXPECT_LT(naturalW, 161 * 3 / 4);
    EXPECT_LT(naturalH, 121 * 3 / 4);

    Capture shot;
    Capture mark;
    Script script({[] { return boxUp(); }, [&] {
                       pump(100);
                       shot = captureWindow(About->Image1->hwnd());
                       mark = captureWindow(About->Label6->hwnd());
                       About->bbOKAbout->click();
                       return true;
                   },
                   [] { return !About->isModal(); }});
    MainForm->mnAboutClick();
    waitUntil([&] { return script.finished() || script.timedOut(); });
    ASSERT_TRUE(script.finished());
    ASSERT_EQ(shot.width, 161);
    ASSERT_EQ(shot.height, 121);
    const COLORREF ground = GetSysColor(COLOR_BTNFACE);
    int left = shot.width, right = -1, top = shot.height, bottom = -1;
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x)
            if (shot.at(x, y) != ground) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    EXPECT_LE(left, 161 / 20);
    EXPECT_GE(right, 161 - 161 / 20);
    EXPECT_LE(top, 121 / 20);
    EXPECT_GE(bottom, 121 - 121 / 20);
    // The maker's mark shows its dark text over the picture's corner.
    int dark = 0;
    for (COLORREF c : mark.pixels)
        if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 200) ++dark;
    EXPECT_GT(dark, 20);
}

TEST_F(AboutBox, TheTickerTextEndsWithTheButtonsFirstCaption) {
    EXPECT_EQ(AboutSet::TAbout::InitialCaption.size(), 38u);
    ASSERT_EQ(MarqueeText.size(), 91u);
    std::wstring lead = MarqueeText.substr(0, 28);
    EXPECT_EQ(lead.substr(25), L"...");
    EXPECT_NE(lead.find_first_not_of(L". "), std::wstring::npos) << "the lead-in says something";
    EXPECT_EQ(MarqueeText.substr(28, 22), std::wstring(22, L' '));
    EXPECT_EQ(MarqueeText.substr(50, 3), L"...");
    EXPECT_EQ(MarqueeText.substr(53), AboutSet::TAbout::InitialCaption);
    // Whatever ticks have passed since the start, the caption is where the ticker says.
    EXPECT_GE(MarqueePos, 0);
    EXPECT_LE(MarqueePos, 91);
    EXPECT_EQ(caption(), captionAfter(MarqueePos));
}

TEST_F(AboutBox, NinetyOneTicksBringTheCaptionBack) {
    // The real timer stays out of this: no messages run while the ticks are driven.
    const std::wstring start = caption();
    const int startPos = MarqueePos;
    std::vector<std::wstring> seen;
    int wraps = 0;
    for (int tick = 1; tick <= 2 * 91 + 1; ++tick) {
        About->Timer1Timer();
        std::wstring now = caption();
        seen.push_back(now);
        ASSERT_EQ(now.size(), 38u) << tick;
        EXPECT_EQ(MarqueePos, (startPos + tick - 1) % 91 + 1) << tick;
        EXPECT_EQ(now, captionAfter(MarqueePos)) << tick;
        EXPECT_EQ(now.substr(0, 37), (tick == 1 ? start : seen[static_cast<size_t>(tick - 2)]).substr(1)) << tick;
        if (MarqueePos == 1) {
            ++wraps;
            EXPECT_EQ(now.back(), MarqueeText.front()) << "after the last character the text starts again";
        }
    }
    EXPECT_EQ(seen[90], start);
    EXPECT_EQ(seen[181], start);
    EXPECT_NE(seen[45], start);
    EXPECT_GE(wraps, 2) << "two rounds of the text in 183 ticks";
    // Tick 92 appends the character that tick 1 appended.
    EXPECT_EQ(seen[91].back(), seen[0].back());
}

TEST_F(AboutBox, TheTimerRunsFromTheStartWhileTheBoxIsHidden) {
    EXPECT_TRUE(About->Timer1.running());
    EXPECT_EQ(About->Timer1.interval(), 150u);
    const int before = MarqueePos;
    const auto moved = [&] { return (MarqueePos - before + 91) % 91; };
    waitUntil([&] { return moved() >= 2; });
    EXPECT_FALSE(About->visible());
    EXPECT_GE(moved(), 2) << "the ticker moved while the box was hidden";
    EXPECT_EQ(caption(), captionAfter(MarqueePos));
    EXPECT_EQ(caption().size(), 38u);
}

TEST_F(AboutBox, ItsButtonClosesItAndItOpensWhereTheTickerIsNow) {
    int firstPos = -1, secondPos = -1;
    std::wstring firstCaption;
    Script first({[] { return boxUp(); }, [&] {
                      firstPos = MarqueePos;
                      firstCaption = caption();
                      click(*About->bbOKAbout);
                      return true;
                  },
                  [] { return !About->isModal(); }});
    click(*MainForm->toolbar().button(L"sbtAbout"));
    waitUntil([&] { return first.finished() || first.timedOut(); });
    EXPECT_TRUE(first.finished());
    EXPECT_FALSE(About->visible());
    EXPECT_EQ(firstCaption, captionAfter(firstPos));
    waitUntil([&] { return (MarqueePos - firstPos + 91) % 91 >= 2; });
    // The menu item opens it too; Enter presses its button.
    Script second({[] { return boxUp(); }, [&] {
                       secondPos = MarqueePos;
                       press(VK_RETURN);
                       return true;
                   },
                   [] { return !About->isModal(); }});
    MainForm->runMenuCommand(MainForm->menuId(L"mnAbout"));
    waitUntil([&] { return second.finished() || second.timedOut(); });
    EXPECT_TRUE(second.finished());
    EXPECT_FALSE(About->visible());
    EXPECT_NE(secondPos, firstPos) << "seconds apart, the box opens at another point of the ticker";
    EXPECT_TRUE(errors.empty());
}

}  // namespace
