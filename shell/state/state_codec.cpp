#include "shell/state/state_codec.h"

#include "sheets/field_captions.h"
#include "shell/state/int_parse.h"
#include "ui/cp1251.h"
#include "ui/utf8.h"

#include <algorithm>
#include <cstdio>

namespace SystemSet {

using SetReportCommon::FieldCaption;

namespace {

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

// A byte that no text typed into the window holds: a control character other than tab and
// the line ends (Ctrl+Z ends the data before this is asked).
bool IsStrayControl(unsigned char c) { return (c < 0x20 && c != '\t' && c != '\r' && c != '\n') || c == 0x7F; }

void AppendText(std::string& out, const std::string& field, const std::wstring& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t ch = text[i];
        const auto byte = ui::wideToCp1251(ch);
        // CR would split the line and Ctrl+Z would end the file on reading; any other control
        // character but tab and LF makes the reader refuse the file as no state file.
        if (!byte || ch == L'\r' || ch == L'\x1A' || IsStrayControl(*byte))
            throw EStateEncodeError(field, CodePointAt(text, i));
        out += static_cast<char>(*byte);
    }
}

// Reads the state file's bytes in order, counting its lines.
class TStateReader {
public:
    TStateReader(std::string_view bytes, bool utf8) : data_(bytes.substr(0, bytes.find('\x1A'))), utf8_(utf8) {}

    std::wstring ReadText() {
        const std::size_t end = std::min(data_.find('\r', pos_), data_.size());
        const std::string_view raw = data_.substr(pos_, end - pos_);
        std::wstring text = utf8_ ? ui::fromUtf8(raw) : ui::fromCp1251(raw);
        pos_ = end;
        SkipLineEnd();
        return text;
    }

    bool AtEnd() const { return pos_ == data_.size(); }
    // The line the next value starts on, from 1.
    std::size_t Line() const { return line_; }

    // The number of the line, or: nullopt at the end of the data; the line's text in `got`
    // where it is no number.
    std::optional<std::int32_t> ReadIndex(std::wstring& got) {
        while (pos_ < data_.size() && IsSkipped(data_[pos_])) {
            if (data_[pos_] == '\r') SkipLineEnd();
            else ++pos_;
        }
        if (pos_ == data_.size()) return std::nullopt;
        const std::size_t start = pos_;
        while (pos_ < data_.size() && !EndsNumber(data_[pos_])) ++pos_;
        const std::string_view number = data_.substr(start, pos_ - start);
        const auto value = SettingsUnit::ParseInt32(number);
        if (!value) got = utf8_ ? ui::fromUtf8(number) : ui::fromCp1251(number);
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
        ++line_;
        if (++pos_ < data_.size() && data_[pos_] == '\n') ++pos_;
    }

    std::string_view data_;
    bool utf8_;
    std::size_t pos_ = 0;
    std::size_t line_ = 1;
};

std::wstring LineOf(std::string_view data, std::size_t at) {
    return std::to_wstring(1 + std::count(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(at), '\r'));
}

// A name of a combo box after the 175 lines, ASCII letters and digits only.
bool IsFieldName(std::wstring_view name) {
    if (name.empty() || name.size() > 32) return false;
    return std::all_of(name.begin(), name.end(), [](wchar_t c) {
        return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9');
    });
}

}  // namespace

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

TDecodedState ReadState(std::string_view bytes) {
    TDecodedState out;
    if (bytes.empty()) {
        out.Problem = L"файл пуст";
        return out;
    }
    // Notepad and other editors of today save UTF-8 with a byte-order mark.
    const bool utf8 = bytes.substr(0, 3) == "\xEF\xBB\xBF";
    if (utf8) bytes.remove_prefix(3);
    const std::string_view data = bytes.substr(0, bytes.find('\x1A'));
    for (std::size_t i = 0; i < data.size(); ++i)
        if (IsStrayControl(static_cast<unsigned char>(data[i]))) {
            out.Problem = L"это не файл приложения: в строке " + LineOf(data, i) +
                          L" стоит управляющий символ (код " + std::to_wstring(static_cast<unsigned char>(data[i])) +
                          L"), какого не бывает в набранном тексте";
            return out;
        }
    if (utf8 && ui::toUtf8(ui::fromUtf8(data)) != data) {
        out.Problem = L"файл помечен как текст UTF-8, но в нём есть байты, которые не читаются как буквы";
        return out;
    }
    TStateReader reader(bytes, utf8);
    TSettings record;
    const auto& fields = StateFields();
    const auto truncated = [&](std::size_t line) {
        out.Problem = L"файл обрывается: в нём " + std::to_wstring(line - 1) + L" строк из " +
                      std::to_wstring(StateLineCount) + L" (последние не записаны или файл повреждён)";
        return out;
    };
    for (std::size_t i = 0; i < StateLineCount; ++i) {
        if (reader.AtEnd()) return truncated(reader.Line());
        if (fields[i].Kind == TStateKind::Text) {
            record.Values[i] = reader.ReadText();
            continue;
        }
        const std::size_t line = reader.Line();
        std::wstring got;
        const auto index = reader.ReadIndex(got);
        if (!index) {
            if (got.empty()) return truncated(line);
            out.Problem = L"это не файл приложения: в строке " + std::to_wstring(line) +
                          L", где должен стоять номер выбранного пункта списка (" + FieldCaption(fields[i].Name) +
                          L"), стоит «" + got.substr(0, 40) + L"»";
            return out;
        }
        record.Values[i] = *index;
    }
    while (!reader.AtEnd()) {
        const std::wstring line = reader.ReadText();
        const auto eq = line.find(L'=');
        if (eq == std::wstring::npos) continue;
        const std::wstring name = line.substr(0, eq);
        if (!IsFieldName(name)) continue;
        const auto field = FindStateField(std::string(name.begin(), name.end()));
        if (!field || fields[*field].Kind != TStateKind::Index) continue;
        if (std::get<std::int32_t>(record.Values[*field]) == -1 && eq + 1 < line.size())
            record.Typed[*field] = line.substr(eq + 1);
    }
    out.Record = std::move(record);
    return out;
}

std::optional<TSettings> DecodeState(std::string_view bytes) { return ReadState(bytes).Record; }

}  // namespace SystemSet
