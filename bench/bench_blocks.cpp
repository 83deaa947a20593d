// Drawings of many blocks and of texts in a face the font table lacks: the
// purge of unused blocks through its dialog against one pass over the names,
// DXF import and repaint of many blocks against a tenth of them scaled up, and
// a repaint of texts against QPainter drawing them.
#include "dialogs/dlgform.h"
#include "dialogs/purgedlg.h"
#include "doc/dxf.h"
#include "doc/rectadoc.h"
#include "model/bloq.h"
#include "model/insbl.h"
#include "model/recta.h"
#include "model/text.h"
#include "platform/dc.h"
#include "support/painting_host.h"
#include "support/timing.h"
#include "view2d/rectaview.h"

#include <QApplication>
#include <QPainter>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

namespace {

constexpr int kW = 1600, kH = 1000;

std::string BlockName(int i)
{
    std::string name = "B";
    name += std::to_string(i);
    return name;
}

// Blocks "B0".."B<n-1>", each one short line, laid on a square grid; the first
// inserted inserts each one at its grid place.
void FillBlocks(CRectaDoc& doc, int blocks, int inserted)
{
    const int side = int(std::ceil(std::sqrt(double(blocks))));
    for (int i = 0; i < blocks; ++i) {
        CObList line{ListOwnership::owns};
        auto* l = new CRecta;
        l->m_layer = "ZP";
        l->m_p1 = CPointd(0, 0);
        l->m_p2 = CPointd(0.6, 0.4);
        line.AddTail(new CDib(ENT_LINE, l));
        doc.AddBlock(CPointd(), line, BlockName(i));
    }
    for (int i = 0; i < inserted; ++i)
        doc.AddInsBlOnLayer(1, 0, "ZP", CPointd(i % side, i / side), 1, 0, 1, BlockName(i));
}

// The purge of unused blocks of unused + used, every box ticked.
double PurgeOnceMs(int unused, int used)
{
    CRectaDoc doc;
    doc.OnNewDocument();
    FillBlocks(doc, used + unused, used);
    const auto t0 = Clock::now();
    RunPurgaBloqsDlg(doc, CNamesInUse{});
    const double ms = Ms(t0, Clock::now());
    if (doc.GetBlockList().GetCount() != used)
        Fail("the purge did not remove every unused block");
    return ms;
}

// One hash-set pass: the inserts' names into a set, the blocks' names looked up.
double NamePassMs(int unused, int used)
{
    CRectaDoc doc;
    doc.OnNewDocument();
    FillBlocks(doc, used + unused, used);
    std::size_t found = 0;
    const double ms = Best(5, [&] {
        std::unordered_set<std::string> names;
        for (CObject* obj : doc.GetEntityList())
            names.insert(static_cast<const CInsBl*>(static_cast<const CDib*>(obj)->m_entity)->m_block);
        found = 0;
        for (CObject* obj : doc.GetBlockList())
            found += !names.count(static_cast<const CBloq*>(obj)->m_name);
    });
    if (found != std::size_t(unused))
        Fail("the name pass miscounted");
    return ms;
}

void Purge()
{
    SetDialogScript([](const Form& form) {
        FormAnswer answer;
        for (const FormField& f : form.fields)
            if (f.kind == FieldKind::Check)
                answer.values.emplace_back(f.name, "1");
        return answer;
    });
    double small = 1e300, big = 1e300;
    for (int round = 0; round < 7; ++round)
        small = std::min(small, PurgeOnceMs(10000, 1000));
    for (int round = 0; round < 7; ++round)
        big = std::min(big, PurgeOnceMs(30000, 1000));
    SetDialogScript({});
    char note[96];
    std::snprintf(note, sizeof note, " (10,000: %.4g ms; 30,000 / 10,000 = %.3g)", small, big / small);
    Report("purge_blocks", big, NamePassMs(30000, 1000), note);
}

// Best of three imports of text into a new drawing; count blocks are expected.
double ImportMs(const std::string& text, int count)
{
    return Best(3, [&] {
        CRectaDoc doc;
        doc.OnNewDocument();
        if (!ImportDXF(doc, text).ok || doc.GetBlockList().GetCount() != count)
            Fail("the import did not bring every block");
    });
}

std::string BlocksDxf(int count)
{
    CRectaDoc doc;
    doc.OnNewDocument();
    FillBlocks(doc, count, count);
    return ExportDXF(doc).text;
}

struct Shown {
    CRectaDoc doc;
    CRectaView view;
    PaintingHost host{view};

