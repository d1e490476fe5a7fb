#pragma once
// Program start: the application title and the five program-wide windows.

namespace Program {

// Puts the program's parts together, before any of them is used: the preview window every
// report printer opens, the text export its save dialog offers, and the settings the sheets
// print with. Done again, it changes nothing.
void Assemble();
// Assembles the program, then creates MainForm, BlankoSheet1, BlankoSheet2, About and Settings, in this order.
void CreateForms();
// Frees them in reverse order.
void DestroyForms();
// Start to end: creates the forms, shows the main window, runs the message loop.
int Run();

}  // namespace Program
