#include "sheets/field_captions.h"
#include "shell/state/state_codec.h"
#include "ui/cp1251.h"
#include "ui/utf8.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <set>
#include <string>
#include <vector>

namespace {

using SystemSet::DecodeState;
using SystemSet::EncodeState;
using SystemSet::EStateEncodeError;
using SystemSet::StateFields;
using SystemSet::StateLineCount;
using SystemSet::TSettings;
using SystemSet::TStateKind;

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines) out += l + "\r\n";
    return out;
}

// A file whose index lines hold "0" and whose text lines hold what fill gives.
template <class Fill>
std::vector<std::string> LinesWith(Fill fill) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < StateLineCount; ++i)
        lines.push_back(StateFields()[i].Kind == TStateKind::Index ? "0" : fill(i));
    return lines;
}

const std::wstring& TextAt(const TSettings& r, std::size_t line) {
    return std::get<std::wstring>(r.Values[line - 1]);
}
std::int32_t IndexAt(const TSettings& r, std::size_t line) {
    return std::get<std::int32_t>(r.Values[line - 1]);
}

TEST(StateLayout, LinesFollowTheFileFormat) {
    struct Row { std::size_t line; const char* name; TStateKind kind; int slot; };
    const Row rows[] = {
        {1, "edTown", TStateKind::Text, 0},        {6, "edSurName", TStateKind::Text, 0},
        {9, "cbTrial", TStateKind::Index, 0},      {19, "edEndLern1", TStateKind::Text, 0},
        {20, "edEndLern3", TStateKind::Text, 0},   {21, "edEndLern2", TStateKind::Text, 0},
        {25, "edSpecialicy", TStateKind::Text, 0}, {26, "edCourseWork1", TStateKind::Text, 5},
        {29, "edCourseWork4", TStateKind::Text, 8}, {30, "edPraktic1", TStateKind::Text, 9},
        {33, "edPraktic4", TStateKind::Text, 12},  {34, "edNameDiplPrj0", TStateKind::Text, 0},
        {40, "edExamen2", TStateKind::Text, 0},    {41, "edExamMore1", TStateKind::Text, 13},
        {50, "edExamMore10", TStateKind::Text, 22}, {51, "edQualify", TStateKind::Text, 0},
        {52, "edSpec1", TStateKind::Text, 1},      {55, "edSpec4", TStateKind::Text, 4},
        {56, "edDiscipline1", TStateKind::Text, 23}, {95, "edDiscipline40", TStateKind::Text, 62},
        {96, "edHours1", TStateKind::Text, 63},    {135, "edHours40", TStateKind::Text, 102},
        {136, "cbMark1", TStateKind::Index, 103},  {175, "cbMark40", TStateKind::Index, 142},
    };
    for (const auto& r : rows) {
        const auto& f = StateFields()[r.line - 1];
        EXPECT_EQ(f.Name, r.name) << r.line;
        EXPECT_EQ(f.Kind, r.kind) << r.line;
        EXPECT_EQ(f.DynSlot, r.slot) << r.line;
        EXPECT_EQ(SystemSet::FindStateField(r.name), r.line - 1);
    }
    std::set<std::string> names;
    std::vector<std::size_t> indexLines;
    for (std::size_t i = 0; i < StateLineCount; ++i) {
        names.insert(StateFields()[i].Name);
        if (StateFields()[i].Kind == TStateKind::Index) indexLines.push_back(i + 1);
    }
    EXPECT_EQ(names.size(), StateLineCount);
    std::vector<std::size_t> expected = {9};
    for (std::size_t l = 136; l <= 175; ++l) expected.push_back(l);
    EXPECT_EQ(indexLines, expected);
    EXPECT_EQ(SystemSet::FindStateField("edNope"), std::nullopt);
}

TEST(StateRecord, AccessByNameChecksTheKind) {
    TSettings r;
    r.Text("edSurName") = L"Иванов";
    r.Index("cbMark3") = 7;
    EXPECT_EQ(TextAt(r, 6), L"Иванов");
    EXPECT_EQ(IndexAt(r, 138), 7);
    EXPECT_THROW(r.Text("cbTrial"), std::out_of_range);
    EXPECT_THROW(r.Index("edTown"), std::out_of_range);
    EXPECT_THROW(r.Text("edUnknown"), std::out_of_range);
}

