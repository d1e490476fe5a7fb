#include "shell/about_set.h"

#include "ui/font.h"

namespace AboutSet {

TAbout* About = nullptr;

TAbout::TAbout() {
    name = L"About";
    createForm({L"О программе...", 204, 410, ui::BorderStyle::Dialog, false, false, false, true, false,
                ui::sansSerif(11)});
}

}  // namespace AboutSet
