// Saving and opening a drawing of 200,000 mixed entities, against writing and
// reading the same bytes with plain file I/O.
#include "doc/rectadoc.h"
#include "model/circ.h"
#include "model/punt.h"
#include "model/recta.h"
#include "model/text.h"
#include "support/timing.h"

#include <QApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

namespace {

void Fill(CRectaDoc& doc, int n)
{
    for (int i = 0; i < n; ++i) {
        const double x = i % 1000, y = i / 1000;
        switch (i % 5) {
        case 0: {
            CRecta* l = doc.AddRecta();
            l->m_p1 = CPointd(x, y);
            l->m_p2 = CPointd(x + 1, y + 1);
            break;
        }
        case 1: doc.AddCirc()->m_rx = 1; break;
        case 2: doc.AddArc()->m_end = 1; break;
        case 3: doc.AddPunt()->m_point = CPointd(x, y); break;
        default: doc.AddText()->m_text = "label"; break;
        }
    }
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    PrintMessageBoxes();
    QTemporaryDir dir;
    const std::string path = dir.filePath("bench.zpd").toStdString();
    const std::string plain = dir.filePath("plain.bin").toStdString();

    CRectaDoc doc;
    doc.OnNewDocument();
    Fill(doc, 200000);

    const double save = Best(3, [&] { doc.OnSaveDocument(path); });
    std::vector<char> bytes;
    {
        FILE* f = std::fopen(path.c_str(), "rb");
        std::fseek(f, 0, SEEK_END);
        bytes.resize(std::size_t(std::ftell(f)));
        std::fseek(f, 0, SEEK_SET);
        if (std::fread(bytes.data(), 1, bytes.size(), f) != bytes.size())
            return 1;
        std::fclose(f);
    }
    const double write = Best(3, [&] {
        FILE* f = std::fopen(plain.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    });
    const double load = Best(3, [&] {
        CRectaDoc back;
        back.OnOpenDocument(path);
    });
    const double read = Best(3, [&] { ReadPlain(plain, bytes.size()); });
    std::printf("drawing_save ratio=%.2f ours_ms=%.3f base_ms=%.3f (%zu bytes)\n", save / write, save, write,
                bytes.size());
    std::printf("drawing_load ratio=%.2f ours_ms=%.3f base_ms=%.3f\n", load / read, load, read);
}