    void Open(const CPointd& lo, const CPointd& hi)
    {
        doc.m_windowMin = lo;
        doc.m_windowMax = hi;
        doc.AddView(&view);
        view.SetHost(&host);
        view.OnSize(kW, kH);
        view.OnInitialUpdate();
        view.Image();
    }
    ~Shown() { doc.RemoveView(&view); }

    double RepaintMs()
    {
        return Best(5, [&] {
            view.Invalidate();
            view.Image();
        });
    }
};

double BlocksRepaintMs(int count)
{
    Shown s;
    s.doc.OnNewDocument();
    FillBlocks(s.doc, count, count);
    const double side = std::ceil(std::sqrt(double(count)));
    s.Open(CPointd(-1, -1), CPointd(side + 1, side + 1));
    return s.RepaintMs();
}

void ManyBlocks()
{
    const double import10 = ImportMs(BlocksDxf(10000), 10000);
    const double import80 = ImportMs(BlocksDxf(80000), 80000);
    Report("dxf_import_blocks", import80, 8 * import10);
    const double repaint10 = BlocksRepaintMs(10000), repaint80 = BlocksRepaintMs(80000);
    Report("view_repaint_blocks", repaint80, 8 * repaint10);
}

// 1,000 texts in "Romans" in the view and 99,000 short lines beside it,
// against QPainter drawing the texts after one pass over the entity list.
void Texts()
{
    constexpr int kTexts = 1000, kLines = 99000;
    Shown s;
    s.doc.OnNewDocument();
    for (int i = 0; i < kLines; ++i) {
        CRecta* l = s.doc.AddRecta();
        l->m_p1 = CPointd(2000 + i % 300, i / 300);
        l->m_p2 = CPointd(2000.5 + i % 300, i / 300 + 0.5);
    }
    for (int i = 0; i < kTexts; ++i) {
        CText* t = s.doc.AddText();
        t->m_insert = CPointd(i % 25 * 64.0, i / 25 * 25.0);
        t->m_text = "Text " + std::to_string(i);
        t->m_font.lfHeight = 1000;  // ten units: about 13 pixels
        std::snprintf(t->m_font.lfFaceName, sizeof t->m_font.lfFaceName, "%s", "Romans");
    }
    s.Open(CPointd(0, 0), CPointd(kW - 1, kH - 1));
    const double ours = s.RepaintMs();

    QImage base(kW, kH, QImage::Format_RGB32);
    std::uintptr_t sum = 0;
    const double baseMs = Best(5, [&] {
        for (CObject* obj : s.doc.GetEntityList())
            sum += std::uintptr_t(static_cast<const CDib*>(obj)->m_type);
        base.fill(Qt::white);
        QPainter p(&base);
        QFont font(ResolveFontFamily("Romans", 0));
        font.setPixelSize(13);
        p.setFont(font);
        p.setPen(Qt::black);
        for (int i = 0; i < kTexts; ++i)
            p.drawText(i % 25 * 64, kH - 1 - i / 25 * 25, QString::fromStdString("Text " + std::to_string(i)));
    });
    volatile std::uintptr_t sink = sum;
    (void)sink;
    Report("view_repaint_texts", ours, baseMs);
}

}  // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    PrintMessageBoxes();

    Purge();
    Texts();
    ManyBlocks();
    return 0;
}
