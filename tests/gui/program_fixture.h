#pragma once
// A test of the whole program: its forms created, the main window shown and active, and
// the error box's messages collected instead of shown.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "shell/main/main_form.h"
#include "shell/main/program.h"
#include "tests/gui/gui_util.h"

namespace guitest {

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        ui::Application::get().resetTerminated();
        ui::Application::get().errorHook = [this](const std::wstring& m) { errors.push_back(m); };
        Program::CreateForms();
        MainSet::MainForm->show();
        activate(MainSet::MainForm->hwnd());
    }
    void TearDown() override {
        Program::DestroyForms();
        ui::Application::get().errorHook = nullptr;
        ui::Application::get().resetTerminated();
        discardMessages();
    }

    std::vector<std::wstring> errors;
};

}  // namespace guitest
