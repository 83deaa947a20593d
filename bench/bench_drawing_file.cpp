// Saving and opening a drawing of 200,000 mixed entities, against writing and
// reading the same bytes with plain file I/O.
#include "doc/rectadoc.h"
#include "model/circ.h"
#include "model/punt.h"
#include "model/recta.h"
#include "model/text.h"
#include "platform/msgbox.h"

#include <QApplication>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point a, Clock::time_point b)
{
    return std::chrono::duration<double, std::milli>(b - a).count();
}

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

template <class F>
double Best(F f)
{
    double best = 1e300;
    for (int i = 0; i < 3; ++i) {
        auto t0 = Clock::now();
        f();
        best = std::min(best, Ms(t0, Clock::now()));
    }
    return best;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    SetMessageBoxHandler([](const std::string& text, unsigned) {
        std::fprintf(stderr, "%s\n", text.c_str());
        return int(IDOK);
    });
    QTemporaryDir dir;
    const std::string path = dir.filePath("bench.zpd").toStdString();
    const std::string plain = dir.filePath("plain.bin").toStdString();

    CRectaDoc doc;
    doc.OnNewDocument();
    Fill(doc, 200000);

    const double save = Best([&] { doc.OnSaveDocument(path); });
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
    const double write = Best([&] {
        FILE* f = std::fopen(plain.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    });
    const double load = Best([&] {
        CRectaDoc back;
        back.OnOpenDocument(path);
    });
    const double read = Best([&] {
        std::vector<char> in(bytes.size());
        FILE* f = std::fopen(plain.c_str(), "rb");
        if (std::fread(in.data(), 1, in.size(), f) != in.size())
            std::abort();
        std::fclose(f);
    });
    std::printf("drawing_save ratio=%.2f ours_ms=%.3f base_ms=%.3f (%zu bytes)\n", save / write, save, write,
                bytes.size());
    std::printf("drawing_load ratio=%.2f ours_ms=%.3f base_ms=%.3f\n", load / read, load, read);
}
