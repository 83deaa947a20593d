#include "dialogs/rundlg.h"
#include "doc/rectadoc.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_forms.h"

#include <gtest/gtest.h>

#include <numbers>

TEST(ValueDialogs, RadiusAndRotation)
{
    ScriptedForms forms;
    forms.Expect("RADIO", OkWith({{"radius", " 2.5 "}}))
        .Expect("RADIO", CancelWith({{"radius", "3"}}))
        .Expect("AGIRO", OkWith({{"angle", "-90"}}));
    EXPECT_EQ(RunRadioDlgEx(), 2.5);
    EXPECT_EQ(RunRadioDlgEx(), 0.0);
    EXPECT_DOUBLE_EQ(RunAGIRODlgEx(), -std::numbers::pi / 2);
    EXPECT_EQ(forms.shown[2].values["units"], "(Sex.Degrees)");
}

TEST(ValueDialogs, DocumentAndViewValues)
{
    ScriptedForms forms;
    forms.Expect("DISTANCIA", OkWith({{"distance", "0.75"}}))
        .Expect("Z", CancelWith({{"z", "9"}}))
        .Expect("ESPESOR", OkWith({{"thickness", "3"}}))
        .Expect("APROX", OkWith({{"mode", "Perpendicular"}}))
        .Expect("APROX", CancelWith({{"mode", "Point"}}));
    double distance = 0.0, z = 1.25, thickness = 2.9;
    EXPECT_EQ(RunDistanciaDlg(distance), 1);
    EXPECT_EQ(distance, 0.75);
    EXPECT_EQ(RunCoordenadaZDlg(z), 2);
    EXPECT_EQ(z, 1.25);
    EXPECT_EQ(RunEspesorDlg(thickness), 1);
    EXPECT_EQ(thickness, 3.0);
    int snap = 8;
    EXPECT_EQ(RunModoAproxDlg(snap), 1);
    EXPECT_EQ(snap, 5);
    EXPECT_EQ(RunModoAproxDlg(snap), 2);
    EXPECT_EQ(snap, 5);

    EXPECT_EQ(forms.shown[0].labels["distance"], "Distance (m.) :");
    EXPECT_EQ(forms.shown[0].values["distance"], "0.00");
    EXPECT_EQ(forms.shown[2].values["thickness"], "2.90");
    EXPECT_EQ(forms.shown[3].values["mode"], "Center");  // mode 8 shown
    ScriptedForms last;
    last.Expect("APROX", CancelWith());
    snap = 9;
    RunModoAproxDlg(snap);
    EXPECT_EQ(last.shown[0].values["mode"], "Point");
}

TEST(ValueDialogs, ZoomOnlyForAUsefulFactor)
{
    struct Case {
        FormAnswer answer;
        double applied;  // 0: not called
    };
    const Case cases[] = {
        {OkWith({{"factor", "2"}}), 2.0},  {OkWith({{"factor", "0.5"}}), 0.5}, {OkWith({{"factor", "1"}}), 0.0},
        {OkWith({{"factor", "0"}}), 0.0},  {OkWith({{"factor", "-2"}}), 0.0},  {CancelWith({{"factor", "2"}}), 0.0},
    };
    for (const Case& c : cases) {
        ScriptedForms forms;
        forms.Expect("ZOOMESC", c.answer);
        double applied = 0.0;
        int calls = 0;
        RunZoomEscDlg([&](double f) {
            applied = f;
            ++calls;
        });
        EXPECT_EQ(applied, c.applied) << c.answer.values[0].second;
        EXPECT_EQ(calls, c.applied != 0.0 ? 1 : 0);
    }
}

TEST(PropertyDialogs, LineTypeMapping)
{
    const std::pair<const char*, int> entries[] = {{"CONTINUOUS", 0}, {"DASHED", 1}, {"CENTER", 3}, {"DASHDOT", 2}};
    for (const auto& [name, style] : entries) {
        ScriptedForms forms;
        forms.Expect("TIPOLIN", OkWith({{"type", name}})).Expect("TIPOLIN", CancelWith());
        int penStyle = -1;
        EXPECT_EQ(RunTIPOLINDlgEx(penStyle), 1);
        EXPECT_EQ(penStyle, style) << name;
        // The current style is shown selected; Cancel keeps it.
        EXPECT_EQ(RunTIPOLINDlgEx(penStyle), 2);
        EXPECT_EQ(forms.shown[1].values["type"], name);
        EXPECT_EQ(penStyle, style);
    }
}

TEST(PropertyDialogs, LayerAndColour)
{
    CRectaDoc doc;
    doc.OnNewDocument();
    SetLastLayerName("WALLS");
    doc.AddLayer(RGB(255, 0, 0), 1);
    doc.m_layerName = "WALLS";

    ScriptedForms forms;
    forms.Expect("CAPASELC", OkWith({{"layer", "ZP"}}))
        .Expect("CAPASELC", CancelWith())
        .Expect("COLORSEL", OkWith({{"color", "Red"}, {"bylayer", "1"}}));
    std::string name;
    CLayer* layer = nullptr;
    EXPECT_EQ(RunCAPASELDlgEx(&doc, name, layer), 1);
    EXPECT_EQ(forms.shown[0].values["layer"], "WALLS");
    EXPECT_EQ(name, "ZP");
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(layer->m_name, "ZP");
    EXPECT_EQ(RunCAPASELDlgEx(&doc, name, layer), 0);
    EXPECT_EQ(RunCAPASELDlgEx(nullptr, name, layer), -1);

    COLORREF color = RGB(1, 2, 3);
    int byLayer = 0;
    EXPECT_EQ(RunCOLORSELDlgEx(color, byLayer), 1);
    EXPECT_EQ(forms.shown[2].values["color"], "RGB(1,2,3)");
    EXPECT_EQ(color, RGB(255, 0, 0));
    EXPECT_EQ(byLayer, 1);
}

