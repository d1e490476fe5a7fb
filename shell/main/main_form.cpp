#include "shell/main/main_form.h"

#include <stdexcept>

#include "sheets/calibration_page.h"
#include "sheets/set_report.h"
#include "sheets/set_report2.h"
#include "shell/group/group_print.h"
#include "shell/group/group_sheet_dialog.h"
#include "shell/main/about_set.h"
#include "shell/main/glyphs.h"
#include "shell/main/system_set.h"
#include "shell/offsets/blank_menu.h"
#include "shell/offsets/print_offsets.h"
#include "shell/offsets/settings_unit.h"
#include "ui/app.h"
#include "ui/font.h"

namespace MainSet {

TMainForm* MainForm = nullptr;

namespace {

struct EditDef {
    const wchar_t* name;
    int x, y, w;
    const wchar_t* text;
};

// Page-1 edit boxes of the form definition, in tab order (the run-time lines and cbTrial
// take their places in the tab order in setPage1TabOrder).
const EditDef kPage1Edits[] = {
    {L"edSurName", 140, 7, 200, L""},
    {L"edName", 5, 29, 335, L""},
    {L"edBirthDay", 90, 51, 250, L""},
    {L"edTown", 412, 8, 140, L"г. Заречинск"},
    {L"edSchool1", 412, 34, 140, L"Заречинский Техникум"},
    {L"edSchool2", 412, 56, 140, L"Экономики и Права"},
    {L"edSchool3", 412, 78, 140, L"Межсоюза России"},
    {L"edSchool4", 412, 100, 140, L""},
    {L"edPrevDocum1", 245, 88, 160, L""},
    {L"edPrevDocum2", 5, 110, 400, L""},
    {L"edPrevDocum3", 5, 132, 400, L""},
    {L"edEntry1", 85, 180, 320, L"Заречинский Техникум"},
    {L"edEntry2", 5, 202, 400, L"Экономики и Права Межсоюза России"},
    {L"edEntry3", 5, 224, 400, L""},
    {L"edEndLern1", 135, 251, 270, L"Заречинском Техникуме"},
    {L"edEndLern2", 5, 273, 400, L"Экономики и Права Межсоюза России"},
    {L"edEndLern3", 5, 295, 400, L""},
    {L"edTimeLern", 244, 322, 161, L""},
    {L"edSpecial", 93, 348, 312, L""},
    {L"edSpecialicy", 93, 374, 312, L""},
    {L"edNumToDipl", 432, 171, 120, L""},
    {L"edRegNo", 412, 195, 140, L""},
    {L"edDateOut", 412, 235, 140, L""},
    {L"edPresentDate", 431, 348, 90, L""},
    {L"edQualify", 412, 417, 140, L""},
    {L"edNameDiplPrj0", 275, 620, 130, L""},
    {L"edNameDiplPrj1", 5, 642, 400, L""},
    {L"edNameDiplPrj2", 5, 664, 400, L""},
    {L"edResult1", 116, 696, 289, L""},
    {L"edResult2", 5, 718, 400, L""},
    {L"edExamen1", 265, 749, 140, L""},
    {L"edExamen2", 5, 771, 400, L""},
};

struct LabelDef {
    const wchar_t* name;
    const wchar_t* caption;
    int x, y, w, h;  // 0 x 0: sized to the caption
    ui::Align align;
    bool wrap;
    int fontPx;  // 0: the panel's font
    unsigned style;
};

const LabelDef kPage1Labels[] = {
    {L"lbFIO", L"Фамилия, имя, отчество", 7, 10, 0, 0, ui::Align::Left, false, 0, ui::Regular},
    {L"lbBirthDay", L"Дата рождения", 6, 54, 0, 0, ui::Align::Left, false, 0, ui::Regular},
    {L"lbPrevDocum",
     L"Документ о предшествующем уровне образования и наименовании учреждения, его выдавшего:", 4, 73, 264, 26,
     ui::Align::Left, true, 0, ui::Regular},
    {L"lbEnterTrial", L"Вступительные испытания", 8, 158, 0, 0, ui::Align::Left, false, 0, ui::Regular},
    {L"lbEntry", L"Поступил(а) в", 8, 182, 0, 0, ui::Align::Left, false, 0, ui::Regular},
    {L"lbEndLern", L"Завершил(а) обучение в", 8, 253, 0, 0, ui::Align::Left, false, 0, ui::Regular},
    {L"lbTimeLern", L"Нормативный срок обучения по очной форме", 8, 324, 0, 0, ui::Align::Left, false, 0,
     ui::Regular},
    {L"lbSpecial", L"Специальность", 8, 350, 0, 0, ui::Align::Left, false, 0, ui::Regular},
    {L"lbSpecialicy", L"Специализация", 8, 377, 0, 0, ui::Align::Left, false, 0, ui::Regular},
    {L"lbCourseWork", L"Курсовые проекты (работы):", 8, 402, 0, 0, ui::Align::Left, false, 0, ui::Regular},
    {L"lbPraktic", L"Практика:", 8, 514, 0, 0, ui::Align::Left, false, 0, ui::Regular},
    {L"lbNameDiplPrj", L"Выполнение дипломного проекта (работы) на тему:", 8, 626, 0, 0, ui::Align::Left, false, 0,
     ui::Regular},
    {L"lbResult", L"Результаты защиты:", 8, 697, 0, 0, ui::Align::Left, false, 0, ui::Regular},
    {L"lbExamen", L"Итоговый Государственный междисциплинарный экзамен по специальности", 8, 744, 257, 26,
     ui::Align::Left, true, 0, ui::Regular},
    {L"lbExamMore", L"Итоговые государственные экзамены:", 8, 800, 0, 0, ui::Align::Left, false, 0, ui::Regular},
    {L"lbTown", L"Город", 378, 11, 0, 0, ui::Align::Left, false, 0, ui::Regular},
    {L"lbSchool", L"Учебное заведение (построчно)", 348, 35, 61, 41, ui::Align::Right, true, 0, ui::Regular},
    {L"lbBlkToDipl1", L"Приложение", 437, 128, 0, 0, ui::Align::Left, false, 13, ui::Bold},
    {L"lbBlkToDipl2", L"к ДИПЛОМУ", 432, 144, 0, 0, ui::Align::Left, false, 16, ui::Bold},
    {L"lbNumOfDipl", L"№", 413, 174, 0, 0, ui::Align::Left, false, 13, ui::Bold},
    {L"lbRegNo", L"(регистрационный номер)", 416, 215, 0, 0, ui::Align::Left, false, 0, ui::Regular},
    {L"lbDateOut", L"(дата выдачи)", 448, 255, 0, 0, ui::Align::Left, false, 0, ui::Regular},
    {L"Label1", L"Решением Государственной аттестационной комиссии", 435, 286, 97, 52, ui::Align::Center, true, 0,
     ui::Italic},
    {L"Label2", L"от", 416, 351, 0, 0, ui::Align::Left, false, 0, ui::Regular},
    {L"Label3", L"года", 524, 351, 0, 0, ui::Align::Left, false, 0, ui::Regular},
    {L"lbQualify", L"ПРИСВОЕНА КВАЛИФИКАЦИЯ", 390, 401, 0, 0, ui::Align::Left, false, 11, ui::Regular},
    {L"lbSpec", L"по специальности", 437, 446, 0, 0, ui::Align::Left, false, 0, ui::Regular},
};

constexpr int kPanelFontPx = 12;
constexpr int kTrialTop = 156;
constexpr int kPrintTop = 1004;

}  // namespace

TMainForm::TMainForm(bool restLater)
    : openDialog_(ui::FileDialog::Kind::Open,
                  {L"Открыть состояние из...", L"Файл настроек (*.Blk)|*.Blk", L"Blk", L"Set1.Blk", true, false,
                   false}),
      saveDialog_(ui::FileDialog::Kind::Save,
                  {L"Сохранить текущее состояние как...", L"Файл настроек (*.Blk)|*.Blk", L"Blk", L"Set1.Blk", true,
                   true, false}),
      groupDialog_(ui::FileDialog::Kind::Open,
                   {L"Файлы выпускников группы", L"Файл настроек (*.Blk)|*.Blk", L"Blk", L"", true, false, true,
                    true}),
      restLater_(restLater) {
    name = L"MainForm";
    // The one main window: the state routines reach its fields from FormCreate on.
    MainForm = this;
    createForm({L"Приложение к диплому", 589, 370, ui::BorderStyle::Single, true, true, false, true, false,
                ui::sansSerif(11), menuItems()});
    buildToolbar();
    pageCtrl_ = &named<ui::PageControl>(L"PageCtrlSet", *this,
                                        ui::PageControlArgs{0, 30, 589, 340, 170, 20, ui::sansSerif(12, ui::Bold)});
    ui::Panel& sheet1 = pageCtrl_->addPage(L"Страница 1");
    ui::Panel& sheet2 = pageCtrl_->addPage(L"Страница 2");
    listControl(L"TabSheet1", sheet1);
    listControl(L"TabSheet2", sheet2);
    scroll1_ = &named<ui::ScrollBox>(L"ScrollBox1", sheet1, 0, 0, 581, 310);
    panel1_ = &scroll1_->setContent({0, 0, 560, 1040, false, ui::sansSerif(kPanelFontPx)});
    listControl(L"PanelSet1", *panel1_);
    buildPage1(true);
    FormCreate();
}

std::vector<ui::MenuItem> TMainForm::menuItems() {
    return {
        {L"mnFile", L"&Файл", nullptr,
         {
             {L"mnOpen", L"&Открыть...", [this] { mnOpenClick(); }, {}},
             {L"mnSave", L"&Сохранить...", [this] { mnSaveClick(); }, {}},
             ui::menuSeparator(L"mnLine"),
             {L"mnPrintSheet1", L"Печать 1-й страницы...", [this] { mnPrintSheet1Click(); }, {}},
             {L"mnPrintSheet2", L"Печать 2-й страницы...", [this] { mnPrintSheet2Click(); }, {}},
             {L"mnPrintGroup", L"Печать группы...", [this] { mnPrintGroupClick(); }, {}},
             {L"mnCalibration1", L"Калибровочная страница 1...", [this] { mnCalibration1Click(); }, {}},
             {L"mnCalibration2", L"Калибровочная страница 2...", [this] { mnCalibration2Click(); }, {}},
             ui::menuSeparator(L"mnLine2"),
             {L"mnExit", L"Вы&ход", [this] { mnExitClick(); }, {}},
         }},
        {L"mnSettings", L"&Настройки", [this] { mnSettingsClick(); }, {}},
        BlankMenu::Items(*this),
        {L"mnHelp", L"&?", nullptr, {{L"mnAbout", L"О программе...", [this] { mnAboutClick(); }, {}}}},
    };
}

void TMainForm::buildToolbar() {
    toolbar_ = &named<ui::ToolBar>(L"Panel", *this, ui::PanelArgs{0, 0, 589, 29, true});
    struct Tool {
        const wchar_t* name;
        int x;
        const ui::Picture& glyph;
        const wchar_t* hint;
        void (TMainForm::*handler)();
    };
    const Tool tools[] = {
        {L"sbtOpen", 3, glyphOpen(), L"Открыть настройки", &TMainForm::sbtOpenClick},
        {L"sbtSave", 28, glyphSave(), L"Сохранить настройки", &TMainForm::sbtSaveClick},
        {L"sbtSet", 87, glyphGear(), L"", &TMainForm::sbtSetClick},
        {L"sbtPrint1", 145, glyphPrint(), L"Печать первой страницы", &TMainForm::sbtPrint1Click},
        {L"sbtPrint2", 313, glyphPrint(), L"Печать второй страницы", &TMainForm::sbtPrint2Click},
        {L"sbtAbout", 390, glyphAbout(), L"О программе", &TMainForm::sbtAboutClick},
    };
    for (const Tool& t : tools) {
        auto& b = toolbar_->addButton(t.name, ui::ToolButtonArgs{t.x, 2, 25, 25, &t.glyph, t.hint});
        b.onClick = [this, h = t.handler] { (this->*h)(); };
    }
    auto& exit = named<ui::Button>(L"bbExit", *toolbar_, ui::ButtonArgs{L"Выход", 416, 2, 170, 25, &glyphNo()});
    exit.onClick = [this] { bbExitClick(); };
}

void TMainForm::buildPage1(bool firstScreen) {
    // What the scroll box shows before it is scrolled.
    const int fold = scroll1_->clientSize().cy;
    auto wanted = [&](int top) { return (top < fold) == firstScreen; };
    for (const LabelDef& d : kPage1Labels) {
        if (!wanted(d.y)) continue;
        HFONT f = d.fontPx ? ui::sansSerif(d.fontPx, d.style) : ui::sansSerif(kPanelFontPx, d.style);
        panel1_->addCaption(d.name, ui::LabelArgs{d.caption, d.x, d.y, d.w, d.h, d.align, d.wrap, true, f});
    }
    for (const EditDef& d : kPage1Edits)
        if (wanted(d.y)) named<ui::Edit>(d.name, *panel1_, ui::EditArgs{d.x, d.y, d.w, 21, d.text});
    if (wanted(kTrialTop))
        named<ui::ComboBox>(L"cbTrial", *panel1_,
                            ui::ComboArgs{152, kTrialTop, 62, 21, {TrialItems()[0], TrialItems()[1]}, 8});
    if (wanted(kPrintTop)) {
        auto& print = named<ui::Button>(L"bbPrintSheet1", *panel1_,
                                        ui::ButtonArgs{L"Печать", 418, kPrintTop, 130, 30, &glyphPrint()});
        print.onClick = [this] { bbPrintSheet1Click(); };
        setDefaultButton(&print);
    }
}

void TMainForm::createPage1RunTimeEdits() {
    struct Group {
        const wchar_t* prefix;
        int firstSlot, count, x, y, w;
    };
    const Group groups[] = {
        {L"edSpec", 1, 4, 412, 462, 140},
        {L"edCourseWork", 5, 4, 5, 418, 400},
        {L"edPraktic", 9, 4, 5, 530, 400},
        {L"edExamMore", 13, 10, 5, 815, 400},
    };
    for (const Group& g : groups)
        for (int i = 1; i <= g.count; ++i) {
            auto& e = named<ui::Edit>(g.prefix + std::to_wstring(i), *panel1_,
                                      ui::EditArgs{g.x, g.y + 22 * (i - 1), g.w, 21});
            dyn_[static_cast<size_t>(g.firstSlot + i - 1)] = &e;
        }
}

void TMainForm::setPage1TabOrder() {
    std::vector<ui::Window*> order;
    // Before the rest is made, only the first screen's fields are there.
    auto add = [&](ui::Window* w) {
        if (w) order.push_back(w);
    };
    auto put = [&](const std::wstring& n) { add(control(n)); };
    for (const wchar_t* n : {L"edSurName", L"edName", L"edBirthDay", L"edTown", L"edSchool1", L"edSchool2",
                             L"edSchool3", L"edSchool4", L"edPrevDocum1", L"edPrevDocum2", L"edPrevDocum3"})
        put(n);
    put(L"cbTrial");
    for (const wchar_t* n : {L"edEntry1", L"edEntry2", L"edEntry3", L"edEndLern1", L"edEndLern2", L"edEndLern3",
                             L"edTimeLern", L"edSpecial", L"edSpecialicy", L"edNumToDipl", L"edRegNo", L"edDateOut",
                             L"edPresentDate", L"edQualify"})
        put(n);
    for (int slot = 1; slot <= 12; ++slot) add(dyn_[static_cast<size_t>(slot)]);
    for (const wchar_t* n : {L"edNameDiplPrj0", L"edNameDiplPrj1", L"edNameDiplPrj2", L"edResult1", L"edResult2",
                             L"edExamen1", L"edExamen2"})
        put(n);
    for (int slot = 13; slot <= 22; ++slot) add(dyn_[static_cast<size_t>(slot)]);
    put(L"bbPrintSheet1");
    // One list for the window: the stops of the hidden page are skipped.
    order.insert(order.end(), page2TabOrder_.begin(), page2TabOrder_.end());
    setTabOrder(order);
}

void TMainForm::FormCreate() {
    SettingsUnit::LoadPrintOffsets();
    BlankMenu::Load(*this);
    setPage1TabOrder();
    invalidate();
    pageCtrl_->setActivePage(0);
    scroll1_->scrollTo(0);
    combo(L"cbTrial").setItemIndex(0);
    if (!restLater_) BuildRest();
}

void TMainForm::BuildRest() {
    if (restBuilt_) return;
    restBuilt_ = true;
    buildPage1(false);
    createPage1RunTimeEdits();
    // Page 2 is hidden on the first screen: its scroll box is made with the rest.
    scroll2_ = &named<ui::ScrollBox>(L"ScrollBox2", pageCtrl_->page(1), 0, 0, 581, 310);
    panel2_ = &scroll2_->setContent({0, 0, 560, 1040, false, ui::sansSerif(kPanelFontPx)});
    listControl(L"PanelSet2", *panel2_);
    buildPage2Fixed();
    buildDisciplineTable();
    setPage1TabOrder();
    scroll1_->scrollTo(0);
    scroll2_->scrollTo(0);
    markSaved();
}

void TMainForm::markSaved() { savedState_ = SystemSet::CollectState(); }

bool TMainForm::Modified() const { return SystemSet::CollectState() != savedState_; }

bool TMainForm::CanDiscardInput() {
    if (!Modified()) return true;
    const int answer = MessageBoxW(hwnd(), L"Введённые данные не сохранены. Сохранить их в файл?",
                                   ui::Application::get().title().c_str(), MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDNO) return true;
    if (answer != IDYES || !askSaveName()) return false;
    try {
        SystemSet::SaveState();
    } catch (const std::exception& e) {
        ui::Application::get().showException(e);
        return false;
    }
    currentFile_ = saveDialog_.fileName();
    markSaved();
    return true;
}

bool TMainForm::askSaveName() {
    // Another graduate's file, saved last, must not be what two Enters overwrite.
    if (!currentFile_.empty()) saveDialog_.setFileName(currentFile_);
    return saveDialog_.execute(hwnd());
}

void TMainForm::doClose() {
    if (CanDiscardInput()) ui::Form::doClose();
}

void TMainForm::showField(ui::Window& field) {
    for (int page = 0; page < pageCtrl_->pageCount(); ++page)
        if (IsChild(pageCtrl_->page(page).hwnd(), field.hwnd())) pageCtrl_->setActivePage(page);
    field.focus();
    ui::ScrollBox::scrollIntoView(field);
}

bool TMainForm::preTranslate(MSG& msg) {
    // Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+PgDn and Ctrl+PgUp turn the pages, as in any
    // window with tabs, and put the secretary into the page's first field.
    if (msg.message == WM_KEYDOWN && GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_MENU) >= 0) {
        int step = 0;
        if (msg.wParam == VK_TAB) step = GetKeyState(VK_SHIFT) < 0 ? -1 : 1;
        else if (msg.wParam == VK_NEXT) step = 1;
        else if (msg.wParam == VK_PRIOR) step = -1;
        if (step) {
            const int n = pageCtrl_->pageCount();
            pageCtrl_->setActivePage((pageCtrl_->activePage() + step + n) % n);
            (pageCtrl_->activePage() == 0 ? scroll1_ : scroll2_)->scrollTo(0);
            focusFirst();
            return true;
        }
    }
    return ui::Form::preTranslate(msg);
}

