#include "dialogs/dlgform.h"
#include "dialogs/rundlg.h"
#include "model/geometry.h"

namespace {

std::string Num(double v, int decimals)
{
    return FormatFixed(v, decimals);
}

std::string Pt(const CPointd& p, int decimals)
{
    return Num(p.x, decimals) + " , " + Num(p.y, decimals) + " , " + Num(p.z, decimals);
}

// A show-only "List object" form opened with its object line and layer.
Form ListForm(const char* templateName, const char* object, const std::string& layer)
{
    Form f{templateName, "List"};
    f.showOnly = true;
    f.AddText("object", "", std::string("Object: ") + object);
    f.AddText("layer", "Layer:", layer);
    return f;
}

const char* JustifyName(int justify)
{
    switch (justify) {
    case 1: return "Left";
    case 2: return "Right";
    case 3: return "Center";
    default: return "Default";
    }
}

}  // namespace

int RunLISRECDlgEx(const std::string& layer, const CPointd& p1, const CPointd& p2, double thick1, double thick2,
                   int decimals)
{
    Form f = ListForm("LISREC", "LINE", layer);
    f.AddText("p1", "From P1:", Pt(p1, decimals));
    f.AddText("p2", "To   P2:", Pt(p2, decimals));
    f.AddText("thick1", "Thick (P1):", Num(thick1, decimals));
    f.AddText("thick2", "Thick (P2):", Num(thick2, decimals));
    return RunForm(f);
}

int RunLISCIRDlgEx(const std::string& layer, const CPointd& centre, double radius, double thickness, int decimals)
{
    Form f = ListForm("LISCIR", "CIRCLE", layer);
    f.AddText("centre", "Center:", Pt(centre, decimals));
    f.AddText("radius", "Radius:", Num(radius, decimals));
    f.AddText("thick", "Thick (Z):", Num(thickness, decimals));
    return RunForm(f);
}

int RunLISARCDlgEx(const std::string& layer, const CPointd& centre, double radius, double startAngle,
                   double endAngle, double thick1, double thick2, int decimals)
{
    Form f = ListForm("LISARC", "ARC", layer);
    f.AddText("centre", "Center:", Pt(centre, decimals));
    f.AddText("radius", "Radius:", Num(radius, decimals));
    f.AddText("start", "Init.Ang.:", Num(RadToDeg(startAngle), decimals));
    f.AddText("end", "End Ang.:", Num(RadToDeg(endAngle), decimals));
    f.AddText("thick1", "Thick (P1):", Num(thick1, decimals));
    f.AddText("thick2", "Thick (P2):", Num(thick2, decimals));
    return RunForm(f);
}

int RunLISPUNDlgEx(const std::string& layer, const CPointd& point, int decimals)
{
    Form f = ListForm("LISPUN", "POINT", layer);
    f.AddText("point", "Coordinates:", Pt(point, decimals));
    return RunForm(f);
}

int RunLISTEXDlgEx(const std::string& layer, const std::string& face, const CPointd& insert, int height,
                   int angleDegrees, int justify, int decimals)
{
    Form f = ListForm("LISTEX", "TEXT", layer);
    f.AddText("font", "Font: ", face);
    f.AddText("insert", "Insert Point:", Pt(insert, decimals));
    f.AddText("height", "Height (cm.):", std::to_string(height));
    f.AddText("angle", "Rotate Angle:", std::to_string(angleDegrees));
    f.AddText("justify", "Insert Mode:", JustifyName(justify));
    return RunForm(f);
}

int RunLISPOLDlgEx(const std::string& layer, const CPointd& start, const CPointd& end, double perimeter,
                   double area, int decimals)
{
    Form f = ListForm("LISPOL", "POLYLINE", layer);
    f.AddText("start", "First Pt:", Pt(start, decimals));
    f.AddText("end", "End Pt:", Pt(end, decimals));
    f.AddText("perimeter", "Perimeter:", Num(perimeter, decimals));
    f.AddText("area", "AREA:", Num(area, decimals));
    return RunForm(f);
}

int RunLISINSDlgEx(const std::string& layer, const std::string& block, const CPointd& insert, double scaleX,
                   double scaleY, double rotation, int decimals)
{
    Form f = ListForm("LISINS", "BLOCK", layer);
    f.AddText("name", "Name:", block);
    f.AddText("insert", "Insert Point:", Pt(insert, decimals));
    f.AddText("scalex", "Scale X:", Num(scaleX, decimals));
    f.AddText("scaley", "Scale Y:", Num(scaleY, decimals));
    f.AddText("angle", "Rotate Angle:", Num(RadToDeg(rotation), decimals));
    return RunForm(f);
}

int RunLISACODlgEx(const std::string& layer, const std::string& face, const CPointd& p1, const CPointd& p2,
                   int decimals)
{
    Form f = ListForm("LISACO", "DIM", layer);
    f.AddText("font", "FONT:", face);
    f.AddText("p1", "From Point:", Pt(p1, decimals));
    f.AddText("p2", "To Point:", Pt(p2, decimals));
    return RunForm(f);
}

int RunListarTdfDlgEx(const std::string& layer, const CPointd (&corners)[4], int decimals)
{
    Form f = ListForm("LISTDF", "3DFACE", layer);
    for (int i = 0; i < 4; ++i) {
        const std::string n = std::to_string(i + 1);
        f.AddText("p" + n, "P" + n + ":", Pt(corners[i], decimals));
    }
    return RunForm(f);
}

int RunIdentificarDlgEx(const CPointd& point, int decimals)
{
    Form f{"LISID", "Identify Point"};
    f.showOnly = true;
    f.AddText("heading", "", "POINT COORDINATES:");
    f.AddText("point", "(X,Y)=", Num(point.x, decimals) + " , " + Num(point.y, decimals));
    return RunForm(f);
}

int RunDIST2PDlgEx(double distance, int decimals)
{
    Form f{"LISDIS", "Distance"};
    f.showOnly = true;
    f.AddText("distance", "Distance:", Num(distance, decimals));
    return RunForm(f);
}

int RunAREADlgEx(double area, int decimals)
{
    Form f{"AREA", "Area"};
    f.showOnly = true;
    f.AddText("area", "Area:", Num(area, decimals));
    return RunForm(f);
}
