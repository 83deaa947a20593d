#include "dialogs/archdlg.h"

#include "dialogs/dlgform.h"
#include "doc/rectadoc.h"

#include <limits>
#include <string>

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
// Tool words are stored as 16-bit words.
constexpr int kWordMax = 65535;

void AddLength(Form& f, const char* name, const char* label, double value)
{
    f.AddReal(name, label, FormatFixed(value, 3), 0.0, kInf, true);
}

void AddWord(Form& f, const char* name, const char* label, int value, int lo = 0)
{
    f.AddInteger(name, label, std::to_string(value), lo, kWordMax);
}

// The door dialogs; with two leaves the width row is split.
int RunDoorForm(CRectaDoc* doc, const char* templateName, bool twoLeaves)
{
    if (!doc)
        return -1;
    int* w = doc->m_toolWords;
    double* r = doc->m_toolReals;
    Form f{templateName, twoLeaves ? "Door Leaves" : "Door Parameters"};
    AddWord(f, "mode", "Insert Mode:", w[TW_DOOR_PARAMS]);
    AddLength(f, "frame", "Frame Thickness (m.):", r[2]);
    AddLength(f, "leaf", "Leaf Thickness (m.):", r[3]);
    AddLength(f, "width", twoLeaves ? "Leaf 1 Width (m.):" : "Door Width (m.):", r[4]);
    if (twoLeaves)
        AddLength(f, "width2", "Leaf 2 Width (m.):", r[7]);
    AddLength(f, "height", "Door Height 3D (m.):", r[8]);
    const int result = RunForm(f);
    if (result != 1)
        return result;
    w[TW_DOOR_PARAMS] = f.Integer("mode");
    r[2] = f.Real("frame");
    r[3] = f.Real("leaf");
    r[4] = f.Real("width");
    if (twoLeaves)
        r[7] = f.Real("width2");
    r[8] = f.Real("height");
    return result;
}

}  // namespace

int RunRegruesaDlg(double& wallOffset)
{
    Form f{"REGRUESM", "Wall Thickness"};
    AddLength(f, "thickness", "Wall Thickness (m.):", wallOffset);
    const int result = RunForm(f);
    if (result == 1)
        wallOffset = f.Real("thickness");
    return result;
}

int RunSimpleHojaDlg(CRectaDoc* doc)
{
    return RunDoorForm(doc, "PARPUERT2", false);
}

int RunHOJASDlg(CRectaDoc* doc)
{
    return RunDoorForm(doc, "HOJAS", true);
}

int RunSTANDARDDlg(CRectaDoc* doc)
{
    if (!doc)
        return -1;
    int* w = doc->m_toolWords;
    double* r = doc->m_toolReals;
    Form f{"PARVENT2", "Window Parameters"};
    AddWord(f, "wallmode", "Position in Wall:", w[3]);
    f.AddCheck("option", "Yes/No Option", w[4] == 1);
    AddWord(f, "mode", "Insert Mode:", w[5]);
    AddWord(f, "leaves", "Leaves:", w[6], 1);
    AddLength(f, "frame", "Frame Thickness (m.):", r[5]);
    AddLength(f, "width", "Window Width (m.):", r[6]);
    f.AddReal("sill", "Sill Height (m.):", FormatFixed(r[9], 3), 0.0);
    AddLength(f, "height", "Window Height (m.):", r[10]);
    const int result = RunForm(f);
    if (result != 1)
        return result;
    w[3] = f.Integer("wallmode");
    w[4] = f.Checked("option") ? 1 : 0;
    w[5] = f.Integer("mode");
    w[6] = f.Integer("leaves");
    r[5] = f.Real("frame");
    r[6] = f.Real("width");
    r[9] = f.Real("sill");
    r[10] = f.Real("height");
    return result;
}
