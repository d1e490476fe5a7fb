#pragma once
// The application object: title, message loop, modal forms and the error box.
#include <windows.h>

#include <exception>
#include <functional>
#include <string>
#include <vector>

namespace ui {

class Form;

// The error box shows the message with a full stop appended when its last character's
// code lies above that of ".".
std::wstring errorBoxText(const std::wstring& message);

// Loads the common controls library, at the first call: hints and progress bars need it,
// the first screen does not, and under Wine loading it at start cost about 30 ms.
void useCommonControls();

class Application {
public:
    static Application& get();

    void setTitle(const std::wstring& t) { title_ = t; }
    const std::wstring& title() const { return title_; }

    // Runs the message loop until the main form is destroyed or terminate() is called.
    void run(Form& mainForm);
    void setMainForm(Form* f) { mainForm_ = f; }
    Form* mainForm() const { return mainForm_; }

    // Handles everything waiting in the queue, then returns.
    void processMessages();
    // One GetMessage round; false when WM_QUIT arrived.
    bool handleOneMessage();
    void terminate();
    bool terminated() const { return terminated_; }
    // For tests and restarts within one process.
    void resetTerminated() { terminated_ = false; }

    // Shows the error box (caption = title, error icon, OK); the program goes on.
    void showError(const std::wstring& message);
    void showException(const std::exception& e);
    // Replaces the error box, for tests that check what it would say.
    std::function<void(const std::wstring&)> errorHook;

    // Runs fn from the message loop later (after what is queued now).
    void post(std::function<void()> fn);

    // Keyboard handling of forms (tab order, default and cancel buttons, key preview).
    bool preTranslate(MSG& msg);
    void dispatch(MSG& msg);

    HINSTANCE instance() const;

private:
    Application();
    HWND postWindow();

    std::wstring title_;
    Form* mainForm_ = nullptr;
    bool terminated_ = false;
    HWND postWnd_ = nullptr;
    std::vector<std::function<void()>> posted_;
};

}  // namespace ui
