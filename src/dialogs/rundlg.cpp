#include "dialogs/rundlg.h"

#include "dialogs/dlgform.h"
#include "dialogs/formwidget.h"
#include "doc/rectadoc.h"
#include "model/geometry.h"

#include <cstdlib>
#include <iterator>
#include <limits>

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

struct NamedColour {
    const char* name;
    COLORREF color;
};

constexpr NamedColour kColours[] = {
    {"Black", RGB(0, 0, 0)},         {"Red", RGB(255, 0, 0)},          {"Yellow", RGB(255, 255, 0)},
    {"Green", RGB(0, 255, 0)},       {"Cyan", RGB(0, 255, 255)},       {"Blue", RGB(0, 0, 255)},
    {"Magenta", RGB(255, 0, 255)},   {"White", RGB(255, 255, 255)},    {"Gray", RGB(128, 128, 128)},
    {"Light Gray", RGB(192, 192, 192)}, {"Dark Red", RGB(128, 0, 0)},  {"Olive", RGB(128, 128, 0)},
    {"Dark Green", RGB(0, 128, 0)},  {"Teal", RGB(0, 128, 128)},       {"Navy", RGB(0, 0, 128)},
    {"Purple", RGB(128, 0, 128)},
};

// Names of the standard colours, plus "RGB(r,g,b)" for a current colour that is not one.
std::vector<std::string> ColourItems(COLORREF current, std::vector<COLORREF>& values, int& index)
{
    std::vector<std::string> names;
    index = -1;
    for (const NamedColour& c : kColours) {
        if (c.color == current)
            index = int(names.size());
        names.push_back(c.name);
        values.push_back(c.color);
    }
    if (index < 0) {
        index = int(names.size());
        names.push_back("RGB(" + std::to_string(GetRValue(current)) + "," + std::to_string(GetGValue(current)) + "," +
                        std::to_string(GetBValue(current)) + ")");
        values.push_back(current);
    }
    return names;
}

constexpr const char* kLineTypes[] = {"CONTINUOUS", "DASHED", "CENTER", "DASHDOT"};
constexpr int kLineTypeStyles[] = {0, 1, 3, 2};

std::string FontSummary(const LOGFONT& lf)
{
    std::string s = FaceNameOf(lf) + ", " + std::to_string(std::labs(long(lf.lfHeight)));
    if (lf.lfWeight >= 600)
        s += ", bold";
    if (lf.lfItalic)
        s += ", italic";
    return s;
}

// Runs the form with one more edit, a real shown to two decimals; OK stores it in target.
int RunRealForm(Form f, const std::string& name, std::string label, double& target, double lo = -kInf,
                bool loExclusive = false)
{
    f.AddReal(name, std::move(label), FormatFixed(target, 2), lo, kInf, loExclusive);
    const int r = RunForm(f);
    if (r == 1)
        target = f.Real(name);
    return r;
}

}  // namespace

int RunModoAproxDlg(int& snapMode)
{
    Form f{"APROX", "Object Snap"};
    const int n = int(std::size(kSnapModeNames));
    f.AddList("mode", "Snap Mode:", {std::begin(kSnapModeNames), std::end(kSnapModeNames)},
              snapMode >= 1 && snapMode <= n ? snapMode - 1 : 0);
    const int r = RunForm(f);
    if (r == 1 && f.Index("mode") >= 0)
        snapMode = f.Index("mode") + 1;
    return r;
}

int RunDistanciaDlg(double& fixedDistance)
{
    return RunRealForm({"DISTANCIA", "Distance"}, "distance", "Distance (m.) :", fixedDistance);
}

int RunCoordenadaZDlg(double& target)
{
    return RunRealForm({"Z", "Z Coordinate"}, "z", "Z Coordinate (m.):", target);
}

int RunEspesorDlg(double& target)
{
    return RunRealForm({"ESPESOR", "Thickness"}, "thickness", "Thickness (m.):", target);
}

int RunZoomEscDlg(const std::function<void(double)>& zoomByFactor)
{
    Form f{"ZOOMESC", "Zoom"};
    f.AddReal("factor", "Zoom Factor:", "1");
    const int r = RunForm(f);
    const double factor = f.Real("factor");
    if (r == 1 && factor > 0.0 && factor != 1.0 && zoomByFactor)
        zoomByFactor(factor);
    return r;
}

int RunDisplayPuntosDlg(CRectaDoc* doc)
{
    if (!doc)
        return -1;
    return RunRealForm({"PUNTOS", "POINTS DISPLAY"}, "height", "Points Height (m.):", doc->m_pointHeight, 0.0, true);
}

