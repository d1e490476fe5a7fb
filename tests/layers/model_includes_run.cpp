// Compiled as the model's own sources are: the report run lies above the model.
#include "report/run/report.h"