// A window saved right after start.
TEST(StateEncode, FreshWindowGivesTheDocumentedLines) {
    TSettings r;
    r.Text("edTown") = L"г. Заречинск";
    r.Text("edSchool1") = L"Заречинский Техникум";
    r.Text("edSchool2") = L"Экономики и Права";
    r.Text("edSchool3") = L"Межсоюза России";
    r.Index("cbTrial") = 0;
    r.Text("edEntry1") = L"Заречинский Техникум";
    r.Text("edEntry2") = L"Экономики и Права Межсоюза России";
    r.Text("edEndLern1") = L"Заречинском Техникуме";
    r.Text("edEndLern2") = L"Экономики и Права Межсоюза России";
    for (int i = 1; i <= 40; ++i) r.Index("cbMark" + std::to_string(i)) = -1;

    // Windows-1251 bytes written out by hand.
    const std::string town = "\xE3. \xC7\xE0\xF0\xE5\xF7\xE8\xED\xF1\xEA";
    const std::string school1 = "\xC7\xE0\xF0\xE5\xF7\xE8\xED\xF1\xEA\xE8\xE9 \xD2\xE5\xF5\xED\xE8\xEA\xF3\xEC";
    const std::string school2 = "\xDD\xEA\xEE\xED\xEE\xEC\xE8\xEA\xE8 \xE8 \xCF\xF0\xE0\xE2\xE0";
    const std::string school3 = "\xCC\xE5\xE6\xF1\xEE\xFE\xE7\xE0 \xD0\xEE\xF1\xF1\xE8\xE8";
    const std::string full = school2 + " " + school3;
    const std::string endLern1 =
        "\xC7\xE0\xF0\xE5\xF7\xE8\xED\xF1\xEA\xEE\xEC \xD2\xE5\xF5\xED\xE8\xEA\xF3\xEC\xE5";

    std::vector<std::string> lines(176);  // 1-based
    lines[1] = town;
    lines[2] = school1;
    lines[3] = school2;
    lines[4] = school3;
    lines[9] = "0";
    lines[13] = school1;
    lines[14] = full;
    lines[19] = endLern1;
    lines[21] = full;
    for (int l = 136; l <= 175; ++l) lines[l] = "-1";
    std::string expected;
    for (int l = 1; l <= 175; ++l) expected += lines[l] + "\r\n";

    EXPECT_EQ(EncodeState(r), expected);
}

TEST(StateEncode, IndicesInDecimal) {
    struct Case { std::int32_t value; const char* text; };
    const Case cases[] = {{0, "0"}, {1, "1"}, {12, "12"}, {-1, "-1"},
                          {std::numeric_limits<std::int32_t>::min(), "-2147483648"},
                          {std::numeric_limits<std::int32_t>::max(), "2147483647"}};
    for (const auto& c : cases) {
        TSettings r;
        r.Index("cbTrial") = c.value;
        auto lines = LinesWith([](std::size_t) { return std::string(); });
        lines[8] = c.text;
        EXPECT_EQ(EncodeState(r), JoinLines(lines)) << c.text;
    }
}

