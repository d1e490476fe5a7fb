#pragma once
// Windows as C++ objects behind one static window procedure.
#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace ui {

class Window {
public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND hwnd() const { return hwnd_; }
    static Window* fromHandle(HWND hwnd);

    // Bounds relative to the parent's client area.
    void setBounds(int x, int y, int w, int h);
    void setPos(int x, int y);
    void setSize(int w, int h);
    RECT bounds() const;
    int left() const { return bounds().left; }
    int top() const { return bounds().top; }
    int width() const;
    int height() const;
    SIZE clientSize() const;

    void setVisible(bool v);
    bool visible() const;  // visible itself and through all its parents
    bool enabled() const;
    void setText(const std::wstring& s);
    std::wstring text() const;
    // redraw false: for a control just made, which has not been drawn yet.
    void setFont(HFONT f, bool redraw = true);
    HFONT font() const { return font_; }
    void invalidate();
    void focus();
    Window* parentWindow() const;

    // Children owned by this window, destroyed with it.
    template <class T, class... A>
    T& add(A&&... args) {
        auto p = std::make_unique<T>(std::forward<A>(args)...);
        T& ref = *p;
        owned_.push_back(std::move(p));
        return ref;
    }

    std::wstring name;  // the control's name, as the form tables give it

    // Notifications reflected from the parent to the control that sent them.
    virtual bool onCommand(WORD /*code*/) { return false; }
    virtual bool onNotify(NMHDR* /*hdr*/, LRESULT& /*result*/) { return false; }
    virtual bool onDrawItem(const DRAWITEMSTRUCT* /*dis*/) { return false; }
    virtual HBRUSH onCtlColor(HDC /*dc*/) { return nullptr; }
    virtual bool onScrollNotify(WORD /*code*/) { return false; }

protected:
    // A window of our own class, with handleMessage as its procedure.
    void createCustom(HWND parent, DWORD style, DWORD exStyle, int x, int y, int w, int h,
                      const std::wstring& text = L"", bool topLevel = false, HMENU menu = nullptr);
    // A standard control, subclassed so that handleSubclassed sees its messages first.
    void createControl(const wchar_t* cls, HWND parent, DWORD style, DWORD exStyle, int x, int y,
                       int w, int h, const std::wstring& text = L"");

    virtual LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp);
    virtual LRESULT handleSubclassed(UINT msg, WPARAM wp, LPARAM lp, bool& handled);
    LRESULT callDefault(UINT msg, WPARAM wp, LPARAM lp);

private:
    static LRESULT CALLBACK customProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK subclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    LRESULT dispatch(UINT msg, WPARAM wp, LPARAM lp);
    bool reflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    void attach(HWND hwnd);
    void detach();

    HWND hwnd_ = nullptr;
    bool custom_ = false;
    HFONT font_ = nullptr;
    std::vector<std::unique_ptr<Window>> owned_;
};

// Calls fn with every exception turned into the application's error box.
template <class F>
void guarded(F&& fn);

}  // namespace ui

#include "ui/app.h"

template <class F>
void ui::guarded(F&& fn) {
    try {
        fn();
    } catch (const std::exception& e) {
        Application::get().showException(e);
    } catch (...) {
        Application::get().showError(L"Unknown error");
    }
}
