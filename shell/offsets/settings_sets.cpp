// The settings dialog's millimetres, corrections and printer sets.
#include <algorithm>
#include <functional>

#include "report/model/system_display.h"
#include "sheets/offset_mm.h"
#include "shell/offsets/ini_sections.h"
#include "shell/offsets/printer_offsets.h"
#include "shell/offsets/settings_unit.h"
#include "ui/app.h"
#include "ui/error.h"
#include "ui/printer.h"
#include "ui/spin_edit.h"
#include "ui/updown.h"

namespace SettingsUnit {

using SetReportCommon::MmText;
using SetReportCommon::MmToSteps;
using SetReportCommon::ParseMm;

namespace {

constexpr int kLimit = 200;
constexpr const wchar_t* kAllPrinters = L"для всех принтеров";

// The offsets in the order of the dialog's rows.
constexpr std::int32_t TPrintOffsets::*kRowField[6] = {
    &TPrintOffsets::DeltaX1, &TPrintOffsets::DeltaY1,       &TPrintOffsets::DeltaX2,
    &TPrintOffsets::DeltaY2, &TPrintOffsets::DeltaXColumn2, &TPrintOffsets::DeltaXColumn3,
};
// Where each row's value field stands on the dialog (its group box's top plus its own).
constexpr int kRowTop[6] = {37, 62, 107, 132, 177, 202};
constexpr const wchar_t* kRowName[6] = {L"DeltaX1", L"DeltaY1", L"DeltaX2", L"DeltaY2", L"DeltaXCol2", L"DeltaXCol3"};
constexpr const wchar_t* kRowCaption[6] = {
    L"страница 1, по горизонтали", L"страница 1, по вертикали", L"страница 2, по горизонтали",
    L"страница 2, по вертикали",   L"страница 2, 2 колонка",    L"страница 2, 3 колонка",
};

// A list to choose from; its text cannot be typed over.
class SetList : public ui::ComboBox {
public:
    SetList(ui::Window& parent, const ui::ComboArgs& a) : ui::ComboBox(parent, a) {
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        if (GetComboBoxInfo(hwnd(), &info) && info.hwndItem) SendMessageW(info.hwndItem, EM_SETREADONLY, TRUE, 0);
    }
    std::function<void()> onSelect;
    bool onCommand(WORD code) override {
        if (code == CBN_SELCHANGE && onSelect) onSelect();
        return false;
    }
};

std::wstring printerItem(const std::wstring& name) { return L"принтера «" + name + L"»"; }

}  // namespace

void TSettings::buildSetControls() {
    named<ui::Label>(L"lbMmHead", *this, ui::LabelArgs{L"в мм", 158, 4, 62, 14, ui::Align::Right});
    named<ui::Label>(L"lbCorrectionHead", *this, ui::LabelArgs{L"поправка, мм", 226, 4, 100, 14});
    for (std::size_t i = 0; i < 6; ++i) {
        lbMm[i] = &named<ui::Label>(L"lbMm" + std::wstring(kRowName[i]), *this,
                                    ui::LabelArgs{L"0,00 мм", 158, kRowTop[i] + 4, 62, 14, ui::Align::Right});
        edCorrectionMm[i] =
            &named<ui::Edit>(L"edMm" + std::wstring(kRowName[i]), *this, ui::EditArgs{226, kRowTop[i], 50, 21});
    }
    lbWhose = &named<ui::Label>(L"lbWhose", *this, ui::LabelArgs{L"Чьи подстройки:", 158, 229, 168, 14});
    auto& list = named<SetList>(L"cbWhose", *this, ui::ComboArgs{158, 244, 168, 21, {kAllPrinters}});
    list.onSelect = [this, &list] { ChooseSet(list.itemIndex()); };
    cbWhose = &list;
    bbCopyCommon = &named<ui::Button>(L"bbCopyCommon", *this, ui::ButtonArgs{L"Взять общие", 158, 268, 82, 22});
    bbCopyCommon->onClick = [this] { CopyCommonSet(); };
    for (ui::UpDown* u : upDowns())
        u->onChange = [this] {
            storeFields();
            showMillimetres();
            showWhose();
        };
    choices_.push_back({});
    choices_[0].values = choices_[0].loaded = fieldValues();
    cbWhose->setItemIndex(0);
    showMillimetres();
    showWhose();
}

std::array<ui::UpDown*, 6> TSettings::upDowns() const {
    return {UpDownSetDeltaX1, UpDownSetDeltaY1, UpDownSetDeltaX2, UpDownSetDeltaY2, UpDownSetDeltaXCol2,
            UpDownSetDeltaXCol3};
}

TPrintOffsets TSettings::fieldValues() const {
    TPrintOffsets v;
    const auto u = upDowns();
    for (std::size_t i = 0; i < 6; ++i) v.*kRowField[i] = u[i]->position();
    v.FontSizeColumn3 = sedFontSizeCol3->value();
    return v;
}

void TSettings::showValues(const TPrintOffsets& v) {
    const auto u = upDowns();
    for (std::size_t i = 0; i < 6; ++i) u[i]->setPosition(v.*kRowField[i]);
    sedFontSizeCol3->setValue(v.FontSizeColumn3);
    showMillimetres();
}

void TSettings::showMillimetres() {
    const int ppi = rep::ScreenResolution();
    const auto u = upDowns();
    for (std::size_t i = 0; i < 6; ++i) lbMm[i]->setText(MmText(u[i]->position(), ppi));
}

void TSettings::showWhose() {
    const Choice& c = choices_[chosen_];
    lbWhose->setText(chosen_ == 0 ? L"Чьи подстройки:" : c.own ? L"Свои подстройки:" : L"Своих нет, показаны общие:");
    EnableWindow(bbCopyCommon->hwnd(), chosen_ != 0);
}

std::wstring TSettings::EditedPrinter() const { return choices_[chosen_].printer; }

void TSettings::storeFields() {
    const TPrintOffsets v = fieldValues();
    Choice& c = choices_[chosen_];
    // A printer without its own set prints with the common one; a change makes it its own.
    if (!c.own) {
        if (v == choices_[0].values) return;
        c.own = true;
    }
    if (v != c.values) c.changed = true;
    c.values = v;
}

void TSettings::ChooseSet(int item) {
    if (item < 0 || static_cast<std::size_t>(item) >= choices_.size()) return;
    const std::wstring& printer = choices_[static_cast<std::size_t>(item)].printer;
    if (item > 0 && !CanWritePrinterSection(printer)) {
        // Refused here, so that OK never fails on it.
        cbWhose->setItemIndex(static_cast<int>(chosen_));
        throw ui::Error(L"Для принтера «" + printer +
                        L"» нельзя завести свои подстройки: его имя нельзя записать в Blk.ini (в нём есть скобка "
                        L"или буква, которой нет в кодировке файла). Он печатает с подстройками для всех принтеров.");
    }
    storeFields();
    chosen_ = static_cast<std::size_t>(item);
    cbWhose->setItemIndex(item);
    const Choice& c = choices_[chosen_];
    showValues(c.own ? c.values : choices_[0].values);
    showWhose();
}

void TSettings::CopyCommonSet() {
    if (chosen_ == 0) return;
    Choice& c = choices_[chosen_];
    c.values = choices_[0].values;
    c.own = true;
    c.changed = true;
    showValues(c.values);
    showWhose();
}

void TSettings::loadChoices() {
    choices_.clear();
    const auto bytes = IniBytes();
    const auto sections = bytes ? ParseIni(*bytes) : std::vector<TIniSection>{};
    // A set as the sheets take it: a bad value, or one that puts no label on the paper, gives
    // the defaults, and the dialog shows those.
    auto inEffect = [&](const TIniSection* section, const std::wstring& name) {
        Choice c;
        const TOffsetSetRead read = ReadOffsetSet(section, name);
        c.problem = read.Problem;
        c.values = read.Values;
        if (c.problem.empty() && !OffsetsFitA4(c.values)) {
            c.problem = L"В файле Blk.ini подстройки раздела [" + name +
                        L"] сдвигают лист за край бумаги, и печать идёт с подстройками по умолчанию.";
            c.values = TPrintOffsets{};
        }
        c.loaded = c.values;
        return c;
    };
    if (bytes) {
        choices_.push_back(inEffect(FindIniSection(sections, L"Settings"), L"Settings"));
    } else {
        choices_.push_back({});
        choices_[0].values = choices_[0].loaded = fieldValues();
    }
    const TPrinterSets sets = IniFileExists() ? ReadPrinterOffsets() : TPrinterSets{};
    auto add = [&](const std::wstring& name, const TPrintOffsets* own) {
        for (const Choice& c : choices_)
            if (!c.printer.empty() && SameIniName(c.printer, name)) return;
        Choice c;
        if (own && bytes) {
            const TIniSection* section = FindIniSection(sections, PrinterSectionName(name));
            c = inEffect(section, section ? section->name : PrinterSectionName(name));
        } else {
            c.values = c.loaded = own ? *own : choices_[0].values;
        }
        c.printer = name;
        c.own = own != nullptr;
        choices_.push_back(c);
    };
    // The installed printers in the system's order, then those only the file knows.
    ui::TPrinter& printers = ui::applicationPrinter();
    printers.refresh();
    auto ownIn = [&](const std::wstring& name) -> const TPrintOffsets* {
        for (const auto& [n, v] : sets)
            if (SameIniName(n, name)) return &v;
        return IniFileExists() ? nullptr : OwnPrinterOffsets(name);
    };
    for (const ui::PrinterEntry& p : printers.printers()) add(p.name, ownIn(p.name));
    for (const auto& [n, v] : sets) add(n, &v);
    if (!IniFileExists())
        for (const std::wstring& n : PrintersWithOwnOffsets()) add(n, OwnPrinterOffsets(n));

    while (cbWhose->itemCount() > 0) SendMessageW(cbWhose->hwnd(), CB_DELETESTRING, 0, 0);
    cbWhose->addItem(kAllPrinters);
    for (std::size_t i = 1; i < choices_.size(); ++i) cbWhose->addItem(printerItem(choices_[i].printer));
    // The default printer's own set when it has one: that is what a preview shows.
    chosen_ = 0;
    const int def = printers.defaultIndex();
    if (def >= 0)
        for (std::size_t i = 1; i < choices_.size(); ++i)
            if (choices_[i].own && SameIniName(choices_[i].printer, printers.printers()[static_cast<std::size_t>(def)].name))
                chosen_ = i;
    cbWhose->setItemIndex(static_cast<int>(chosen_));
    for (ui::Edit* e : edCorrectionMm) e->setText(L"");
    showValues(choices_[chosen_].values);
    showWhose();
}

void TSettings::applyCorrection(std::size_t row) {
    ui::Edit& field = *edCorrectionMm[row];
    const std::wstring typed = field.text();
    if (typed.find_first_not_of(L" \t") == std::wstring::npos) return;
    const auto mm = ParseMm(typed);
    const int ppi = rep::ScreenResolution();
    if (!mm) {
        field.focus();
        throw ui::Error(L"Поправка «" + typed + L"» (" + kRowCaption[row] +
                        L") не число миллиметров. Введите, например, 1,5 или -0,8.");
    }
    ui::UpDown& u = *upDowns()[row];
    const long long next = u.position() + MmToSteps(*mm, ppi);
    if (next < -kLimit || next > kLimit) {
        field.focus();
        throw ui::Error(L"С поправкой " + typed + L" мм подстройка (" + kRowCaption[row] + L") вышла бы за пределы от " +
                        MmText(-kLimit, ppi) + L" до " + MmText(kLimit, ppi) + L".");
    }
    u.setPosition(static_cast<int>(next));
    field.setText(L"");
    storeFields();
    showMillimetres();
    showWhose();
}

void TSettings::ApplyCorrections() {
    for (std::size_t i = 0; i < 6; ++i) applyCorrection(i);
}

bool TSettings::preTranslate(MSG& msg) {
    // Enter in a correction field applies it there and leaves the dialog open.
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN)
        for (std::size_t i = 0; i < 6; ++i)
            if (GetFocus() == edCorrectionMm[i]->hwnd()) {
                ui::guarded([this, i] { applyCorrection(i); });
                return true;
            }
    return ui::Form::preTranslate(msg);
}

