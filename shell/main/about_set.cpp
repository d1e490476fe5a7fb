#include "shell/main/about_set.h"

#include "ui/font.h"
#include "ui/metafile.h"

namespace AboutSet {

TAbout* About = nullptr;
std::wstring MarqueeText;
int MarqueePos = 0;

const std::wstring TAbout::InitialCaption = L"Автор: ВЦ Заречинского техникума, 2003";

namespace {
// Its blank keeps the end of one round apart from the start of the next.
const wchar_t kLeadIn[] = L" Желаем удачных выпусков!...";

const wchar_t kCredits[] =
    L"Программа написана в 2003 году в вычислительном центре Заречинского техникума экономики и права "
    L"Межсоюза России для его учебной части.";
const wchar_t kPurpose[] =
    L"Программа облегчает секретарю учебной части заполнение приложений к дипломам. Сведения о выпускнике "
    L"вводятся в одном окне, хранятся в файле и печатаются прямо в графы бланка. Подстройки смещений "
    L"помогают попасть в графы на любом принтере,";
const wchar_t kPurposeEnd[] = L"и переписывать приложения от руки больше не нужно.";

struct PenBrush {
    ui::PenHandle pen;
    ui::BrushHandle brush;
    PenBrush(int width, COLORREF line, COLORREF fill)
        : pen(CreatePen(PS_SOLID, width, line)), brush(CreateSolidBrush(fill)) {}
};
}  // namespace

ui::EnhMetaFile DrawPicture() {
    // Drawn at half the frame's size: the image stretches it.
    ui::MetafileRecorder rec(80, 60);
    HDC dc = rec.canvas();
    {
        // The supplement behind, the diploma in front.
        PenBrush back(1, RGB(96, 96, 96), RGB(255, 250, 205));
        ui::SelectGuard p(dc, back.pen.get()), b(dc, back.brush.get());
        Rectangle(dc, 18, 12, 64, 54);
    }
    {
        PenBrush front(1, RGB(0, 0, 0), RGB(255, 255, 255));
        ui::SelectGuard p(dc, front.pen.get()), b(dc, front.brush.get());
        Rectangle(dc, 6, 18, 52, 58);
    }
    {
        ui::PenHandle title(CreatePen(PS_SOLID, 2, RGB(0, 0, 128)));
        ui::SelectGuard p(dc, title.get());
        MoveToEx(dc, 14, 24, nullptr);
        LineTo(dc, 44, 24);
    }
    {
        ui::PenHandle lines(CreatePen(PS_SOLID, 1, RGB(128, 128, 128)));
        ui::SelectGuard p(dc, lines.get());
        for (int y = 30; y <= 46; y += 4) {
            MoveToEx(dc, 10, y, nullptr);
            LineTo(dc, 48, y);
        }
    }
    {
        // The seal with its ribbons.
        PenBrush ribbon(1, RGB(0, 0, 160), RGB(0, 0, 255));
        ui::SelectGuard p(dc, ribbon.pen.get()), b(dc, ribbon.brush.get());
        const POINT left[] = {{38, 50}, {34, 60}, {40, 57}, {42, 52}};
        const POINT right[] = {{46, 52}, {48, 57}, {54, 60}, {50, 50}};
        Polygon(dc, left, 4);
        Polygon(dc, right, 4);
        PenBrush seal(1, RGB(128, 0, 0), RGB(220, 0, 0));
        ui::SelectGuard p2(dc, seal.pen.get()), b2(dc, seal.brush.get());
        Ellipse(dc, 37, 43, 51, 57);
    }
    {
        // A graduate's cap above the sheets, clear of the corner where the maker's mark sits.
        PenBrush cap(1, RGB(0, 0, 0), RGB(32, 32, 32));
        ui::SelectGuard p(dc, cap.pen.get()), b(dc, cap.brush.get());
        const POINT board[] = {{2, 8}, {18, 2}, {34, 8}, {18, 14}};
        Polygon(dc, board, 4);
        Rectangle(dc, 11, 10, 26, 17);
        ui::PenHandle tassel(CreatePen(PS_SOLID, 1, RGB(220, 160, 0)));
        ui::SelectGuard t(dc, tassel.get());
        MoveToEx(dc, 18, 8, nullptr);
        LineTo(dc, 32, 11);
        LineTo(dc, 32, 18);
    }
    {
        // A pen lying across the right-hand side.
        ui::PenHandle body(CreatePen(PS_SOLID, 3, RGB(0, 96, 160)));
        ui::SelectGuard p(dc, body.get());
        MoveToEx(dc, 74, 16, nullptr);
        LineTo(dc, 58, 44);
        ui::PenHandle nib(CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
        ui::SelectGuard n(dc, nib.get());
        MoveToEx(dc, 58, 44, nullptr);
        LineTo(dc, 55, 49);
    }
    return rec.close();
}

TAbout::TAbout() : Timer1(150, [this] { Timer1Timer(); }) {
    name = L"About";
    createForm({L"О программе...", 204, 410, ui::BorderStyle::Dialog, false, false, false, true, false,
                ui::sansSerif(11)});
    Label6 = &named<ui::Label>(L"Label6", *this, ui::LabelArgs{L"© ВЦ ЗТЭиП", 114, 1, 67, 13, ui::Align::Right});
    Image1 = &named<ui::Image>(L"Image1", *this, 21, 0, 161, 121);
    Image1->setPicture(DrawPicture());
    // The mark lies on the picture, which leaves it out of its painting.
    SetWindowPos(Label6->hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Label5 = &named<ui::Label>(L"Label5", *this, ui::LabelArgs{L"Диплом-Мастер", 47, 125, 110, 16, ui::Align::Center,
                                                        false, true, ui::sansSerif(13, ui::Italic)});
    Label4 = &named<ui::Label>(L"Label4", *this, ui::LabelArgs{L"Версия 1.0 от 15.06.2003", 10, 139, 185, 13,
                                                        ui::Align::Center, false, true, ui::sansSerif(11, ui::Italic)});
    Label3 = &named<ui::Label>(L"Label3", *this, ui::LabelArgs{kCredits, 10, 154, 182, 65, ui::Align::Left, true});
    Bevel1 = &named<ui::Bevel>(L"Bevel1", *this, 2, 227, 200, 1);
    // One pixel high, the rule shows the shadow line of its etching.
    Bevel1->setSize(200, 1);
    Label1 = &named<ui::Label>(L"Label1", *this, ui::LabelArgs{kPurpose, 10, 232, 180, 118, ui::Align::Left, true});
    Label2 = &named<ui::Label>(L"Label2", *this, ui::LabelArgs{kPurposeEnd, 10, 349, 180, 32, ui::Align::Left, true});
    bbOKAbout = &named<ui::Button>(L"bbOKAbout", *this, ui::ButtonArgs{InitialCaption, 2, 383, 199, 25});
    bbOKAbout->onClick = [this] { bbOKAboutClick(); };
    setDefaultButton(bbOKAbout);
    // Esc, Space and Enter close the box like its button; Tab reaches the button.
    setCancelButton(bbOKAbout);
    setTabOrder({bbOKAbout});
    FormCreate();
}

void TAbout::FormCreate() {
    MarqueeText = kLeadIn + std::wstring(22, L' ') + L"..." + InitialCaption;
    MarqueePos = 0;
    Timer1.start();
}

void TAbout::Timer1Timer() {
    ++MarqueePos;
    if (MarqueePos > static_cast<int>(MarqueeText.size())) MarqueePos = 1;
    std::wstring caption = bbOKAbout->text();
    if (!caption.empty()) caption.erase(0, 1);
    caption += MarqueeText[static_cast<size_t>(MarqueePos - 1)];
    bbOKAbout->setText(caption);
}

void TAbout::bbOKAboutClick() { close(); }

}  // namespace AboutSet
