#pragma once
// The controls this program's windows are built from. Each is created from a small
// argument struct; positions are pixels in the parent's client area.
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/picture.h"
#include "ui/tab_strip.h"
#include "ui/window.h"

namespace ui {

enum class Align { Left, Center, Right };

struct LabelArgs {
    std::wstring caption;
    int x = 0, y = 0;
    int w = 0, h = 0;  // 0 with autoSize: sized to the text
    Align align = Align::Left;
    bool wordWrap = false;
    bool transparent = true;
    HFONT font = nullptr;  // nullptr: the parent's
};

class Label : public Window {
public:
    Label(Window& parent, const LabelArgs& a);
    HBRUSH onCtlColor(HDC dc) override;

private:
    bool transparent_;
};

struct EditArgs {
    int x = 0, y = 0, w = 100, h = 21;
    std::wstring text;
    bool readOnly = false;
    Align align = Align::Left;
};

class Edit : public Window {
public:
    Edit(Window& parent, const EditArgs& a);
    HBRUSH onCtlColor(HDC dc) override;
    std::function<void()> onExit;  // the focus left the field
    bool onCommand(WORD code) override;
};

struct ComboArgs {
    int x = 0, y = 0, w = 100, h = 21;
    std::vector<std::wstring> items;
    int dropDownCount = 8;
};

// An editable combo box: a list to choose from, or free text.
class ComboBox : public Window {
public:
    ComboBox(Window& parent, const ComboArgs& a);
    void addItem(const std::wstring& s);
    int itemCount() const;
    std::wstring item(int i) const;
    int itemIndex() const;
    // -1, or an index outside the list, clears the selection and the text.
    void setItemIndex(int i);
    void setDropDownCount(int n);
    int dropDownCount() const { return dropDownCount_; }
    bool droppedDown() const;
    void showDropDown(bool show);
    // The height of the selection field (the window itself is taller by the open list).
    int fieldHeight() const;
    HBRUSH onCtlColor(HDC dc) override;

private:
    void applyDropHeight();
    int fieldHeight_;
    int dropDownCount_;
};

struct ButtonArgs {
    std::wstring caption;
    int x = 0, y = 0, w = 75, h = 25;
    const Picture* glyph = nullptr;  // picture left of the caption
};

// A push button, optionally with a picture; drawn by us so the picture keeps its transparency.
class Button : public Window {
public:
    Button(Window& parent, const ButtonArgs& a);
    std::function<void()> onClick;
    void click();
    void setDefault(bool d);
    bool isDefault() const { return default_; }
    void setGlyph(const Picture* g) {
        glyph_ = g;
        invalidate();
    }
    bool onCommand(WORD code) override;
    bool onDrawItem(const DRAWITEMSTRUCT* dis) override;

protected:
    LRESULT handleSubclassed(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

private:
    const Picture* glyph_;
    bool default_ = false;
};

struct PanelArgs {
    int x = 0, y = 0, w = 100, h = 100;
    bool bevel = false;
    HFONT font = nullptr;
    std::wstring caption;  // a group box frame with this text when groupBox is set
    bool groupBox = false;
    bool border = false;
};

// A plain container; as a group box it draws the etched frame with its caption.
class Panel : public Window {
public:
    Panel(Window& parent, const PanelArgs& a);
    explicit Panel(HWND parent, const PanelArgs& a);

    // Text drawn by the panel itself, laid out as a label would be. Under Wine a label window
    // costs about 0.7 ms to make: the main window's first screen has fourteen, and each
    // preview three.
    class Caption {
    public:
        Caption(Panel& panel, std::wstring name, std::wstring text, RECT rect, HFONT font, UINT format);
        Caption(const Caption&) = delete;
        Caption& operator=(const Caption&) = delete;
        const std::wstring name;
        const std::wstring& text() const { return text_; }
        void setText(std::wstring text);
        const RECT& rect() const { return rect_; }
        void setBounds(int x, int y, int w, int h);
        HFONT font() const { return font_; }
        UINT format() const { return format_; }  // DrawText's

    private:
        friend class Panel;
        Panel& panel_;
        std::wstring text_;
        RECT rect_;
        HFONT font_;
        UINT format_;
    };
    Caption& addCaption(const std::wstring& name, const LabelArgs& a);
    Caption* caption(const std::wstring& name) const;
    // A click on the panel, at that point of it; empty by default.
    std::function<void(POINT)> onClick;

protected:
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    // The bevel or the group box frame, and the captions.
    virtual void paint(HDC dc, const RECT& area);

private:
    void paintCaptions(HDC dc, const RECT& area) const;
    bool bevel_;
    bool groupBox_;
    std::vector<std::unique_ptr<Caption>> captions_;
};

// A bordered area with scroll bars that scrolls one larger content panel.
class ScrollBox : public Window {
public:
    ScrollBox(Window& parent, int x, int y, int w, int h);
    // The panel that scrolls; created once.
    Panel& setContent(const PanelArgs& a);
    void scrollTo(int y);
    int scrollPos() const { return pos_; }
    // Scrolls every scroll box around w so that w is in view.
    static void scrollIntoView(Window& w);

protected:
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void updateBar();
    Panel* content_ = nullptr;
    int pos_ = 0;
};

struct PageControlArgs {
    int x = 0, y = 0, w = 200, h = 200;
    int tabWidth = 0, tabHeight = 0;  // 0: as wide as the caption
    HFONT tabFont = nullptr;
};

class PageControl : public Window {
public:
    PageControl(Window& parent, const PageControlArgs& a);
    Panel& addPage(const std::wstring& caption, HFONT font = nullptr);
    int pageCount() const { return static_cast<int>(pages_.size()); }
    Panel& page(int i) const { return *pages_[static_cast<size_t>(i)]; }
    int activePage() const { return active_; }
    void setActivePage(int i);
    TabStrip& tabs() const { return *tabs_; }
    std::function<void()> onChange;

private:
    TabStrip* tabs_ = nullptr;
    std::vector<Panel*> pages_;
    int active_ = -1;
};

// A rectangle drawn with a black pen and a white brush: rules and frames.
class Shape : public Window {
public:
    Shape(Window& parent, int x, int y, int w, int h);

protected:
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
};

// A horizontal or vertical etched line.
class Bevel : public Window {
public:
    Bevel(Window& parent, int x, int y, int w, int h);

protected:
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
};

}  // namespace ui