namespace {

// One of the six cameras or lights into the document's tool word.
int ChooseIndex(CRectaDoc* doc, const char* templateName, const char* title, const char* label, int word)
{
    if (!doc)
        return -1;
    std::vector<std::string> items;
    for (int i = 1; i <= 6; ++i)
        items.push_back(std::string(label) + " " + std::to_string(i));
    Form f{templateName, title};
    const int current = doc->m_toolWords[word];
    f.AddList("index", std::string(label) + ":", items, current >= 0 && current < 6 ? current : 0);
    const int result = RunForm(f);
    if (result == 1 && f.Index("index") >= 0)
        doc->m_toolWords[word] = f.Index("index");
    return result;
}

}  // namespace

int DoSelCamaraDlg(CRectaDoc* doc)
{
    return ChooseIndex(doc, "SELCAMARA", "Cameras", "Camera", TW_CAMERA);
}

int DoSelecLuzDlg(CRectaDoc* doc)
{
    return ChooseIndex(doc, "SELLUZ", "Lights", "Light", TW_LIGHT);
}

int RunRadioDlg(double& radius)
{
    Form f{"RADIO", "Radius"};
    f.AddReal("radius", "Radius:", "", 0.0, kInf);
    const int result = RunForm(f);
    if (result == 1)
        radius = f.Real("radius");
    return result;
}

double RunRadioDlgEx()
{
    double radius = 0.0;
    return RunRadioDlg(radius) == 1 ? radius : 0.0;
}

double RunAGIRODlgEx()
{
    Form f{"AGIRO", "Rotate"};
    f.AddReal("angle", "Rotate Angle:", "");
    f.AddText("units", "", "(Sex.Degrees)");
    f.AddText("sense", "", "(+ in clockwise)");
    return RunForm(f) == 1 ? DegToRad(f.Real("angle")) : 0.0;
}

int RunTextoDlgEx(std::string& text, LOGFONT& font, COLORREF& color)
{
    LOGFONT chosen = font;
    COLORREF chosenColor = 0;
    Form f{"TEXTO", "Text"};
    f.AddEdit("text", "Text:", text.substr(0, kMaxTextLength)).maxLength = int(kMaxTextLength);
    f.AddText("font", "Font:", FontSummary(chosen));
    f.AddButton("choose", "Font...", [&](Form& form) {
        if (ChooseTextFont(chosen, chosenColor) == 1)
            form.Find("font")->text = FontSummary(chosen);
    });
    const int r = RunForm(f);
    if (r == 1) {
        text = f.Text("text");
        font = chosen;
        color = chosenColor;
    }
    return r;
}

int RunListarDlgEx(std::string& blockName, int& eraseSource)
{
    Form f{"BLOQDEF", "Block Definition"};
    f.AddEdit("name", "Block Name:", blockName.substr(0, kMaxBlockName)).maxLength = int(kMaxBlockName);
    f.AddCheck("erase", "Erase source objects", eraseSource == 1);
    const int r = RunForm(f);
    if (r == 1) {
        blockName = f.Text("name");
        eraseSource = f.Checked("erase") ? 1 : 0;
    }
    return r;
}

int RunEscalaDlgEx(double& scale)
{
    Form f{"ESCALA", "Scale"};
    f.AddReal("scale", "Scale 1:", FormatShortest(scale), 0.0);
    f.AddCheck("fit", "Fit to paper", scale == 0.0);
    const int r = RunForm(f);
    if (r == 1)
        scale = f.Checked("fit") ? 0.0 : f.Real("scale");
    return r;
}

int RunANGSELDlgEx(double& angleDegrees, int& pickLine)
{
    Form f{"ANGSEL", "Angle"};
    f.AddReal("angle", "Angle (degrees):", FormatShortest(angleDegrees));
    f.AddCheck("pick", "Pick a line", pickLine == 1);
    if (RunForm(f) != 1)
        return 0;
    angleDegrees = f.Real("angle");
    pickLine = f.Checked("pick") ? 1 : 0;
    return 1;
}

