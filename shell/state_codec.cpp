#include "shell/state_codec.h"

#include "shell/field_captions.h"
#include "shell/int_parse.h"
#include "ui/cp1251.h"
#include "ui/utf8.h"

#include <algorithm>
#include <cstdio>

namespace SystemSet {
namespace {

// The file's lines as groups; a group of Count > 0 is Name1..NameCount.
struct TStateGroup {
    int FirstLine;
    std::string_view Name;
    int Count;  // 0: a single fixed field named Name
    TStateKind Kind;
    int FirstDynSlot;
};

constexpr TStateKind T = TStateKind::Text;
constexpr TStateKind I = TStateKind::Index;

constexpr TStateGroup kGroups[] = {
    {1, "edTown", 0, T, 0},          {2, "edSchool1", 0, T, 0},
    {3, "edSchool2", 0, T, 0},       {4, "edSchool3", 0, T, 0},
    {5, "edSchool4", 0, T, 0},       {6, "edSurName", 0, T, 0},
    {7, "edName", 0, T, 0},          {8, "edBirthDay", 0, T, 0},
    {9, "cbTrial", 0, I, 0},         {10, "edPrevDocum1", 0, T, 0},
    {11, "edPrevDocum2", 0, T, 0},   {12, "edPrevDocum3", 0, T, 0},
    {13, "edEntry1", 0, T, 0},       {14, "edEntry2", 0, T, 0},
    {15, "edEntry3", 0, T, 0},       {16, "edNumToDipl", 0, T, 0},
    {17, "edRegNo", 0, T, 0},        {18, "edDateOut", 0, T, 0},
    {19, "edEndLern1", 0, T, 0},     {20, "edEndLern3", 0, T, 0},  // third before second
    {21, "edEndLern2", 0, T, 0},     {22, "edPresentDate", 0, T, 0},
    {23, "edTimeLern", 0, T, 0},     {24, "edSpecial", 0, T, 0},
    {25, "edSpecialicy", 0, T, 0},   {26, "edCourseWork", 4, T, 5},
    {30, "edPraktic", 4, T, 9},      {34, "edNameDiplPrj0", 0, T, 0},
    {35, "edNameDiplPrj1", 0, T, 0}, {36, "edNameDiplPrj2", 0, T, 0},
    {37, "edResult1", 0, T, 0},      {38, "edResult2", 0, T, 0},
    {39, "edExamen1", 0, T, 0},      {40, "edExamen2", 0, T, 0},
    {41, "edExamMore", 10, T, 13},   {51, "edQualify", 0, T, 0},
    {52, "edSpec", 4, T, 1},         {56, "edDiscipline", 40, T, 23},
    {96, "edHours", 40, T, 63},      {136, "cbMark", 40, I, 103},
};

constexpr bool GroupsCoverEveryLine() {
    int next = 1;
    for (const auto& g : kGroups) {
        if (g.FirstLine != next) return false;
        next += g.Count == 0 ? 1 : g.Count;
    }
    return next == static_cast<int>(StateLineCount) + 1;
}
static_assert(GroupsCoverEveryLine());

std::array<TStateField, StateLineCount> BuildFields() {
    std::array<TStateField, StateLineCount> fields;
    std::size_t line = 0;
    for (const auto& g : kGroups) {
        if (g.Count == 0) {
            fields[line++] = {std::string(g.Name), g.Kind, 0};
            continue;
        }
        for (int i = 0; i < g.Count; ++i)
            fields[line++] = {std::string(g.Name) + std::to_string(i + 1), g.Kind,
                              g.FirstDynSlot + i};
    }
    return fields;
}

std::size_t FieldOfKind(std::string_view name, TStateKind kind) {
    const auto line = FindStateField(name);
    if (!line || StateFields()[*line].Kind != kind)
        throw std::out_of_range("state file has no such field: " + std::string(name));
    return *line;
}

// Code point starting at text[i], combining a UTF-16 surrogate pair.
char32_t CodePointAt(std::wstring_view text, std::size_t i) {
    const auto u = static_cast<char32_t>(text[i]);
    if (sizeof(wchar_t) == 2 && u >= 0xD800 && u < 0xDC00 && i + 1 < text.size()) {
        const auto lo = static_cast<char32_t>(text[i + 1]);
        if (lo >= 0xDC00 && lo < 0xE000) return 0x10000 + ((u - 0xD800) << 10) + (lo - 0xDC00);
    }
    return u;
}

std::wstring BuildMessage(const std::string& field, char32_t codePoint) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "U+%04X", static_cast<unsigned>(codePoint));
    return L"Поле " + FieldCaption(field) + L" содержит символ, который нельзя сохранить в файле (" +
           std::wstring(hex, hex + std::char_traits<char>::length(hex)) + L").";
}

void AppendText(std::string& out, const std::string& field, const std::wstring& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t ch = text[i];
        const auto byte = ui::wideToCp1251(ch);
        // CR would split the line and Ctrl+Z would end the file on reading.
        if (!byte || ch == L'\r' || ch == L'\x1A') throw EStateEncodeError(field, CodePointAt(text, i));
        out += static_cast<char>(*byte);
    }
}

