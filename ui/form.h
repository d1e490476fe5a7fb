#pragma once
// Top-level windows: tab order, default and cancel buttons, menus, modal showing.
#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ui/handles.h"
#include "ui/menu.h"
#include "ui/window.h"

namespace ui {

class Button;

enum class BorderStyle { Single, Dialog, Sizeable };

struct FormArgs {
    std::wstring caption;
    int clientWidth = 300;
    int clientHeight = 200;
    BorderStyle border = BorderStyle::Sizeable;
    bool systemMenu = true;
    bool minimizeBox = true;
    bool maximizeBox = true;
    bool centered = true;
    bool topMost = false;
    HFONT font = nullptr;
    // The menu bar, made with the window: set later, it would resize the window once more.
    std::vector<MenuItem> menu;
};

class Form : public Window {
public:
    Form() = default;
    ~Form() override;

    void createForm(const FormArgs& args);
    // The client size a form of these arguments has at the given outer size.
    static SIZE clientOfOuter(const FormArgs& args, int outerWidth, int outerHeight);

    void show();
    void showMaximized();
    // The client size the window will have once maximized on its monitor, worked out
    // while it is still hidden; the system may still differ.
    SIZE maximizedClientSize() const;
    void hide();
    // Shows the form modally; returns when it is closed.
    void showModal();
    bool isModal() const { return modal_; }
    // Asks the form to close, as the close box does.
    void close();

    void setTabOrder(std::vector<Window*> order) { tabOrder_ = std::move(order); }
    const std::vector<Window*>& tabOrder() const { return tabOrder_; }
    void setDefaultButton(Button* b);
    Button* defaultButton() const { return defaultButton_; }
    void setCancelButton(Button* b) { cancelButton_ = b; }
    HMENU menu() const { return menu_.get(); }
    // Runs a menu command by its item id, as a click on it does.
    bool runMenuCommand(UINT id);
    UINT menuId(const std::wstring& itemName) const;

    // A control the form made with named(), or nullptr.
    Window* control(const std::wstring& name) const;

    // Moves the focus to the next (or previous) stop of the tab order.
    void selectNext(bool forward);
    // Focuses the first stop of the tab order that can take the focus now.
    void focusFirst();
    // Gives the focus back to the control that had it when the form was last left (a
    // dialog, message box or another window took over), or to the first stop.
    void restoreFocus();
    // Keyboard handling before the focused control sees the key.
    virtual bool preTranslate(MSG& msg);


    // Key preview: every key down reaches this first (it is not consumed).
    bool keyPreview = false;
    virtual void onKeyDown(WORD /*vk*/, bool /*shift*/, bool /*ctrl*/, bool /*alt*/) {}

protected:
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    // Default: hide; the main form destroys itself, which ends the program.
    virtual void doClose();
    // Makes a child control of parent under a name that control() finds.
    template <class T, class... A>
    T& named(const std::wstring& n, Window& parent, A&&... args) {
        T& c = parent.add<T>(parent, std::forward<A>(args)...);
        c.name = n;
        listControl(n, c);
        return c;
    }
    // Lets control() find c under n; c's own name stays as it is.
    void listControl(const std::wstring& n, Window& c) { controls_[n] = &c; }

private:
    Window* tabStopOf(HWND focus) const;
    std::map<std::wstring, Window*> controls_;
    std::vector<Window*> tabOrder_;
    Button* defaultButton_ = nullptr;
    Button* cancelButton_ = nullptr;
    MenuHandle menu_;
    std::map<UINT, std::function<void()>> commands_;
    std::map<std::wstring, UINT> menuIds_;
    bool modal_ = false;
    HWND lastFocus_ = nullptr;
    SIZE wantClient_{0, 0};
    void fitClient();
};

}  // namespace ui