TEST(StateEncode, UnsavableCharacterNamesTheFieldAsTheWindowShowsIt) {
    struct Case { const char* field; std::wstring text; char32_t codePoint; const wchar_t* hex; const wchar_t* shown; };
    const Case cases[] = {
        {"edSurName", L"Ли \u4E2D", 0x4E2D, L"U+4E2D", L"«Фамилия, имя, отчество»"},
        {"edTown", L"caf\u00E9", 0xE9, L"U+00E9", L"«Город»"},
        {"edHours40", L"\u0080", 0x80, L"U+0080", L"«Количество аудиторных часов» в строке 40 на странице 2"},
        {"edDiscipline1", L"a\rb", 0x0D, L"U+000D", L"«Наименование дисциплин» в строке 1 на странице 2"},
        {"edQualify", L"x\x1Ay", 0x1A, L"U+001A", L"«Присвоена квалификация»"},
        {"edQualify", L"x\x01y", 0x01, L"U+0001", L"«Присвоена квалификация»"},
        {"edExamMore10", L"\U0001F600", 0x1F600, L"U+1F600", L"«Итоговые государственные экзамены», строка 10"},
    };
    for (const auto& c : cases) {
        TSettings r;
        r.Text(c.field) = c.text;
        try {
            (void)EncodeState(r);
            ADD_FAILURE() << c.field << " encoded";
        } catch (const EStateEncodeError& e) {
            EXPECT_EQ(e.Field(), c.field);
            EXPECT_EQ(e.CodePoint(), c.codePoint);
            const std::wstring expected = L"Поле " + std::wstring(c.shown) + L" содержит символ, который нельзя сохранить в файле (" + c.hex + L").";
            EXPECT_EQ(e.Message(), expected);
        }
    }
}

TEST(StateEncode, MessageInUtf8) {
    TSettings r;
    r.Text("edSurName") = L"\u4E2D";
    try {
        (void)EncodeState(r);
        FAIL();
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(),
                     "\xD0\x9F\xD0\xBE\xD0\xBB\xD0\xB5 \xC2\xAB\xD0\xA4\xD0\xB0\xD0\xBC\xD0\xB8\xD0\xBB\xD0\xB8\xD1\x8F, "
                     "\xD0\xB8\xD0\xBC\xD1\x8F, \xD0\xBE\xD1\x82\xD1\x87\xD0\xB5\xD1\x81\xD1\x82\xD0\xB2\xD0\xBE\xC2\xBB \xD1\x81\xD0\xBE\xD0\xB4\xD0\xB5\xD1\x80"
                     "\xD0\xB6\xD0\xB8\xD1\x82 \xD1\x81\xD0\xB8\xD0\xBC\xD0\xB2\xD0\xBE\xD0\xBB, "
                     "\xD0\xBA\xD0\xBE\xD1\x82\xD0\xBE\xD1\x80\xD1\x8B\xD0\xB9 \xD0\xBD\xD0\xB5\xD0\xBB"
                     "\xD1\x8C\xD0\xB7\xD1\x8F \xD1\x81\xD0\xBE\xD1\x85\xD1\x80\xD0\xB0\xD0\xBD\xD0\xB8"
                     "\xD1\x82\xD1\x8C \xD0\xB2 \xD1\x84\xD0\xB0\xD0\xB9\xD0\xBB\xD0\xB5 (U+4E2D).");
    }
}

TEST(StateEncode, WrongKindIsAProgrammingError) {
    TSettings r;
    r.Values[0] = std::int32_t{3};
    EXPECT_THROW((void)EncodeState(r), std::logic_error);
    TSettings s;
    s.Values[8] = std::wstring(L"0");
    EXPECT_THROW((void)EncodeState(s), std::logic_error);
}

TEST(StateRoundTrip, EveryTextAndIndex) {
    // Every Windows-1251 character a typed text can hold, spread over the texts: no control
    // character but tab and LF.
    std::wstring pool = L"\t\n";
    for (int b = 0x20; b < 0x7F; ++b) pool += static_cast<wchar_t>(b);
    pool += L"ЂЃ‚ѓ„…†‡€‰Љ‹ЊЌЋЏђ‘’“”•–—\u0098™љ›њќћџ\u00A0ЎўЈ¤Ґ¦§Ё©Є«¬\u00AD®Ї°±Ііґµ¶·ё№є»јЅѕї";
    pool += L"АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдежзийклмнопрстуфхцчшщъыьэюя";

    const std::wstring edgeTexts[] = {L"", L"  leading", L"trailing  ", L"  both  ", L" ",
                                     L"Иванов Пётр", L"a\nb", L"\n", L"№ 12", L"\t5"};
    TSettings r;
    std::int32_t indices[] = {-1, 0, 1, 12, 11, std::numeric_limits<std::int32_t>::min(),
                              std::numeric_limits<std::int32_t>::max(), 5};
    std::size_t text = 0, index = 0;
    for (std::size_t i = 0; i < StateLineCount; ++i) {
        if (StateFields()[i].Kind == TStateKind::Index) {
            r.Values[i] = indices[index++ % std::size(indices)];
        } else if (text < std::size(edgeTexts)) {
            r.Values[i] = edgeTexts[text++];
        } else {
            const std::size_t k = text++ * 7 % pool.size();
            r.Values[i] = pool.substr(k, 11) + std::to_wstring(i);
        }
    }
    const std::string bytes = EncodeState(r);
    const auto back = DecodeState(bytes);
    ASSERT_TRUE(back.has_value());
    for (std::size_t i = 0; i < StateLineCount; ++i)
        EXPECT_EQ(back->Values[i], r.Values[i]) << StateFields()[i].Name;
    EXPECT_EQ(EncodeState(*back), bytes);
}