void TMainForm::comeBack() {
    if (!hwnd() || !IsWindowVisible(hwnd())) return;
    SetActiveWindow(hwnd());
    restoreFocus();
}

ui::Window* TMainForm::DynControls(int slot) const {
    if (slot < 1 || slot > kDynControlCount) return nullptr;
    return dyn_[static_cast<size_t>(slot)];
}

ui::Edit& TMainForm::edit(const std::wstring& n) const {
    auto* e = dynamic_cast<ui::Edit*>(control(n));
    if (!e) throw std::logic_error("no edit box named " + std::string(n.begin(), n.end()));
    return *e;
}

ui::ComboBox& TMainForm::combo(const std::wstring& n) const {
    auto* c = dynamic_cast<ui::ComboBox*>(control(n));
    if (!c) throw std::logic_error("no combo box named " + std::string(n.begin(), n.end()));
    return *c;
}

std::wstring TMainForm::fieldText(const std::wstring& n) const {
    ui::Window* w = control(n);
    return w ? w->text() : std::wstring();
}

void TMainForm::mnOpenClick() {
    if (!CanDiscardInput() || !openDialog_.execute(hwnd())) return;
    SystemSet::OpenStateFrom(openDialog_.fileName());
    currentFile_ = openDialog_.fileName();
    markSaved();
}

