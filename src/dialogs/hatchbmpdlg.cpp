#include "dialogs/hatchbmpdlg.h"

#include "dialogs/dlgform.h"
#include "dialogs/formwidget.h"
#include "model/bmp.h"
#include "model/hatch.h"
#include "platform/bmpread.h"
#include "res/hatchpatterns.h"

#include <QPainter>

#include <vector>

const std::array<COLORREF, 16> kCustomColours{
    RGB(0, 0, 0),       RGB(255, 0, 0),     RGB(0, 255, 0),     RGB(0, 0, 255),
    RGB(255, 255, 0),   RGB(0, 255, 255),   RGB(255, 0, 255),   RGB(255, 255, 255),
    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
};

namespace {

constexpr const char* kCustomNames[] = {"Black", "Red", "Green", "Blue", "Yellow", "Cyan", "Magenta", "White"};
constexpr int kThumbnail = 48;
constexpr int kPreviewWidth = 160, kPreviewHeight = 120;

std::string RgbText(COLORREF c)
{
    return "RGB(" + std::to_string(GetRValue(c)) + "," + std::to_string(GetGValue(c)) + "," +
           std::to_string(GetBValue(c)) + ")";
}

// The list's item for colour, added at the end when no item names it.
int SelectColour(FormField& list, std::vector<COLORREF>& values, COLORREF colour)
{
    for (std::size_t i = 0; i < values.size(); ++i)
        if (values[i] == colour)
            return list.index = int(i);
    list.items.push_back(RgbText(colour));
    values.push_back(colour);
    return list.index = int(values.size() - 1);
}

// The pattern tiled over a square thumbnail.
QImage Thumbnail(const QImage& pattern)
{
    QImage thumb(kThumbnail, kThumbnail, QImage::Format_RGB32);
    QPainter p(&thumb);
    p.fillRect(thumb.rect(), QBrush(pattern));
    return thumb;
}

// The preview row: the file's picture fitted in the preview box, or why it cannot be shown.
void ShowPreview(Form& form)
{
    FormField& preview = *form.Find("preview");
    std::string error;
    const auto picture = CachedDIB(form.Text("file"), &error);
    preview.picture = picture ? picture->scaled(kPreviewWidth, kPreviewHeight, Qt::KeepAspectRatio) : QImage();
    preview.text = picture ? std::string() : error;
}

}  // namespace

int RunColorDlg(COLORREF& colour)
{
    Form f{"COLOR", "Color"};
    std::vector<COLORREF> values(kCustomColours.begin(), kCustomColours.begin() + std::size(kCustomNames));
    FormField& list = f.AddList("color", "Custom colors:", {std::begin(kCustomNames), std::end(kCustomNames)}, 0);
    SelectColour(list, values, colour);
    f.AddButton("other", "Other...", [&values](Form& form) {
        FormField& field = *form.Find("color");
        COLORREF chosen = field.index >= 0 ? values[std::size_t(field.index)] : 0;
        if (PickSystemColour(chosen, kCustomColours))
            SelectColour(field, values, chosen);
    });
    const int r = RunForm(f);
    if (r == 1 && f.Index("color") >= 0)
        colour = values[std::size_t(f.Index("color"))];
    return r;
}

int RunPrevHtDlgEx(CHatch& hatch)
{
    const std::vector<HatchPattern>& patterns = HatchPatterns();
    Form f{"PREVHT", "Bitmap Hatch"};
    for (std::size_t i = 0; i < patterns.size(); ++i)
        f.AddChoice(patterns[i].name, patterns[i].name, int(i) + 1).picture = Thumbnail(patterns[i].image);
    const int r = RunForm(f);
    if (r != 1)
        return r;
    if (f.choice < 1 || !hatch.SetPattern(patterns[std::size_t(f.choice - 1)].image))
        return 0;
    return 1;
}

int RunBitmapDlgEx(std::string& file, double& width, double& height)
{
    Form f{"FICH_PREV_BM", "Bitmaps Files Preview (*.bmp)"};
    f.AddEdit("file", "File:", file);
    f.AddButton("browse", "Browse...", [](Form& form) {
        const std::string chosen = PickOpenFile("Bitmaps Files Preview (*.bmp)", "Bitmaps (*.bmp *.BMP)");
        if (chosen.empty())
            return;
        form.Find("file")->text = chosen;
        ShowPreview(form);
    });
    f.AddButton("show", "Preview", ShowPreview);
    f.AddText("preview", "");
    // The drawing file holds the sizes as whole units.
    f.AddInteger("width", "Width:", FormatShortest(width), kMinBitmapSize, kMaxBitmapSize);
    f.AddInteger("height", "Height:", FormatShortest(height), kMinBitmapSize, kMaxBitmapSize);
    if (!file.empty())
        ShowPreview(f);
    const int r = RunForm(f);
    if (r != 1)
        return r;
    if (f.Text("file").empty())
        return 0;
    file = f.Text("file");
    width = f.Integer("width");
    height = f.Integer("height");
    return 1;
}
