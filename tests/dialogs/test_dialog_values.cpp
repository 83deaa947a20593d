// Every dialog of the program, opened on values other than its defaults and
// accepted untouched with the real OK button, shows its values in its widgets
// and hands back what it showed: the same as a script that accepts the form
// as built, and the values it was opened with.
#include "dialogs/archdlg.h"
#include "dialogs/dlgform.h"
#include "dialogs/hatchbmpdlg.h"
#include "dialogs/hatchdlg.h"
#include "dialogs/planedlg.h"
#include "dialogs/purgedlg.h"
#include "dialogs/rundlg.h"
#include "dialogs/stepdlg.h"
#include "doc/rectadoc.h"
#include "model/bloq.h"
#include "model/circ.h"
#include "model/hatch.h"
#include "model/recta.h"
#include "platform/logfont.h"
#include "platform/msgbox.h"
#include "support/blocks.h"
#include "support/real_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>

namespace {

using Shown = std::map<std::string, std::string>;

// Joins values into one line for comparison.
struct Out {
    std::string s;
    Out& operator<<(const std::string& v) { s += v + ' '; return *this; }
    Out& operator<<(const char* v) { return *this << std::string(v); }
    Out& operator<<(double v) { return *this << FormatShortest(v); }
    Out& operator<<(int v) { return *this << std::to_string(v); }
};

// A drawing with two layers ("WALLS" current), blocks "A" and "B" and an
// unused layer and block for the purges.
std::unique_ptr<CRectaDoc> Drawing()
{
    auto doc = std::make_unique<CRectaDoc>();
    doc->OnNewDocument();
    doc->AddLayer(0, 1)->m_name = "WALLS";
    doc->AddLayer(0, 1)->m_name = "SPARE";
    doc->m_layerName = "WALLS";
    AddNamedBlock(*doc, "A", {{ENT_LINE, NewLine(0, 0, 1, 0)}});
    AddNamedBlock(*doc, "B", {{ENT_LINE, NewLine(0, 0, 0, 1)}});
    return doc;
}

std::string Blocks(const CRectaDoc& doc)
{
    std::string names;
    for (POSITION pos = doc.GetFirstBlockPosition(); pos;)
        names += doc.GetNextBlock(pos)->m_name + ",";
    for (POSITION pos = doc.GetFirstLayerPosition(); pos;)
        names += doc.GetNextLayer(pos)->m_name + ",";
    return names;
}

std::string Font(const LOGFONT& f)
{
    std::string s = (Out() << FaceNameOf(f) << int(f.lfHeight) << int(f.lfWeight) << int(f.lfItalic)).s;
    s.pop_back();
    return s;
}

LOGFONT BoldItalic()
{
    LOGFONT f;
    SetFaceName(f, "Liberation Mono");
    f.lfHeight = -20;
    f.lfWeight = 700;
    f.lfItalic = 1;
    return f;
}

// An insertion dialog opened on block "B", the placement it hands back.
std::string Insertion(int (*run)(const CRectaDoc&, CBloq*&, std::string&, double&, double&, double&))
{
    auto doc = Drawing();
    CBloq* block = doc->FindBlock("B");
    std::string name;
    double rotation = 9, sx = 9, sy = 9;
    const int r = run(*doc, block, name, rotation, sx, sy);
    return (Out() << r << name << rotation << sx << sy).s;
}

struct Row {
    const char* name;
    std::function<std::string()> run;  // opens the dialog, returns what came back
    std::string expected;
};

const Row kRows[] = {
    {"APROX", [] { int m = 5; return (Out() << RunModoAproxDlg(m) << m).s; }, "1 5 "},
    {"DISTANCIA", [] { double d = 2.5; return (Out() << RunDistanciaDlg(d) << d).s; }, "1 2.5 "},
    {"Z", [] { double z = -1.25; return (Out() << RunCoordenadaZDlg(z) << z).s; }, "1 -1.25 "},
    {"ESPESOR", [] { double t = 0.75; return (Out() << RunEspesorDlg(t) << t).s; }, "1 0.75 "},
    {"ZOOMESC",
     [] {
         Out calls;
         const int r = RunZoomEscDlg([&](double f) { calls << f; });
         return (Out() << r << calls.s).s;
     },
     "1  "},
    {"PUNTOS",
     [] {
         auto doc = Drawing();
         doc->m_pointHeight = 0.35;
         return (Out() << RunDisplayPuntosDlg(doc.get()) << doc->m_pointHeight).s;
     },
     "1 0.35 "},
    {"SELCAMARA",
     [] {
         auto doc = Drawing();
         doc->m_toolWords[TW_CAMERA] = 3;
         return (Out() << DoSelCamaraDlg(doc.get()) << doc->m_toolWords[TW_CAMERA]).s;
     },
     "1 3 "},
    {"SELLUZ",
     [] {
         auto doc = Drawing();
         doc->m_toolWords[TW_LIGHT] = 4;
         return (Out() << DoSelecLuzDlg(doc.get()) << doc->m_toolWords[TW_LIGHT]).s;
     },
     "1 4 "},
    // The radius and rotation open empty: OK is refused until one is typed.
    {"RADIO", [] { double r = 7; return (Out() << RunRadioDlg(r) << r).s; }, "refused 2 7 "},
    {"AGIRO", [] { return (Out() << RunAGIRODlgEx()).s; }, "refused 0 "},
    {"TEXTO",
     [] {
         std::string text = "Room 12";
         LOGFONT font = BoldItalic();
         COLORREF colour = RGB(1, 2, 3);
         const int r = RunTextoDlgEx(text, font, colour);
         return (Out() << r << text << Font(font) << int(colour)).s;
     },
     "1 Room 12 Liberation Mono -20 700 1 0 "},
    {"BLOQDEF",
     [] {
         std::string name = "DOOR";
         int erase = 1;
         return (Out() << RunListarDlgEx(name, erase) << name << erase).s;
     },
     "1 DOOR 1 "},
    {"ESCALA fit", [] { double s = 0; return (Out() << RunEscalaDlgEx(s) << s).s; }, "1 0 "},
    {"ESCALA 1:50", [] { double s = 50; return (Out() << RunEscalaDlgEx(s) << s).s; }, "1 50 "},
    {"ANGSEL",
     [] {
         double a = 30;
         int pick = 1;
         return (Out() << RunANGSELDlgEx(a, pick) << a << pick).s;
     },
     "1 30 1 "},
    {"CAPASELC",
     [] {
         auto doc = Drawing();
         std::string name;
         CLayer* layer = nullptr;
         const int r = RunCAPASELDlgEx(doc.get(), name, layer);
         return (Out() << r << name << (layer ? layer->m_name : "none")).s;
     },
     "1 WALLS WALLS "},
    {"COLORSEL",
     [] {
         COLORREF c = RGB(0, 0, 255);
         int byLayer = 1;
         return (Out() << RunCOLORSELDlgEx(c, byLayer) << int(c) << byLayer).s;
     },
     "1 16711680 1 "},
    {"TIPOLIN", [] { int s = 3; return (Out() << RunTIPOLINDlgEx(s) << s).s; }, "1 3 "},
    {"TEXTTAM", [] { int h = 25; return (Out() << RunTEXTTAMDlgEx(h) << h).s; }, "1 25 "},
    {"FONT",
     [] {
         LOGFONT font = BoldItalic();
         COLORREF c = RGB(255, 0, 0);
         const int r = ChooseTextFont(font, c);
         return (Out() << r << Font(font) << int(c)).s;
     },
     "1 Liberation Mono -20 700 1 255 "},
    {"TEXTCAM", [] { std::string t = "Hall"; return (Out() << RunTEXTCAMDlgEx(t) << t).s; }, "1 Hall "},
    {"ESPEDIB", [] { int w = 3; return (Out() << RunESPEDIBDlgEx(w) << w).s; }, "1 3 "},
    {"LISREC", [] { return (Out() << RunLISRECDlgEx("WALLS", {1, 2, 3}, {4, 5, 6}, 0.5, 1.5, 3)).s; }, "1 "},
    {"LISCIR", [] { return (Out() << RunLISCIRDlgEx("WALLS", {1, 2, 0}, 3, 0.5, 2)).s; }, "1 "},
    {"LISARC", [] { return (Out() << RunLISARCDlgEx("WALLS", {1, 2, 0}, 3, 0.5, 1.5, 0, 1, 2)).s; }, "1 "},
    {"LISPUN", [] { return (Out() << RunLISPUNDlgEx("WALLS", {1, 2, 3}, 2)).s; }, "1 "},
    {"LISTEX", [] { return (Out() << RunLISTEXDlgEx("WALLS", "Arial", {1, 2, 0}, 30, 45, 3, 2)).s; }, "1 "},
    {"LISPOL", [] { return (Out() << RunLISPOLDlgEx("WALLS", {0, 0, 0}, {1, 1, 0}, 4, 1, 2)).s; }, "1 "},
    {"LISINS", [] { return (Out() << RunLISINSDlgEx("WALLS", "A", {1, 2, 0}, 2, 3, 0.5, 2)).s; }, "1 "},
    {"LISACO", [] { return (Out() << RunLISACODlgEx("WALLS", "Arial", {0, 0, 0}, {3, 0, 0}, 2)).s; }, "1 "},
    {"LISTDF",
     [] {
         const CPointd corners[4] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 1}, {0, 1, 1}};
         return (Out() << RunListarTdfDlgEx("WALLS", corners, 2)).s;
     },
     "1 "},
    {"LISID", [] { return (Out() << RunIdentificarDlgEx({1.5, -2, 0}, 2)).s; }, "1 "},
    {"LISDIS", [] { return (Out() << RunDIST2PDlgEx(5, 2)).s; }, "1 "},
    {"AREA", [] { return (Out() << RunAREADlgEx(12.5, 2)).s; }, "1 "},
    {"BLOQSEL",
     [] {
         auto doc = Drawing();
         int index = -1;
         std::string name;
         return (Out() << RunSelecDlgEx(*doc, index, name) << index << name).s;
     },
     "1 0 A "},
    {"BLOQUESMULT",
     [] {
         auto doc = Drawing();
         return (Out() << RunPurgaBloqsDlg(*doc, {}) << Blocks(*doc)).s;
     },
     "1 A,B,ZP,WALLS,SPARE, "},
    {"CAPASMULT",
     [] {
         auto doc = Drawing();
         return (Out() << RunPurgaCapasDlg(*doc, {}) << Blocks(*doc)).s;
     },
     "1 A,B,ZP,WALLS,SPARE, "},
    {"COLOR", [] { COLORREF c = RGB(0, 255, 0); return (Out() << RunColorDlg(c) << int(c)).s; }, "1 65280 "},
    {"COLOR other", [] { COLORREF c = RGB(1, 2, 3); return (Out() << RunColorDlg(c) << int(c)).s; }, "1 197121 "},
    {"PREVHT",
     [] {
         CHatch hatch;
         return (Out() << RunPrevHtDlgEx(hatch) << int(hatch.HasPattern())).s;
     },
     "0 0 "},
    {"FICH_PREV_BM",
     [] {
         std::string file = "/nonexistent/plan.bmp";
         double w = 3, h = 4;
         return (Out() << RunBitmapDlgEx(file, w, h) << file << w << h).s;
     },
     "1 /nonexistent/plan.bmp 3 4 "},
    {"TRAMA", [] { int kind = 2; return (Out() << RunTramaDlgEx(kind) << kind).s; }, "1 0 "},
    {"TRAMAP1",
     [] {
         double a1 = 1, s1 = 2, a2 = 3, s2 = 4;
         return (Out() << RunTramaParamDlg(1, a1, s1, a2, s2) << a1 << s1 << a2 << s2).s;
     },
     "1 90 0.1 3 4 "},
    {"TRAMAP2",
     [] {
         double a1 = 1, s1 = 2, a2 = 3, s2 = 4;
         return (Out() << RunTramaParamDlg(2, a1, s1, a2, s2) << a1 << s1 << a2 << s2).s;
     },
     "1 90 0.1 0 0.1 "},
    {"TRAMAP3",
     [] {
         double a1 = 1, s1 = 2, a2 = 3, s2 = 4;
         return (Out() << RunTramaParamDlg(3, a1, s1, a2, s2) << a1 << s1 << a2 << s2).s;
     },
     "1 90 0.1 90 0.2 "},
    {"UCSOBJ",
     [] {
         double above = 0.5, below = 1.25;
         return (Out() << DoUCSOBJDlg(above, below) << above << below).s;
     },
     "1 0.5 1.25 "},
    // Opens with every kind and every layer ticked.
    {"FILTROS",
     [] {
         auto doc = Drawing();
         CSelectionFilter filter;
         const int r = RunFiltrosDlg(*doc, filter);
         Out out;
         out << r;
         for (int type : filter.types)
             out << type;
         return (out << "left out:" << int(filter.layersLeftOut.size())).s;
     },
     "1 1 2 3 4 5 6 7 8 11 21 22 left out: 0 "},
    {"INSERTAR", [] { return Insertion(RunInsertarDlgEx); }, "1 B 0 1 1 "},
    {"BLOQINSPREV", [] { return Insertion(RunBloqInsPrevDlgEx); }, "1 B 0 1 1 "},
    {"ZOBJ",
     [] {
         std::unique_ptr<CRecta> line(NewLine(0, 0, 1, 1, 2));
         line->m_thick1 = line->m_thick2 = 3;
         const int r = RunZObjetoDlg(line.get(), ENT_LINE);
         return (Out() << r << line->m_p1.z << line->m_p2.z << line->m_thick1).s;
     },
     "1 2 2 3 "},
    {"REGRUESM", [] { double t = 0.3; return (Out() << RunRegruesaDlg(t) << t).s; }, "1 0.3 "},
    {"PARPUERT2",
     [] {
         auto doc = Drawing();
         doc->m_toolWords[TW_DOOR_PARAMS] = 2;
         for (int i : {2, 3, 4, 8})
             doc->m_toolReals[i] = 0.125 * i;
         const int r = RunSimpleHojaDlg(doc.get());
         const double* v = doc->m_toolReals;
         return (Out() << r << doc->m_toolWords[TW_DOOR_PARAMS] << v[2] << v[3] << v[4] << v[8]).s;
     },
     "1 2 0.25 0.375 0.5 1 "},
    {"HOJAS",
     [] {
         auto doc = Drawing();
         doc->m_toolWords[TW_DOOR_PARAMS] = 1;
         for (int i : {2, 3, 4, 7, 8})
             doc->m_toolReals[i] = 0.125 * i;
         const int r = RunHOJASDlg(doc.get());
         const double* v = doc->m_toolReals;
         return (Out() << r << doc->m_toolWords[TW_DOOR_PARAMS] << v[2] << v[3] << v[4] << v[7] << v[8]).s;
     },
     "1 1 0.25 0.375 0.5 0.875 1 "},
    {"PARVENT2",
     [] {
         auto doc = Drawing();
         int* w = doc->m_toolWords;
         double* v = doc->m_toolReals;
         w[3] = 2, w[4] = 1, w[5] = 3, w[6] = 2;
         for (int i : {5, 6, 9, 10})
             v[i] = 0.125 * i;
         const int r = RunSTANDARDDlg(doc.get());
         return (Out() << r << w[3] << w[4] << w[5] << w[6] << v[5] << v[6] << v[9] << v[10]).s;
     },
     "1 2 1 3 2 0.625 0.75 1.125 1.25 "},
};