// Eight texts, then line 9 (cbTrial) from `nine`, then texts named by their line.
std::string WithIndexLine(const std::string& nine) {
    std::string out;
    for (int l = 1; l <= 8; ++l) out += "t" + std::to_string(l) + "\r\n";
    out += nine;
    for (int l = 10; l <= 12; ++l) out += "t" + std::to_string(l) + "\r\n";
    return out;
}

// The bytes, then enough lines of "0" to complete the 175 values whatever came before.
std::string Padded(const std::string& bytes) {
    std::string out = bytes;
    for (std::size_t i = 0; i < StateLineCount; ++i) out += "0\r\n";
    return out;
}

TEST(StateDecode, AFileThatIsNoWholeStateFileIsRefusedWithItsReason) {
    const std::string whole = EncodeState(TSettings{});
    std::string hundred;
    for (int l = 0, at = 0; l < 100; ++l) {
        const auto end = whole.find("\r\n", static_cast<std::size_t>(at)) + 2;
        hundred += whole.substr(static_cast<std::size_t>(at), end - static_cast<std::size_t>(at));
        at = static_cast<int>(end);
    }
    struct Case { std::string bytes; std::wstring reason; };
    const Case cases[] = {
        {"", L"файл пуст"},
        {"\r\n", L"файл обрывается: в нём 1 строк из 175"},
        {"\x1A" "garbage", L"файл обрывается: в нём 0 строк из 175"},
        {hundred, L"файл обрывается: в нём 100 строк из 175"},
        {whole.substr(0, whole.size() - 4), L"файл обрывается: в нём 174 строк из 175"},
        {Padded("ab\x1A" "cd\r\n"), L"файл обрывается"},  // Ctrl+Z ends the data
        {Padded(std::string("a\r\nb\0c\r\n", 8)), L"в строке 2 стоит управляющий символ (код 0)"},
        {Padded("\x01\x02\x03"), L"управляющий символ (код 1)"},
        {Padded(WithIndexLine("1\x7Fjunk\r\n")), L"в строке 9 стоит управляющий символ (код 127)"},
        {"\xEF\xBB\xBF" + Padded("\xC8\xE2\r\n"), L"UTF-8"},
        {Padded(WithIndexLine("abc\r\n")), L"в строке 9, где должен стоять номер выбранного пункта списка («"},
    };
    for (const auto& c : cases) {
        const auto r = SystemSet::ReadState(c.bytes);
        EXPECT_FALSE(r.Record.has_value()) << c.bytes.substr(0, 40);
        EXPECT_NE(r.Problem.find(c.reason), std::wstring::npos) << ui::toUtf8(r.Problem);
    }
    EXPECT_TRUE(SystemSet::ReadState(whole).Record.has_value());
    // The last value may end the file without its line end.
    EXPECT_TRUE(SystemSet::ReadState(whole.substr(0, whole.size() - 2)).Record.has_value());
}

