#include <windows.h>

#include "shell/main/program.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return Program::Run(); }
