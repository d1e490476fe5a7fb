#pragma once
// Program start: the application title and the five program-wide windows.

namespace Program {

// Creates MainForm, BlankoSheet1, BlankoSheet2, About and Settings, in this order.
void CreateForms();
// Frees them in reverse order.
void DestroyForms();
// Start to end: creates the forms, shows the main window, runs the message loop.
int Run();

}  // namespace Program