TEST(StateDecode, AFileInUtf8WithItsByteOrderMarkReadsAsUtf8) {
    TSettings r;
    r.Text("edSurName") = L"Иванова-Петрова «Мария»";
    r.Text("edDiscipline3") = L"Физика №1";
    r.Index("cbMark3") = 2;
    const std::string bytes = "\xEF\xBB\xBF" + ui::toUtf8(ui::fromCp1251(EncodeState(r)));
    const auto back = SystemSet::ReadState(bytes);
    ASSERT_TRUE(back.Record.has_value()) << ui::toUtf8(back.Problem);
    EXPECT_EQ(*back.Record, r);
}

TEST(StateDecode, TextLineEnds) {
    struct Case { std::string bytes; std::vector<std::wstring> texts; };
    const Case cases[] = {
        {"a\nb\r\nc\r\n", {L"a\nb", L"c"}},        // a lone LF stays in the text
        {"a\rb\r\n", {L"a", L"b"}},                // CR alone ends a line
        {"a\r\r\nb\r\n", {L"a", L"", L"b"}},       // the LF belongs to the second CR only
        {"a\r\n\nb\r\n", {L"a", L"\nb"}},          // one LF per CR
        {"  x  \r\n\t\r\n", {L"  x  ", L"\t"}},    // blanks are part of the value
        {"\xC8\xE2\xE0\xED\xEE\xE2\r\n\xB9\x98\r\n", {L"Иванов", L"№\u0098"}},
    };
    for (const auto& c : cases) {
        const auto r = DecodeState(Padded(c.bytes));
        ASSERT_TRUE(r.has_value());
        for (std::size_t i = 0; i < c.texts.size(); ++i) EXPECT_EQ(TextAt(*r, i + 1), c.texts[i]) << i;
    }
}

TEST(StateDecode, IndexReading) {
    struct Case { std::string nine; std::int32_t value; std::wstring line10; };
    const Case cases[] = {
        {"1\r\n", 1, L"t10"},
        {"-1\r\n", -1, L"t10"},
        {"+12\r\n", 12, L"t10"},
        {"007\r\n", 7, L"t10"},
        {"$C\r\n", 12, L"t10"},
        {"  \t5\r\n", 5, L"t10"},
        {"1 junk here\r\n", 1, L"t10"},            // rest of the line skipped
        {"1\tjunk\r\n", 1, L"t10"},
        {"1\njunk\r\n", 1, L"t10"},                // lone LF ends the number, not the line
        {"1\r", 1, L"t10"},                        // CR without LF
        {"\r\n\r\n  \r\n1\r\n", 1, L"t10"},        // empty lines before the number
    };
    for (const auto& c : cases) {
        const auto r = DecodeState(Padded(WithIndexLine(c.nine)));
        ASSERT_TRUE(r.has_value()) << c.nine;
        EXPECT_EQ(IndexAt(*r, 9), c.value) << c.nine;
        EXPECT_EQ(TextAt(*r, 10), c.line10) << c.nine;
        EXPECT_EQ(TextAt(*r, 8), L"t8");
    }
}

TEST(StateDecode, EmptyIndexLineTakesTheNextNonEmptyLine) {
    std::string bytes;
    for (int l = 1; l <= 8; ++l) bytes += "t\r\n";
    bytes += "\r\n1\r\nafter\r\n";  // line 9 empty: its number is on line 10
    const auto r = DecodeState(Padded(bytes));
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(IndexAt(*r, 9), 1);
    EXPECT_EQ(TextAt(*r, 10), L"after");

    EXPECT_EQ(DecodeState(Padded(WithIndexLine("\r\n"))), std::nullopt);  // next line is "t10"
}

TEST(StateDecode, NotAnIntegerFails) {
    const std::string cases[] = {
        "abc\r\n", "1x\r\n", "x1\r\n", "1.5\r\n", "- 1\r\n", "-\r\n", "$\r\n", "$G\r\n",
        "2147483648\r\n", "-2147483649\r\n", "99999999999999999999\r\n",
        "\x0C" "1\r\n",        // a control character other than blank, tab or line end
        "\xC0\r\n",            // a letter
        "1\xA0\r\n",           // no-break space is not a blank
    };
    for (const auto& nine : cases) EXPECT_EQ(DecodeState(Padded(WithIndexLine(nine))), std::nullopt) << nine;
}

