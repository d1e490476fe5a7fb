#pragma once
// The about box.
#include "ui/form.h"

namespace AboutSet {

class TAbout : public ui::Form {
public:
    TAbout();
};

extern TAbout* About;

}  // namespace AboutSet
