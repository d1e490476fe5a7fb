#pragma once
// The state file: 175 lines of Windows-1251 text, one main-window field per
// line, meaning by position. Encoding and decoding only; the file itself is
// written by the caller once encoding has succeeded.
#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>

#include "sheets/supplement_fields.h"

namespace SystemSet {

using SetReportCommon::FindStateField;
using SetReportCommon::StateFields;
using SetReportCommon::StateLineCount;
using SetReportCommon::TStateField;
using SetReportCommon::TStateKind;

// A text, or the selected item index of a combo box (-1 = none).
using TStateValue = std::variant<std::wstring, std::int32_t>;

// The staging record between window and file, values in file-line order.
// A fresh record holds empty texts and zero indices (what an empty file reads as).
struct TSettings {
    std::array<TStateValue, StateLineCount> Values;
    // Text typed by hand into a combo box whose index is -1, by its line (0-based). Kept
    // after the 175 lines, as "cbMark7=зачтено", where a reader of 175 lines never looks.
    std::map<std::size_t, std::wstring> Typed;

    bool operator==(const TSettings&) const = default;

    TSettings();

    // By control name; an unknown name or one of the other kind throws std::out_of_range.
    std::wstring& Text(std::string_view field);
    const std::wstring& Text(std::string_view field) const;
    std::int32_t& Index(std::string_view field);
    std::int32_t Index(std::string_view field) const;
};

// A text holds a character that the file cannot carry.
class EStateEncodeError : public std::runtime_error {
public:
    EStateEncodeError(std::string field, char32_t codePoint);
    const std::string& Field() const { return field_; }
    char32_t CodePoint() const { return codePoint_; }
    // The user's message, naming the field as the window shows it, e.g. "Поле «Фамилия,
    // имя, отчество» содержит символ, который нельзя сохранить в файле (U+4E2D).";
    // what() holds the same text in UTF-8.
    const std::wstring& Message() const { return message_; }

private:
    std::string field_;
    char32_t codePoint_;
    std::wstring message_;
};

// The exact file bytes: each value followed by CR LF; indices in decimal; then a line
// for each typed text of a combo box whose index is -1.
// Throws EStateEncodeError for a character outside Windows-1251 and for CR and
// Ctrl+Z, which would end the line or the file early on reading.
// Throws std::logic_error if a value has the wrong kind for its line.
std::string EncodeState(const TSettings& record);

// A state file read, or why it is not one.
struct TDecodedState {
    std::optional<TSettings> Record;
    // In the secretary's words, for "Файл ... не открыт: <Problem>."; empty with a record.
    std::wstring Problem;
};

// Reads 175 values, all or nothing. Rules:
// - a file that begins with the UTF-8 byte-order mark holds UTF-8 texts; any other holds
//   Windows-1251;
// - byte 26 (Ctrl+Z) ends the data;
// - a text runs to CR (an LF right after it belongs to the line end) or the end;
//   a lone LF is part of the text;
// - an index skips blanks, tabs, CR and LF, then takes the bytes up to the first
//   blank or control character and skips the rest of that line;
// - the number is SettingsUnit::ParseInt32's syntax: optional sign, decimal
//   digits or "$" with hexadecimal digits, within 32 bits;
// - after the 175 values, a line "name=text" naming a combo box whose index is -1
//   restores the text typed into it; any other line there is ignored.
// Refused, with the reason: an empty file, one that ends before its 175th value, one with
// a control character other than tab and the line ends (no typed text holds one: random
// bytes, a report file renamed), and one with something other than a number where an
// index is due.
TDecodedState ReadState(std::string_view bytes);
// The record of ReadState, or nullopt.
std::optional<TSettings> DecodeState(std::string_view bytes);

}  // namespace SystemSet
