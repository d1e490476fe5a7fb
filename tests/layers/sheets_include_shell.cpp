// Compiled as the sheets' own sources are: the program's shell lies above the sheets.
#include "shell/offsets/print_offsets.h"