int RunCAPASELDlgEx(CRectaDoc* doc, std::string& layerName, CLayer*& layer)
{
    if (!doc)
        return -1;
    std::vector<std::string> names;
    std::vector<CLayer*> layers;
    int current = 0;
    for (POSITION pos = doc->GetFirstLayerPosition(); pos;) {
        CLayer* l = doc->GetNextLayer(pos);
        if (l->m_name == doc->m_layerName)
            current = int(layers.size());
        names.push_back(l->m_name);
        layers.push_back(l);
    }
    Form f{"CAPASELC", "CHANGE LAYER"};
    f.AddList("layer", "SET TO LAYER:", names, current);
    if (RunForm(f) != 1 || f.Index("layer") < 0)
        return 0;
    layerName = names[std::size_t(f.Index("layer"))];
    layer = layers[std::size_t(f.Index("layer"))];
    return 1;
}

int RunCOLORSELDlgEx(COLORREF& color, int& byLayer)
{
    std::vector<COLORREF> values;
    int index = 0;
    std::vector<std::string> items = ColourItems(color, values, index);
    Form f{"COLORSEL", "COLOR SELECTION"};
    f.AddCheck("bylayer", ">> COLOR=BY LAYER", byLayer == 1);
    f.AddList("color", ">> SELECT COLOR", std::move(items), index);
    const int r = RunForm(f);
    if (r == 1) {
        byLayer = f.Checked("bylayer") ? 1 : 0;
        if (f.Index("color") >= 0)
            color = values[std::size_t(f.Index("color"))];
    }
    return r;
}

int RunTIPOLINDlgEx(int& penStyle)
{
    int current = 0;
    for (int i = 0; i < 4; ++i)
        if (kLineTypeStyles[i] == penStyle)
            current = i;
    Form f{"TIPOLIN", "Line Type"};
    f.AddList("type", "LINE TYPE:", {std::begin(kLineTypes), std::end(kLineTypes)}, current);
    const int r = RunForm(f);
    if (r == 1 && f.Index("type") >= 0)
        penStyle = kLineTypeStyles[f.Index("type")];
    return r;
}

int RunTEXTTAMDlgEx(int& height)
{
    Form f{"TEXTTAM", "Text Height"};
    f.AddInteger("height", "Texts Height:", std::to_string(height), 1, 32767);
    const int r = RunForm(f);
    if (r == 1)
        height = f.Integer("height");
    return r;
}

int ChooseTextFont(LOGFONT& font, COLORREF& color)
{
    std::vector<COLORREF> values;
    int index = 0;
    std::vector<std::string> items = ColourItems(color, values, index);
    Form f{"FONT", "Font"};
    f.AddEdit("face", "Font:", FaceNameOf(font)).maxLength = LF_FACESIZE - 1;
    f.AddInteger("size", "Size:", std::to_string(std::labs(long(font.lfHeight))), 1, 32767);
    f.AddCheck("bold", "Bold", font.lfWeight >= 600);
    f.AddCheck("italic", "Italic", font.lfItalic != 0);
    f.AddList("color", "Color:", std::move(items), index);
    f.AddButton("browse", "Browse...", [](Form& form) {
        std::string face = form.Text("face");
        int size = form.Integer("size", 12);
        bool bold = form.Checked("bold"), italic = form.Checked("italic");
        if (!PickSystemFont(face, size, bold, italic))
            return;
        SetFieldValue(*form.Find("face"), face);
        form.Find("size")->text = std::to_string(size);
        form.Find("bold")->checked = bold;
        form.Find("italic")->checked = italic;
    });
    const int r = RunForm(f);
    if (r != 1)
        return r;
    SetFaceName(font, f.Text("face"));
    const int size = f.Integer("size");
    font.lfHeight = font.lfHeight < 0 ? -size : size;
    const bool bold = f.Checked("bold");
    if (bold != (font.lfWeight >= 600))
        font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    font.lfItalic = f.Checked("italic") ? 1 : 0;
    if (f.Index("color") >= 0)
        color = values[std::size_t(f.Index("color"))];
    return 1;
}

int RunTEXTCAMDlgEx(std::string& text)
{
    Form f{"TEXTCAM", "Change Text"};
    f.AddText("heading", "", "CHANGE TEXT:");
    f.AddEdit("text", "Text:", text.substr(0, kMaxTextLength)).maxLength = int(kMaxTextLength);
    const int r = RunForm(f);
    if (r == 1)
        text = f.Text("text");
    return r;
}

int RunESPEDIBDlgEx(int& width)
{
    Form f{"ESPEDIB", "Line Thick"};
    f.AddInteger("width", "Line Thickness:", std::to_string(width), 0, 32767);
    const int r = RunForm(f);
    if (r == 1)
        width = f.Integer("width");
    return r;
}