// Reads the state file's bytes in order.
class TStateReader {
public:
    explicit TStateReader(std::string_view bytes) : data_(bytes.substr(0, bytes.find('\x1A'))) {}

    std::wstring ReadText() {
        const std::size_t end = std::min(data_.find('\r', pos_), data_.size());
        std::wstring text = ui::fromCp1251(data_.substr(pos_, end - pos_));
        pos_ = end;
        SkipLineEnd();
        return text;
    }

    bool AtEnd() const { return pos_ == data_.size(); }

    std::optional<std::int32_t> ReadIndex() {
        while (pos_ < data_.size() && IsSkipped(data_[pos_])) ++pos_;
        if (pos_ == data_.size()) return 0;
        const std::size_t start = pos_;
        while (pos_ < data_.size() && !EndsNumber(data_[pos_])) ++pos_;
        const auto value = SettingsUnit::ParseInt32(data_.substr(start, pos_ - start));
        pos_ = std::min(data_.find('\r', pos_), data_.size());
        SkipLineEnd();
        return value;
    }

private:
    static bool IsSkipped(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
    static bool EndsNumber(char c) {
        const auto u = static_cast<unsigned char>(c);
        return u <= 0x20 || u == 0x7F;
    }
    // At a CR: step over it and an LF right after it.
    void SkipLineEnd() {
        if (pos_ == data_.size() || data_[pos_] != '\r') return;
        if (++pos_ < data_.size() && data_[pos_] == '\n') ++pos_;
    }

    std::string_view data_;
    std::size_t pos_ = 0;
};

}  // namespace

const std::array<TStateField, StateLineCount>& StateFields() {
    static const auto fields = BuildFields();
    return fields;
}

std::optional<std::size_t> FindStateField(std::string_view name) {
    const auto& fields = StateFields();
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (fields[i].Name == name) return i;
    return std::nullopt;
}

TSettings::TSettings() {
    const auto& fields = StateFields();
    for (std::size_t i = 0; i < StateLineCount; ++i) {
        if (fields[i].Kind == TStateKind::Index)
            Values[i] = std::int32_t{0};
        else
            Values[i] = std::wstring();
    }
}

std::wstring& TSettings::Text(std::string_view field) {
    return std::get<std::wstring>(Values[FieldOfKind(field, TStateKind::Text)]);
}
const std::wstring& TSettings::Text(std::string_view field) const {
    return std::get<std::wstring>(Values[FieldOfKind(field, TStateKind::Text)]);
}
std::int32_t& TSettings::Index(std::string_view field) {
    return std::get<std::int32_t>(Values[FieldOfKind(field, TStateKind::Index)]);
}
std::int32_t TSettings::Index(std::string_view field) const {
    return std::get<std::int32_t>(Values[FieldOfKind(field, TStateKind::Index)]);
}

EStateEncodeError::EStateEncodeError(std::string field, char32_t codePoint)
    : std::runtime_error(ui::toUtf8(BuildMessage(field, codePoint))),
      field_(std::move(field)),
      codePoint_(codePoint),
      message_(BuildMessage(field_, codePoint)) {}

std::string EncodeState(const TSettings& record) {
    const auto& fields = StateFields();
    std::string out;
    for (std::size_t i = 0; i < StateLineCount; ++i) {
        const auto& value = record.Values[i];
        if (fields[i].Kind == TStateKind::Text) {
            const auto* text = std::get_if<std::wstring>(&value);
            if (!text) throw std::logic_error("state field " + fields[i].Name + " must hold a text");
            AppendText(out, fields[i].Name, *text);
        } else {
            const auto* index = std::get_if<std::int32_t>(&value);
            if (!index) throw std::logic_error("state field " + fields[i].Name + " must hold an index");
            out += std::to_string(*index);
        }
        out += "\r\n";
    }
    for (const auto& [line, text] : record.Typed) {
        const auto* index = line < StateLineCount ? std::get_if<std::int32_t>(&record.Values[line]) : nullptr;
        if (!index || *index != -1 || text.empty()) continue;
        out += fields[line].Name + "=";
        AppendText(out, fields[line].Name, text);
        out += "\r\n";
    }
    return out;
}

std::optional<TSettings> DecodeState(std::string_view bytes) {
    TStateReader reader(bytes);
    TSettings record;
    const auto& fields = StateFields();
    for (std::size_t i = 0; i < StateLineCount; ++i) {
        if (fields[i].Kind == TStateKind::Text) {
            record.Values[i] = reader.ReadText();
            continue;
        }
        const auto index = reader.ReadIndex();
        if (!index) return std::nullopt;
        record.Values[i] = *index;
    }
    while (!reader.AtEnd()) {
        const std::wstring line = reader.ReadText();
        const auto eq = line.find(L'=');
        if (eq == std::wstring::npos) continue;
        const std::wstring name = line.substr(0, eq);
        if (name.empty() || name.size() > 32) continue;
        const auto field = FindStateField(std::string(name.begin(), name.end()));
        if (!field || fields[*field].Kind != TStateKind::Index) continue;
        if (std::get<std::int32_t>(record.Values[*field]) == -1 && eq + 1 < line.size())
            record.Typed[*field] = line.substr(eq + 1);
    }
    return record;
}

}  // namespace SystemSet
