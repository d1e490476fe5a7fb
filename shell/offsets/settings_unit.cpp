#include "shell/offsets/settings_unit.h"

#include "shell/offsets/print_offsets.h"
#include "ui/app.h"
#include "ui/font.h"
#include "ui/picture.h"

namespace SettingsUnit {

TSettings* Settings = nullptr;

namespace {
constexpr int kLimit = 200;

// The OK button's check mark; silver, the bottom-left pixel, is the ground.
const ui::Picture& glyphOK() {
    static const ui::Picture p = ui::Picture::fromRows({
        "7777777777777777",
        "7777777777777277",
        "7777777777772A27",
        "777777777772AA27",
        "77777777772AA277",
        "7727777772AA2777",
        "72A277772AA27777",
        "72AA2772AA277777",
        "772AA22AA2777777",
        "7772AAAA27777777",
        "77772AA277777777",
        "7777722777777777",
        "7777777777777777",
        "7777777777777777",
    });
    return p;
}

// One offset row: its label, the read-only value field and the up-down joined to it.
struct OffsetRow {
    const wchar_t* label;
    const wchar_t* caption;
    const wchar_t* field;
    const wchar_t* upDown;
    int labelTop, fieldTop;
    ui::Edit* TSettings::*fieldMember;
    ui::UpDown* TSettings::*upDownMember;
};

struct Box {
    const wchar_t* name;
    const wchar_t* caption;
    int top;
    ui::Panel* TSettings::*member;
    OffsetRow rows[2];
};

const Box kBoxes[] = {
    {L"SetGroupBox1", L"для 1-ой страницы", 20, &TSettings::SetGroupBox1,
     {{L"Label2", L"По горизонтали", L"meSetDeltaX1", L"UpDownSetDeltaX1", 19, 17, &TSettings::meSetDeltaX1,
       &TSettings::UpDownSetDeltaX1},
      {L"Label3", L"По вертикали", L"meSetDeltaY1", L"UpDownSetDeltaY1", 43, 42, &TSettings::meSetDeltaY1,
       &TSettings::UpDownSetDeltaY1}}},
    {L"SetGroupBox2", L"для 2-ой страницы", 90, &TSettings::SetGroupBox2,
     {{L"Label4", L"По горизонтали", L"meSetDeltaX2", L"UpDownSetDeltaX2", 19, 17, &TSettings::meSetDeltaX2,
       &TSettings::UpDownSetDeltaX2},
      {L"Label5", L"По вертикали", L"meSetDeltaY2", L"UpDownSetDeltaY2", 43, 42, &TSettings::meSetDeltaY2,
       &TSettings::UpDownSetDeltaY2}}},
    {L"SetGroupBox3", L"Смещения на 2 странице", 160, &TSettings::SetGroupBox3,
     {{L"Label6", L"2 колонка", L"meSetDeltaXCol2", L"UpDownSetDeltaXCol2", 19, 17, &TSettings::meSetDeltaXCol2,
       &TSettings::UpDownSetDeltaXCol2},
      {L"Label7", L"3 колонка", L"meSetDeltaXCol3", L"UpDownSetDeltaXCol3", 43, 42, &TSettings::meSetDeltaXCol3,
       &TSettings::UpDownSetDeltaXCol3}}},
};
}  // namespace

TSettings::TSettings() {
    name = L"Settings";
    createForm({L"Настройки", 330, 293, ui::BorderStyle::Dialog, false, false, false, true, false,
                ui::sansSerif(11)});
    Label1 = &named<ui::Label>(L"Label1", *this,
                               ui::LabelArgs{L"Значение подстроек", 5, 1, 145, 16, ui::Align::Right, false, true,
                                             ui::sansSerif(13, ui::Italic)});
    for (const Box& b : kBoxes) {
        ui::Panel& box = named<ui::Panel>(b.name, *this, ui::PanelArgs{2, b.top, 150, 70, false, nullptr, b.caption, true});
        this->*b.member = &box;
        for (const OffsetRow& r : b.rows) {
            named<ui::Label>(r.label, box, ui::LabelArgs{r.caption, 8, r.labelTop});
            ui::Edit& field =
                named<ui::Edit>(r.field, box, ui::EditArgs{97, r.fieldTop, 30, 21, L"  0", true, ui::Align::Right});
            ui::UpDown& upDown =
                named<ui::UpDown>(r.upDown, box, ui::UpDownArgs{127, r.fieldTop, 11, 21, -kLimit, kLimit, 0, 1, false, true, 3});
            // Narrow margins: "-200" needs the field's whole width.
            SendMessageW(field.hwnd(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(1, 1));
            upDown.associate(field);
            this->*r.fieldMember = &field;
            this->*r.upDownMember = &upDown;
        }
    }
    Label8 = &named<ui::Label>(L"Label8", *this,
                               ui::LabelArgs{L"Размер шрифта 3-ей колонки", 8, 234, 86, 26, ui::Align::Left, true});
    sedFontSizeCol3 = &named<ui::SpinEdit>(L"sedFontSizeCol3", *this, ui::SpinEditArgs{102, 238, 44, 22, -kLimit, kLimit, 10, 1});
    BitBtnOK = &named<ui::Button>(L"BitBtnOK", *this, ui::ButtonArgs{L"OK", 2, 265, 150, 25, &glyphOK()});
    BitBtnOK->onClick = [this] { BitBtnOKClick(); };
    setDefaultButton(BitBtnOK);
    BitBtnCancel = &named<ui::Button>(L"BitBtnCancel", *this, ui::ButtonArgs{L"Отмена", 244, 265, 82, 25});
    BitBtnCancel->onClick = [this] { BitBtnCancelClick(); };
    setCancelButton(BitBtnCancel);
    buildSetControls();
    // The group boxes take their places in the order by their value fields, each
    // correction after its offset. «Отмена» has Esc for its key and stays out of the cycle
    // the form defines.
    setTabOrder({BitBtnOK, meSetDeltaX2, edCorrectionMm[2], meSetDeltaY2, edCorrectionMm[3], meSetDeltaX1,
                 edCorrectionMm[0], meSetDeltaY1, edCorrectionMm[1], meSetDeltaXCol2, edCorrectionMm[4],
                 meSetDeltaXCol3, edCorrectionMm[5], sedFontSizeCol3, cbWhose, bbCopyCommon});
}

void TSettings::FormActivate() {
    // The values in effect: what the sheets print with. Positions outside the up-downs'
    // range show clamped to it and are written back as they were unless moved.
    loadChoices();
    if (!IniFileExists()) CreateIniStub();
}

void TSettings::BitBtnOKClick() {
    ApplyCorrections();
    if (writeSets()) close();
}

void TSettings::BitBtnCancelClick() { close(); }

std::function<void(const std::wstring&)> IniProblemsHook;

void TellIniProblems() {
    std::wstring text;
    for (const std::wstring& p : IniProblems()) text += p + L"\n\n";
    if (text.empty()) return;
    text += L"Файл: " + IniPath() + L"\nИсправьте значение в файле или задайте подстройки заново в окне «Настройки».";
    if (IniProblemsHook) IniProblemsHook(text);
    else MessageBoxW(GetActiveWindow(), text.c_str(), ui::Application::get().title().c_str(), MB_OK | MB_ICONWARNING);
}

bool TSettings::isNewActivation(HWND previous) {
    if (justShown_) {
        justShown_ = false;
        return true;
    }
    // Only another window of the program hands over a new activation. The return from the
    // error box does not: a failing FormActivate would open its box again and again. Nor does
    // the return from another program.
    return previous && dynamic_cast<ui::Form*>(ui::Window::fromHandle(previous)) != nullptr;
}

LRESULT TSettings::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_SHOWWINDOW) justShown_ = wp != 0;
    LRESULT result = ui::Form::handleMessage(msg, wp, lp);
    if (msg == WM_ACTIVATE && LOWORD(wp) != WA_INACTIVE && isNewActivation(reinterpret_cast<HWND>(lp)))
        ui::guarded([this] { FormActivate(); });
    return result;
}

}  // namespace SettingsUnit
