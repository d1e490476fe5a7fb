#include "shell/state/shown_record.h"

#include "shell/state/list_items.h"

namespace SystemSet {

SetReportCommon::TSupplement ShownFrom(const TSettings& record) {
    SetReportCommon::TSupplement shown;
    const auto& fields = StateFields();
    for (size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].Kind == TStateKind::Text) {
            shown.Shown[i] = std::get<std::wstring>(record.Values[i]);
            continue;
        }
        const auto index = std::get<std::int32_t>(record.Values[i]);
        const bool trial = fields[i].Name == "cbTrial";
        const int count = trial ? static_cast<int>(MainSet::TrialItems().size()) : MainSet::kGradeCount;
        if (index >= 0 && index < count) {
            shown.Shown[i] = trial ? MainSet::TrialItems()[static_cast<size_t>(index)]
                                   : MainSet::GradeItems()[static_cast<size_t>(index)];
        } else if (auto typed = record.Typed.find(i); index == -1 && typed != record.Typed.end()) {
            shown.Shown[i] = typed->second;
        }
    }
    return shown;
}

}  // namespace SystemSet
