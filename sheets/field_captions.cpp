#include "sheets/field_captions.h"

#include <charconv>

namespace SetReportCommon {
namespace {

struct Caption {
    std::string_view prefix;  // a field name, or the name without its number
    const wchar_t* caption;
    int firstNumber;  // -1: a single field; otherwise the number of its first line
    int line = 0;     // of a single field that continues the one before it
};

// Page 1; the lines of a several-line field count from 1 as the window shows them.
constexpr Caption kPage1[] = {
    {"edSurName", L"Фамилия, имя, отчество", -1},
    {"edName", L"Фамилия, имя, отчество", -1, 2},
    {"edBirthDay", L"Дата рождения", -1},
    {"edTown", L"Город", -1},
    {"edSchool", L"Учебное заведение", 1},
    {"edPrevDocum", L"Документ о предшествующем уровне образования", 1},
    {"cbTrial", L"Вступительные испытания", -1},
    {"edEntry", L"Поступил(а) в", 1},
    {"edEndLern", L"Завершил(а) обучение в", 1},
    {"edTimeLern", L"Нормативный срок обучения по очной форме", -1},
    {"edSpecialicy", L"Специализация", -1},
    {"edSpecial", L"Специальность", -1},
    {"edNumToDipl", L"№ (номер диплома)", -1},
    {"edRegNo", L"Регистрационный номер", -1},
    {"edDateOut", L"Дата выдачи", -1},
    {"edPresentDate", L"Решением Государственной аттестационной комиссии от", -1},
    {"edQualify", L"Присвоена квалификация", -1},
    {"edSpec", L"По специальности", 1},
    {"edCourseWork", L"Курсовые проекты (работы)", 1},
    {"edPraktic", L"Практика", 1},
    {"edNameDiplPrj", L"Выполнение дипломного проекта (работы) на тему", 0},
    {"edResult", L"Результаты защиты", 1},
    {"edExamen", L"Итоговый Государственный междисциплинарный экзамен", 1},
    {"edExamMore", L"Итоговые государственные экзамены", 1},
};

// Page 2: the column headings.
constexpr Caption kPage2[] = {
    {"edDiscipline", L"Наименование дисциплин", 1},
    {"edHours", L"Количество аудиторных часов", 1},
    {"cbMark", L"Итоговая оценка", 1},
};

// The number after the prefix, or -1 when the rest is not a number.
int NumberAfter(std::string_view name, std::string_view prefix) {
    if (name.size() <= prefix.size() || name.substr(0, prefix.size()) != prefix) return -1;
    int n = -1;
    const auto rest = name.substr(prefix.size());
    auto [end, ec] = std::from_chars(rest.data(), rest.data() + rest.size(), n);
    return ec == std::errc() && end == rest.data() + rest.size() ? n : -1;
}

std::wstring Quoted(const wchar_t* caption) { return L"«" + std::wstring(caption) + L"»"; }

}  // namespace

std::wstring FieldCaption(std::string_view name) {
    for (const Caption& c : kPage1) {
        if (c.firstNumber < 0) {
            if (name == c.prefix)
                return Quoted(c.caption) + (c.line ? L", строка " + std::to_wstring(c.line) : std::wstring());
            continue;
        }
        const int n = NumberAfter(name, c.prefix);
        if (n >= 0) return Quoted(c.caption) + L", строка " + std::to_wstring(n - c.firstNumber + 1);
    }
    for (const Caption& c : kPage2) {
        const int n = NumberAfter(name, c.prefix);
        if (n >= 0) return Quoted(c.caption) + L" в строке " + std::to_wstring(n) + L" на странице 2";
    }
    return std::wstring(name.begin(), name.end());
}

}  // namespace SetReportCommon
