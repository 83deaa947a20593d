// DXF export and import of a drawing of 200,000 lines and 20,000 arcs,
// circles and texts: the export against writing the same bytes, the import
// against reading the file and splitting it into lines. The export again for
// a million lines at points of full precision.
#include "doc/dxf.h"
#include "doc/rectadoc.h"
#include "model/circ.h"
#include "model/recta.h"
#include "model/text.h"
#include "platform/fileio.h"
#include "support/timing.h"

#include <QApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <random>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace {

void Fill(CRectaDoc& doc)
{
    // Points on a grid of hundredths, as typed and snapped drawings have them.
    for (int i = 0; i < 200000; ++i) {
        CRecta* l = doc.AddRecta();
        l->m_p1 = CPointd(i % 1000 * 37 / 100.0, i / 1000 * 113 / 100.0);
        l->m_p2 = CPointd((i % 1000 * 37 + 25) / 100.0, (i / 1000 * 113 + 33) / 100.0);
    }
    for (int i = 0; i < 20000; ++i) {
        const CPointd at(i % 100 * 2.5, i / 100 * 2.5);
        switch (i % 3) {
        case 0: {
            CArc* a = doc.AddArc();
            a->m_centre = at;
            a->m_rx = a->m_ry = 1.2;
            a->m_start = (i % 360) * 3.14159265358979323846 / 180.0;
            a->m_end = a->m_start + 2;
            break;
        }
        case 1: {
            CCirc* c = doc.AddCirc();
            c->m_centre = at;
            c->m_rx = c->m_ry = 0.75;
            break;
        }
        default: {
            CText* t = doc.AddText();
            t->m_insert = at;
            t->m_text = "Label " + std::to_string(i);
            t->m_font.lfHeight = 25;
            break;
        }
        }
    }
}

// A million lines between random points, whose digits run to full precision.
void FillMillion(CRectaDoc& doc)
{
    std::mt19937_64 random(5);
    std::uniform_real_distribution<double> coordinate(0.0, 10000.0);
    for (int i = 0; i < 1000000; ++i) {
        CRecta* l = doc.AddRecta();
        l->m_p1 = CPointd(coordinate(random), coordinate(random));
        l->m_p2 = CPointd(coordinate(random), coordinate(random));
    }
}

// The export written as the program writes every file (atomically, flushed
// to the disk) against writing its bytes so; prints the line, returns the text.
std::string MeasureExport(const char* name, CRectaDoc& doc, const std::string& path, const std::string& plain)
{
    const double exportMs = Best(3, [&] { doc.WriteDXF(path); });
    std::string text = ExportDXF(doc).text;
    const std::span<const BYTE> bytes(reinterpret_cast<const BYTE*>(text.data()), text.size());
    const double writeMs = Best(3, [&] {
        std::string error;
        ReplaceFile(plain, kMaxFileBytes, bytes, error);
    });
    std::printf("%s ratio=%.2f ours_ms=%.3f base_ms=%.3f (%zu bytes)\n", name, exportMs / writeMs, exportMs, writeMs,
                text.size());
    return text;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    PrintMessageBoxes();
    QTemporaryDir dir;
    const std::string path = dir.filePath("bench.dxf").toStdString();
    const std::string plain = dir.filePath("plain.bin").toStdString();

    CRectaDoc doc;
    doc.OnNewDocument();
    Fill(doc);

    const std::string text = MeasureExport("dxf_export", doc, path, plain);
    // Each drawing read is freed after its timing.
    double importMs = 1e300;
    for (int i = 0; i < 3; ++i) {
        CRectaDoc back;
        back.OnNewDocument();
        const auto t0 = Clock::now();
        back.ReadDXF(path);
        importMs = std::min(importMs, Ms(t0, Clock::now()));
    }
    std::size_t lineCount = 0;
    const double splitMs = Best(3, [&] {
        const std::vector<char> in = ReadPlain(plain, text.size());
        std::vector<std::string_view> lines;
        for (const char *p = in.data(), *end = p + in.size(); p < end;) {
            const auto* lf = static_cast<const char*>(std::memchr(p, '\n', std::size_t(end - p)));
            const char* next = lf ? lf + 1 : end;
            lines.emplace_back(p, std::size_t(next - p));
            p = next;
        }
        lineCount = lines.size();
    });
    const double countMs = Best(3, [&] {
        const std::vector<char> in = ReadPlain(plain, text.size());
        std::size_t n = 0;
        for (const char *p = in.data(), *end = p + in.size(); p < end; ++n) {
            const auto* lf = static_cast<const char*>(std::memchr(p, '\n', std::size_t(end - p)));
            p = lf ? lf + 1 : end;
        }
        if (n != lineCount)
            std::abort();
    });
    std::printf("dxf_import ratio=%.2f ours_ms=%.3f base_ms=%.3f mb_per_s=%.1f (%zu lines; counting them alone %.3f ms)\n",
                importMs / splitMs, importMs, splitMs, double(text.size()) / 1e6 / (importMs / 1000.0), lineCount,
                countMs);

    CRectaDoc million;
    million.OnNewDocument();
    FillMillion(million);
    MeasureExport("dxf_export_1m", million, path, plain);
}
