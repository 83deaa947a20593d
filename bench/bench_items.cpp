// Embedded objects: a plan view of 1600 x 1000 pixels repainted with 200
// objects, and the drawing that holds them opened from its file.
//
// The objects lie in a grid of 20 x 10 cells of 80 x 100 pixels, each 72 x 92
// pixels: 100 pictures (PNG, 64 x 48 pixels each, all different) and 100
// embedded drawings of 2,000 lines each (all different, lines up to 1.5
// units long in their 12 x 8 window). The view repaints from the pictures the
// objects keep: the base draws the same decoded pictures and the same lines
// with QPainter into the same rectangles, with nothing else around them.
// Opening is compared with reading the file's bytes.
#include "doc/cntritem.h"
#include "doc/rectadoc.h"
#include "model/recta.h"
#include "platform/archive.h"
#include "platform/picturecache.h"
#include "support/timing.h"
#include "view2d/rectaview.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kW = 1600, kH = 1000;
constexpr int kColumns = 20, kRows = 10, kCellW = 80, kCellH = 100, kInset = 4;
constexpr int kLines = 2000;
constexpr double kWindowW = 12.0, kWindowH = 8.0;

std::vector<BYTE> PngOf(std::mt19937& rng)
{
    QImage image(64, 48, QImage::Format_RGB32);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int y = 0; y < 48; y += 8)
        for (int x = 0; x < 64; x += 8)
            for (int dy = 0; dy < 8; ++dy)
                for (int dx = 0; dx < 8; ++dx)
                    image.setPixel(x + dx, y + dy, qRgb(byte(rng), byte(rng), byte(rng)));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return std::vector<BYTE>(bytes.begin(), bytes.end());
}

CRect Cell(int i)
{
    const int x = (i % kColumns) * kCellW, y = (i / kColumns) * kCellH;
    return CRect(x + kInset, y + kInset, x + kCellW - kInset, y + kCellH - kInset);
}

}  // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    PrintMessageBoxes();
    std::mt19937 rng(20240615);
    std::uniform_real_distribution<double> unit(0.0, 1.0);

    // The embedded drawings, each of its own lines.
    std::vector<std::vector<QLineF>> lines(kColumns * kRows / 2);
    std::vector<std::vector<BYTE>> drawingData;
    for (std::vector<QLineF>& own : lines) {
        CRectaDoc inner;
        inner.OnNewDocument();
        for (int i = 0; i < kLines; ++i) {
            const double x = unit(rng) * kWindowW, y = unit(rng) * kWindowH;
            const double len = unit(rng) * 1.5, dir = unit(rng) * 2 * std::numbers::pi;
            const double x2 = std::clamp(x + len * std::cos(dir), 0.0, kWindowW);
            const double y2 = std::clamp(y + len * std::sin(dir), 0.0, kWindowH);
            CRecta* l = inner.AddRecta();
            l->m_p1 = CPointd(x, y);
            l->m_p2 = CPointd(x2, y2);
            own.emplace_back(x, kWindowH - y, x2, kWindowH - y2);  // y down, as the device has it
        }
        CArchive file;
        inner.Serialize(file);
        CRectaCntrItem drawing;
        std::string error;
        if (!MakeDrawingItem(drawing, file.TakeData(), "lines.zpd", error))
            Fail(error.c_str());
        drawingData.push_back(drawing.ItemDataBytes());
    }

    CRectaDoc doc;
    doc.OnNewDocument();
    CRectaView view;
    doc.AddView(&view);
    view.OnSize(kW, kH);
    view.OnInitialUpdate();
    std::vector<std::shared_ptr<const QImage>> pictures;
    std::string error;
    for (int i = 0; i < kColumns * kRows; ++i) {
        auto item = std::make_unique<CRectaCntrItem>(&doc);
        if (i % 2 == 0) {
            std::vector<BYTE> png = PngOf(rng);
            pictures.push_back(ItemPictureCache().Get(KeyOfBytes(png), png, QSize()));
            if (!item->CreatePictureFromBytes(std::move(png), "p.png", error))
                Fail(error.c_str());
        } else if (item->ReadItemDataBytes(drawingData[std::size_t(i / 2)])) {
            Fail("the drawing's item data do not read back");
        }
        doc.AddItem(std::move(item))->OnChangeItemPosition(Cell(i));
    }

    const double ours = Best(5, [&] {
        view.Invalidate();
        view.Image();
    });
    QImage baseImage(kW, kH, QImage::Format_RGB32);
    const double base = Best(5, [&] {
        baseImage.fill(Qt::white);
        QPainter p(&baseImage);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(Qt::black, 0));
        for (int i = 0; i < kColumns * kRows; ++i) {
            const CRect r = Cell(i);
            const QRectF target(r.left, r.top, double(r.Width()), double(r.Height()));
            if (i % 2 == 0) {
                p.drawImage(target, *pictures[std::size_t(i / 2)]);
                continue;
            }
            p.save();
            p.translate(target.topLeft());
            p.scale(target.width() / kWindowW, target.height() / kWindowH);
            p.drawLines(lines[std::size_t(i / 2)].data(), int(lines[std::size_t(i / 2)].size()));
            p.restore();
        }
    });
    // Both drew the same: about as many pixels are inked.
    auto ink = [](const QImage& image) {
        long n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += (image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
        return n;
    };
    const long oursInk = ink(view.Image()), baseInk = ink(baseImage);
    if (oursInk < baseInk * 9 / 10 || oursInk > baseInk * 11 / 10)
        Fail("the view and the base inked different amounts of pixels");
    Report("view_repaint_items", ours, base);

    QTemporaryDir dir;
    const std::string path = QDir(dir.path()).filePath("items.zpd").toStdString();
    if (!doc.OnSaveDocument(path))
        Fail("the drawing with its objects could not be saved");
    const std::size_t size = std::size_t(QFileInfo(QString::fromStdString(path)).size());
    const double open = Best(5, [&] {
        CRectaDoc opened;
        if (!opened.OnOpenDocument(path) || opened.GetItems().size() != std::size_t(kColumns * kRows))
            Fail("the drawing with its objects did not open");
    });
    const double read = Best(5, [&] {
        if (ReadPlain(path, size).size() != size)
            Fail("short read");
    });
    Report("file_load_items", open, read);
    doc.RemoveView(&view);
    return 0;
}