// What the form's value fields hold, by field name.
Shown FormValues(const Form& form)
{
    Shown values;
    for (const FormField& f : form.fields)
        if (f.kind != FieldKind::Choice && f.kind != FieldKind::Button)
            values[f.name] = FieldValue(f);
    return values;
}

// What the dialog's value widgets show, by object name.
Shown WidgetValues(const QDialog& dlg)
{
    Shown values;
    for (const QWidget* w : dlg.findChildren<QWidget*>()) {
        const std::string name = w->objectName().toStdString();
        if (name.empty() || name.starts_with("qt_"))
            continue;
        if (const auto* edit = qobject_cast<const QLineEdit*>(w))
            values[name] = edit->text().toStdString();
        else if (const auto* check = qobject_cast<const QCheckBox*>(w))
            values[name] = check->isChecked() ? "1" : "0";
        else if (const auto* list = qobject_cast<const QListWidget*>(w))
            values[name] = list->currentItem() ? list->currentItem()->text().toStdString() : "";
        else if (const auto* label = qobject_cast<const QLabel*>(w))
            values[name] = label->text().toStdString();
    }
    return values;
}

// Accepts with a message box answered; an OK refused ends as Cancel.
class Boxes {
public:
    Boxes()
    {
        m_previous = SetMessageBoxHandler([this](const std::string&, unsigned) {
            refused = true;
            return int(IDOK);
        });
    }
    ~Boxes() { SetMessageBoxHandler(m_previous); }
    bool refused = false;

private:
    MessageBoxHandler m_previous;
};

}  // namespace

