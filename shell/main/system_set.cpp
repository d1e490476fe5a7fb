#include "shell/main/system_set.h"

#include <windows.h>

#include "shell/main/discipline_table.h"
#include "shell/main/main_form.h"
#include "shell/state/state_codec.h"
#include "shell/state/state_file_io.h"
#include "ui/error.h"
#include "ui/io_error.h"

namespace SystemSet {

namespace {
MainSet::TMainForm& form() { return *MainSet::MainForm; }

std::wstring wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }

ui::Window& fieldControl(const TStateField& f) {
    ui::Window* w = f.DynSlot ? form().DynControls(f.DynSlot) : form().control(wide(f.Name));
    if (!w) throw std::logic_error("state field without a control: " + f.Name);
    return *w;
}

void apply(const TSettings& rec) {
    const auto& fields = StateFields();
    for (size_t i = 0; i < fields.size(); ++i) {
        ui::Window& w = fieldControl(fields[i]);
        if (fields[i].Kind == TStateKind::Index) {
            const auto index = std::get<std::int32_t>(rec.Values[i]);
            dynamic_cast<ui::ComboBox&>(w).setItemIndex(index);
            if (auto typed = rec.Typed.find(i); index == -1 && typed != rec.Typed.end()) w.setText(typed->second);
        } else {
            w.setText(std::get<std::wstring>(rec.Values[i]));
        }
    }
}
}  // namespace

TSettings CollectState() {
    TSettings rec;
    const auto& fields = StateFields();
    for (size_t i = 0; i < fields.size(); ++i) {
        ui::Window& w = fieldControl(fields[i]);
        if (fields[i].Kind == TStateKind::Index) {
            auto& combo = dynamic_cast<ui::ComboBox&>(w);
            int index = combo.itemIndex();
            const std::wstring text = combo.text();
            // Edited after an item was chosen: what prints is the text, not the item.
            if (index >= 0 && text != combo.item(index)) index = -1;
            // Typed exactly as an item reads: that item, which a reader of the 175 lines shows.
            for (int k = 0; index < 0 && !text.empty() && k < combo.itemCount(); ++k)
                if (combo.item(k) == text) index = k;
            rec.Values[i] = static_cast<std::int32_t>(index);
            if (index < 0 && !text.empty()) rec.Typed[i] = text;
        } else {
            rec.Values[i] = w.text();
        }
    }
    return rec;
}

SetReportCommon::TSupplement ShownOnMainWindow() {
    SetReportCommon::TSupplement shown;
    const auto& fields = StateFields();
    for (size_t i = 0; i < fields.size(); ++i) shown.Shown[i] = fieldControl(fields[i]).text();
    return shown;
}

void SaveStateTo(const std::wstring& fileName) {
    TSettings rec = CollectState();
    std::string bytes;
    try {
        bytes = EncodeState(rec);
    } catch (const EStateEncodeError& e) {
        // Where the character is, so that the secretary can mend it at once.
        if (auto line = FindStateField(e.Field())) form().showField(fieldControl(StateFields()[*line]));
        throw ui::Error(e.Message());
    }
    int code = WriteFileReplacing(fileName, bytes);
    if (code != 0) throw ui::Error(ui::IoErrorMessage(code));
}

bool LoadStateFrom(const std::wstring& fileName) {
    const TDecodedState read = ReadStateFile(fileName);
    if (!read.Record) return false;
    apply(*read.Record);
    return true;
}

void OpenStateFrom(const std::wstring& fileName) {
    const TDecodedState read = ReadStateFile(fileName);
    if (!read.Record) {
        const auto slash = fileName.find_last_of(L"\\/");
        const std::wstring name = slash == std::wstring::npos ? fileName : fileName.substr(slash + 1);
        throw ui::Error(L"Файл «" + name + L"» не открыт: " + read.Problem + L". В окне ничего не изменилось");
    }
    apply(*read.Record);
}

void SaveState() { SaveStateTo(form().SaveSetDialog().fileName()); }

void LoadState() { LoadStateFrom(form().OpenSetDialog().fileName()); }

}  // namespace SystemSet