void TMainForm::mnSaveClick() {
    if (!askSaveName()) return;
    SystemSet::SaveState();
    currentFile_ = saveDialog_.fileName();
    markSaved();
}

void TMainForm::mnPrintSheet1Click() {
    SetReport::BlankoSheet1->Report1.Preview();
    comeBack();
}

void TMainForm::mnPrintSheet2Click() {
    SetReport2::BlankoSheet2->Report1.Preview();
    comeBack();
}

void TMainForm::mnCalibration1Click() {
    Calibration::TCalibrationPage page(1);
    page.Preview();
    comeBack();
}

void TMainForm::mnCalibration2Click() {
    Calibration::TCalibrationPage page(2);
    page.Preview();
    comeBack();
}

void TMainForm::mnPrintGroupClick() {
    if (!groupDialog_.execute(hwnd())) return;
    std::vector<std::wstring> files = groupDialog_.fileNames();
    if (files.size() == 1) {
        // One file chosen: the secretary may mean the whole folder it lies in.
        const std::wstring folder = files.front().substr(0, files.front().find_last_of(L"\\/"));
        std::vector<std::wstring> all = StateFilesIn(folder);
        if (all.size() > 1) {
            const std::wstring ask = L"Выбран один файл. Напечатать все файлы *.Blk из папки\n" + folder + L"\n(файлов: " +
                                     std::to_wstring(all.size()) + L")?\n\n«Да» \x2014 всю папку, "
                                     L"«Нет» \x2014 только выбранный файл.";
            const int whole = MessageBoxW(hwnd(), ask.c_str(), ui::Application::get().title().c_str(),
                                          MB_YESNOCANCEL | MB_ICONQUESTION);
            if (whole == IDCANCEL) return;
            if (whole == IDYES) files = std::move(all);
        }
    }
    const TGroupSheets sheets = TGroupSheetDialog(files.size()).Ask();
    if (sheets == TGroupSheets::None) return;
    PrintGroup(files, static_cast<int>(sheets), hwnd());
    comeBack();
}

void TMainForm::mnSettingsClick() { SettingsUnit::Settings->showModal(); }

void TMainForm::mnAboutClick() { AboutSet::About->showModal(); }

void TMainForm::mnExitClick() { close(); }

}  // namespace MainSet