TEST(PropertyDialogs, TextFontThroughTheTextDialog)
{
    LOGFONT font;
    font.lfHeight = -38;
    font.lfWeight = 300;
    SetFaceName(font, "Courier New");
    ScriptedForms forms;
    forms.Expect("TEXTO", Press("choose", {{"text", std::string(300, 'a')}}))
        .Expect("FONT", OkWith({{"face", "Arial"}, {"size", "50"}, {"italic", "1"}, {"color", "Blue"}}))
        .Expect("TEXTO", OkWith());
    std::string text = "old";
    COLORREF color = 7;
    EXPECT_EQ(RunTextoDlgEx(text, font, color), 1);
    EXPECT_EQ(text, std::string(kMaxTextLength, 'a'));
    EXPECT_EQ(FaceNameOf(font), "Arial");
    EXPECT_EQ(font.lfHeight, -50);
    EXPECT_EQ(font.lfWeight, 300);  // bold untouched keeps the weight
    EXPECT_EQ(font.lfItalic, 1);
    EXPECT_EQ(color, RGB(0, 0, 255));
    EXPECT_EQ(forms.shown[0].values["text"], "old");
    EXPECT_EQ(forms.shown[1].values["size"], "38");
    EXPECT_EQ(forms.shown[2].values["font"], "Arial, 50, italic");
}

TEST(PropertyDialogs, TextHeightIsAWholeNumber)
{
    ScriptedMessageBoxes boxes({IDOK});
    ScriptedForms forms;
    forms.Expect("TEXTTAM", OkWith({{"height", "12.5"}})).Expect("TEXTTAM", OkWith({{"height", "12"}}));
    int height = 38;
    EXPECT_EQ(RunTEXTTAMDlgEx(height), 1);
    EXPECT_EQ(height, 12);
    EXPECT_EQ(forms.shown[0].values["height"], "38");
    EXPECT_EQ(boxes.asked.at(0), "Texts Height must be a whole number from 1 to 32767.");
}

TEST(ListDialogs, ValuesShownWithTheDecimals)
{
    ScriptedForms forms;
    forms.Expect("LISARC", OkWith()).Expect("LISTEX", OkWith()).Expect("LISID", OkWith());
    EXPECT_EQ(RunLISARCDlgEx("ZP", CPointd(1.5, -2, 0), 2, 0, std::numbers::pi / 2, 0, 2.9, 3), 1);
    EXPECT_EQ(RunLISTEXDlgEx("T", "Arial", CPointd(0, 0, 0), 38, -45, 3, 1), 1);
    EXPECT_EQ(RunIdentificarDlgEx(CPointd(1.234, 5, 9), 2), 1);
    auto& arc = forms.shown[0].values;
    EXPECT_EQ(arc["object"], "Object: ARC");
    EXPECT_EQ(arc["centre"], "1.500 , -2.000 , 0.000");
    EXPECT_EQ(arc["end"], "90.000");
    EXPECT_EQ(arc["thick2"], "2.900");
    EXPECT_EQ(forms.shown[1].values["angle"], "-45");
    EXPECT_EQ(forms.shown[1].values["justify"], "Center");
    EXPECT_EQ(forms.shown[2].values["point"], "1.23 , 5.00");
    EXPECT_EQ(forms.shown[2].labels["point"], "(X,Y)=");
}

TEST(DocumentDialogs, PointHeight)
{
    CRectaDoc doc;
    doc.OnNewDocument();
    ScriptedMessageBoxes boxes({IDOK});
    ScriptedForms forms;
    forms.Expect("PUNTOS", OkWith({{"height", "0"}})).Expect("PUNTOS", OkWith({{"height", "0.5"}}));
    EXPECT_EQ(RunDisplayPuntosDlg(&doc), 1);
    EXPECT_EQ(doc.m_pointHeight, 0.5);
    EXPECT_EQ(forms.shown[0].values["height"], "1.00");
    EXPECT_EQ(RunDisplayPuntosDlg(nullptr), -1);

    forms.Expect("SELCAMARA", OkWith({{"index", "Camera 6"}})).Expect("SELLUZ", CancelWith({{"index", "Light 2"}}));
    EXPECT_EQ(DoSelCamaraDlg(&doc), 1);
    EXPECT_EQ(doc.m_toolWords[TW_CAMERA], 5);
    const int light = doc.m_toolWords[TW_LIGHT];
    EXPECT_EQ(DoSelecLuzDlg(&doc), 2);
    EXPECT_EQ(doc.m_toolWords[TW_LIGHT], light);
}

TEST(DocumentDialogs, CameraAndLightOfSix)
{
    CRectaDoc doc;
    doc.OnNewDocument();
    doc.m_toolWords[TW_LIGHT] = 5;
    doc.m_toolWords[TW_CAMERA] = 6;
    ScriptedForms forms;
    forms.Expect("SELLUZ", OkWith({{"index", "Light 1"}})).Expect("SELCAMARA", OkWith({{"index", "Camera 6"}}));
    EXPECT_EQ(DoSelecLuzDlg(&doc), 1);
    EXPECT_EQ(forms.shown[0].values["index"], "Light 6");
    EXPECT_EQ(doc.m_toolWords[TW_LIGHT], 0);
    EXPECT_EQ(DoSelCamaraDlg(&doc), 1);
    EXPECT_EQ(forms.shown[1].values["index"], "Camera 1");  // out of range: the first
    EXPECT_EQ(doc.m_toolWords[TW_CAMERA], 5);
}
