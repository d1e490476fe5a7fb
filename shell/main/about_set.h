#pragma once
// The about box: picture, product name, version, credits, what the program is for, and a
// button whose caption runs like a ticker.
#include <map>
#include <string>

#include "ui/controls.h"
#include "ui/form.h"
#include "ui/image.h"
#include "ui/timer.h"

namespace AboutSet {

// The ticker: the text that runs through the button's caption, and the position in it
// (1-based) of the character appended last.
extern std::wstring MarqueeText;
extern int MarqueePos;

class TAbout : public ui::Form {
public:
    TAbout();

    // Creation handler: builds the ticker text and starts it.
    void FormCreate();
    // One tick: the caption moves left by a character and takes the next one of MarqueeText.
    void Timer1Timer();
    void bbOKAboutClick();


    ui::Image* Image1 = nullptr;
    ui::Label* Label6 = nullptr;  // the maker's mark over the picture
    ui::Label* Label5 = nullptr;
    ui::Label* Label4 = nullptr;
    ui::Label* Label3 = nullptr;
    ui::Bevel* Bevel1 = nullptr;
    ui::Label* Label1 = nullptr;
    ui::Label* Label2 = nullptr;
    ui::Button* bbOKAbout = nullptr;
    ui::Timer Timer1;

    // The button's caption as the box is made.
    static const std::wstring InitialCaption;

private:
};

extern TAbout* About;

// The picture of the box: a diploma with its supplement, a cap and a seal, drawn small.
ui::EnhMetaFile DrawPicture();

}  // namespace AboutSet
