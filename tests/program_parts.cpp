// The test programs run with the program's parts put together, as the program does at start.
#include "shell/main/program.h"

namespace {
const struct Assembled {
    Assembled() { Program::Assemble(); }
} assembled;
}  // namespace