TEST(StateDecode, GradeLines) {
    auto lines = LinesWith([](std::size_t) { return std::string(); });
    lines[135] = "11";
    lines[136] = "12";
    lines[174] = "-1";
    const auto r = DecodeState(JoinLines(lines) + "extra\r\nlines\r\n");
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(r->Index("cbMark1"), 11);
    EXPECT_EQ(r->Index("cbMark2"), 12);
    EXPECT_EQ(r->Index("cbMark40"), -1);
    EXPECT_EQ(r->Index("cbMark3"), 0);
}

}  // namespace

namespace {

TEST(StateTyped, TextTypedIntoAComboBoxIsKeptAfterTheLinesAnOlderReaderTakes) {
    TSettings r;
    r.Index("cbTrial") = -1;
    r.Typed[8] = L"прошел \u2713";  // not in Windows-1251: refused like any other text
    EXPECT_THROW((void)EncodeState(r), EStateEncodeError);
    r.Typed[8] = L"прошел успешно";
    const auto mark3 = *SystemSet::FindStateField("cbMark3"), mark4 = *SystemSet::FindStateField("cbMark4");
    r.Values[mark3] = std::int32_t{-1};
    r.Typed[mark3] = L"зачтено = 5";
    r.Values[mark4] = std::int32_t{2};
    r.Typed[mark4] = L"not written: the index counts";
    TSettings plain = r;
    plain.Typed.clear();

    const std::string bytes = EncodeState(r);
    const std::string lines175 = EncodeState(plain);
    ASSERT_EQ(bytes.substr(0, lines175.size()), lines175) << "the 175 lines are as before";
    EXPECT_EQ(bytes.substr(lines175.size()),
              "cbTrial=\xEF\xF0\xEE\xF8\xE5\xEB \xF3\xF1\xEF\xE5\xF8\xED\xEE\r\n"
              "cbMark3=\xE7\xE0\xF7\xF2\xE5\xED\xEE = 5\r\n");

    const auto back = DecodeState(bytes);
    ASSERT_TRUE(back.has_value());
    r.Typed.erase(mark4);
    EXPECT_EQ(*back, r);
    EXPECT_EQ(*DecodeState(lines175), plain) << "a file without them loads as before";

    // Lines there that name no combo box, or one with an index, are passed over.
    // "cbMark\xE3" (a Cyrillic letter, which narrowing would make "cbMark3") names none.
    const auto odd = DecodeState(lines175 + "edTown=x\r\ncbMark4=y\r\nnonsense\r\ncbMark99=z\r\n=\r\ncbTrial=\r\n"
                                            "cbMark\xE3=u\r\ncbMark3=v\r\n\x1A" "cbTrial=w");
    ASSERT_TRUE(odd.has_value());
    EXPECT_EQ(odd->Typed, (std::map<std::size_t, std::wstring>{{mark3, L"v"}}));
}

TEST(FieldCaptions, NameFieldsAsTheWindowShowsThem) {
    const std::pair<const char*, const wchar_t*> cases[] = {
        {"edName", L"«Фамилия, имя, отчество», строка 2"},
        {"edSchool3", L"«Учебное заведение», строка 3"},
        {"edSpecial", L"«Специальность»"},
        {"edSpecialicy", L"«Специализация»"},
        {"edSpec2", L"«По специальности», строка 2"},
        {"edNameDiplPrj0", L"«Выполнение дипломного проекта (работы) на тему», строка 1"},
        {"edExamen2", L"«Итоговый Государственный междисциплинарный экзамен», строка 2"},
        {"cbTrial", L"«Вступительные испытания»"},
        {"cbMark7", L"«Итоговая оценка» в строке 7 на странице 2"},
    };
    for (const auto& [field, shown] : cases) EXPECT_EQ(SetReportCommon::FieldCaption(field), shown) << field;
    for (const auto& f : StateFields()) EXPECT_EQ(SetReportCommon::FieldCaption(f.Name)[0], L'«') << f.Name;
}

}  // namespace