TPrintOffsets TSettings::toWrite(const Choice& c) const {
    TPrintOffsets v = c.values;
    for (const TOffsetKey& k : OffsetKeys())
        if (v.*k.field == std::clamp(c.loaded.*k.field, -kLimit, kLimit)) v.*k.field = c.loaded.*k.field;
    return v;
}

bool TSettings::mayWriteOver(const std::vector<const Choice*>& sets) const {
    std::wstring problems;
    for (const Choice* c : sets)
        if (!c->problem.empty()) problems += c->problem + L"\n";
    if (problems.empty()) return true;
    const std::wstring text = problems +
                              L"\nЗаписать в файл значения, которые показаны в окне, вместо всех семи значений этого "
                              L"раздела?\n«Да» — записать, «Нет» — ничего не записывать и вернуться в окно.";
    if (AskHook) return AskHook(text);
    return MessageBoxW(hwnd(), text.c_str(), ui::Application::get().title().c_str(),
                       MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

bool TSettings::writeSets() {
    storeFields();
    // The set for all printers is written as it always was when it is the one shown; a
    // printer's set alone leaves [Settings] as it is.
    const bool common = chosen_ == 0 || choices_[0].changed;
    std::vector<const Choice*> sets;
    if (common) sets.push_back(&choices_[0]);
    for (std::size_t i = 1; i < choices_.size(); ++i)
        if (choices_[i].own && (choices_[i].changed || i == chosen_)) sets.push_back(&choices_[i]);
    if (!mayWriteOver(sets)) return false;
    if (common) {
        PrintOffsets = toWrite(choices_[0]);
        if (!IniFileExists()) CreateIniStub();
        WritePrintOffsets(PrintOffsets);
        choices_[0].changed = false;
        choices_[0].problem.clear();
    }
    for (std::size_t i = 1; i < choices_.size(); ++i) {
        Choice& c = choices_[i];
        if (!c.own || (!c.changed && i != chosen_)) continue;
        WritePrinterOffsets(c.printer, toWrite(c));
        c.changed = false;
        c.problem.clear();
    }
    return true;
}

}  // namespace SettingsUnit
