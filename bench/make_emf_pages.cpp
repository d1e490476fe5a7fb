// Records sample report pages with GDI, as the supplement sheets fill them, and writes
// each as page_<n>.emf for the benchmarks:
//
//   make_emf_pages <folder>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "ui/handles.h"
#include "ui/metafile.h"
#include "ui/utf8.h"

namespace {

constexpr int kPageWidthPx = 794;  // A4 at 96 pixels per inch
constexpr int kPageHeightPx = 1123;

struct Label {
    int x, y;
    int points;
    bool bold;
    bool filled;  // a label that is not transparent fills its box first
    std::wstring text;
};

const wchar_t* const kSurnames[] = {L"Иванов", L"Петрова", L"Сидоренко", L"Кузнецов"};
const wchar_t* const kNames[] = {L"Пётр Сергеевич", L"Анна Викторовна", L"Олег Иванович",
                                 L"Мария Андреевна"};
const wchar_t* const kDisciplines[] = {
    L"Основы философии", L"История", L"Иностранный язык", L"Физическая культура",
    L"Русский язык и культура речи", L"Элементы высшей математики", L"Информатика",
    L"Экологические основы природопользования", L"Инженерная графика", L"Техническая механика",
    L"Электротехника и электроника", L"Материаловедение", L"Метрология, стандартизация и сертификация",
    L"Процессы формообразования и инструменты", L"Технологическое оборудование",
    L"Технология машиностроения", L"Технологическая оснастка", L"Программирование для станков с ЧПУ",
    L"Экономика организации", L"Правовое обеспечение профессиональной деятельности",
    L"Охрана труда", L"Безопасность жизнедеятельности", L"Менеджмент",
    L"Информационные технологии в профессиональной деятельности",
    L"Автоматизированные системы управления", L"Гидравлические и пневматические системы",
    L"Основы алгоритмизации", L"Допуски и технические измерения", L"Сопротивление материалов",
    L"Детали машин", L"Теоретическая механика", L"Компьютерная графика",
    L"Основы предпринимательства", L"Документационное обеспечение управления",
    L"Психология общения", L"Математические методы", L"Статистика",
    L"Вычислительная техника", L"Электрические машины", L"Системы автоматизированного проектирования"};
const wchar_t* const kMarks[] = {L"отлично", L"хорошо", L"удовлетворительно", L"зачтено"};

// Page 1 of a supplement: the personal data, school, speciality, works and examinations.
std::vector<Label> FirstSheet(int n) {
    std::vector<Label> l;
    const int s = n % 4;
    l.push_back({90, 60, 12, true, false, kSurnames[s]});
    l.push_back({90, 84, 12, true, false, kNames[s]});
    l.push_back({90, 120, 10, false, false, std::to_wstring(3 + n) + L" мая 199" + std::to_wstring(n % 10) + L" года"});
    l.push_back({90, 150, 10, false, true, L"Аттестат о среднем (полном) общем образовании, 200" + std::to_wstring(n % 10) + L" год"});
    l.push_back({90, 186, 10, false, false, L"Вступительные испытания не предусмотрены"});
    l.push_back({90, 216, 10, false, true, L"Государственное бюджетное профессиональное образовательное учреждение"});
    l.push_back({90, 234, 10, false, true, L"«Политехнический колледж № " + std::to_wstring(10 + n) + L"»"});
    l.push_back({90, 270, 10, false, false, L"3 года 10 месяцев, очная форма обучения"});
    l.push_back({90, 300, 11, true, false, L"Техник"});
    l.push_back({90, 330, 10, false, true, L"15.02.08 Технология машиностроения"});
    l.push_back({90, 348, 10, false, true, L"базовая подготовка"});
    for (int i = 0; i < 4; ++i)
        l.push_back({90, 384 + 18 * i, 10, false, false,
                     std::wstring(kDisciplines[(i * 5 + n) % 40]) + L" — " + kMarks[(i + n) % 3]});
    for (int i = 0; i < 4; ++i)
        l.push_back({90, 470 + 18 * i, 10, false, false,
                     L"Практика: " + std::wstring(kDisciplines[(i * 7 + n + 3) % 40]) + L", " +
                         std::to_wstring(2 + i) + L" нед."});
    l.push_back({90, 560, 10, false, true,
                 L"Дипломный проект на тему «Разработка технологического процесса изготовления вала»"});
    l.push_back({90, 578, 10, false, false, kMarks[n % 3]});
    l.push_back({90, 610, 10, false, false, L"Междисциплинарный экзамен по специальности — " + std::wstring(kMarks[(n + 1) % 3])});
    for (int i = 0; i < 10; ++i)
        l.push_back({90 + (i % 2) * 330, 650 + 18 * (i / 2), 10, false, false,
                     std::wstring(kDisciplines[(i * 3 + n) % 40]) + L": " + kMarks[(i + n) % 4]});
    for (int i = 0; i < 22; ++i)
        l.push_back({90 + (i % 2) * 330, 760 + 16 * (i / 2), 10, false, i % 3 == 0,
                     std::to_wstring(i + 1) + L". " + kDisciplines[(i * 11 + n) % 40]});
    l.push_back({500, 1000, 11, false, false, L"Регистрационный номер " + std::to_wstring(1200 + n)});
    l.push_back({500, 1030, 11, false, false, L"Дата выдачи 30 июня 2024 года"});
    return l;
}

// Page 2: the discipline table, a name, its hours and its mark on every row.
std::vector<Label> SecondSheet(int n) {
    std::vector<Label> l;
    for (int i = 0; i < 40; ++i) {
        const int y = 70 + 24 * i;
        const int d = (i + n * 3) % 40;
        l.push_back({60, y, 10, false, i % 5 == 0, kDisciplines[d]});
        l.push_back({520, y, 10, false, false, std::to_wstring(32 + (d * 17) % 180)});
        l.push_back({620, y, 10, false, false, kMarks[(i + n) % 4]});
    }
    l.push_back({60, 1040, 11, true, false, L"Всего часов теоретического обучения: 4428"});
    l.push_back({60, 1064, 10, false, false, L"в том числе аудиторных часов: 2952"});
    return l;
}

void DrawPage(HDC dc, const std::vector<Label>& labels) {
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    SetTextColor(dc, RGB(0, 0, 0));
    const int ppi = GetDeviceCaps(dc, LOGPIXELSY);
    for (const Label& lb : labels) {
        ui::FontHandle font(CreateFontW(-MulDiv(lb.points, ppi, 72), 0, 0, 0,
                                        lb.bold ? FW_BOLD : FW_NORMAL, 0, 0, 0, RUSSIAN_CHARSET,
                                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                        DEFAULT_PITCH, L"Arial"));
        ui::SelectGuard useFont(dc, font.get());
        if (lb.filled) {
            SIZE size{};
            GetTextExtentPoint32W(dc, lb.text.c_str(), static_cast<int>(lb.text.size()), &size);
            ui::BrushHandle brush(CreateSolidBrush(RGB(255, 255, 255)));
            ui::PenHandle pen(CreatePen(PS_NULL, 0, 0));
            ui::SelectGuard useBrush(dc, brush.get());
            ui::SelectGuard usePen(dc, pen.get());
            Rectangle(dc, lb.x, lb.y, lb.x + size.cx + 2, lb.y + size.cy + 2);
        }
        ExtTextOutW(dc, lb.x, lb.y, 0, nullptr, lb.text.c_str(), static_cast<UINT>(lb.text.size()),
                    nullptr);
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_emf_pages <folder>\n");
        return 2;
    }
    try {
        const std::wstring folder = argv[1];
        for (int n = 1; n <= 3; ++n) {
            ui::MetafileRecorder rec(kPageWidthPx, kPageHeightPx);
            DrawPage(rec.canvas(), n % 2 ? FirstSheet(n) : SecondSheet(n));
            const ui::EnhMetaFile page = rec.close();
            const std::vector<std::uint8_t> bytes = ui::EmfBytes(page.get());
            const std::wstring name = folder + L"\\page_" + std::to_wstring(n) + L".emf";
            ui::FileHandle file(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
            DWORD put = 0;
            if (!file || !WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &put,
                                    nullptr) ||
                put != bytes.size()) {
                std::fprintf(stderr, "cannot write %s\n", ui::toUtf8(name).c_str());
                return 1;
            }
            std::printf("%s: %zu bytes\n", ui::toUtf8(name).c_str(), bytes.size());
        }
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_emf_pages: %s\n", e.what());
        return 1;
    }
}