TEST(DialogValues, UntouchedOkHandsBackWhatEveryDialogShowed)
{
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.name);

        // The form as built, accepted by a script.
        Shown built;
        std::string scripted;
        int asked = 0;
        {
            Boxes boxes;
            const DialogScript previous = SetDialogScript([&](const Form& form) {
                if (asked++ == 0)
                    built = FormValues(form);
                return FormAnswer{asked == 1 ? 1 : 2, {}, {}};
            });
            scripted = row.run();
            SetDialogScript(previous);
            if (boxes.refused)
                scripted = "refused " + scripted;
        }

        // The real dialog, its OK button clicked.
        Shown widgets;
        std::string real;
        {
            Boxes boxes;
            const auto act = [&](QDialog& dlg) {
                widgets = WidgetValues(dlg);
                auto* buttons = dlg.findChild<QDialogButtonBox*>("buttons");
                ASSERT_TRUE(buttons);
                buttons->button(QDialogButtonBox::Ok)->click();
                if (dlg.isVisible())
                    buttons->button(QDialogButtonBox::Cancel)->click();
            };
            real = WithRealDialog(act, [&] { return row.run(); });
            if (boxes.refused)
                real = "refused " + real;
        }

        EXPECT_GT(asked, 0);
        EXPECT_EQ(widgets, built) << "the widgets show the form's values";
        EXPECT_EQ(real, scripted);
        EXPECT_EQ(real, row.expected);
    }
}
