#include "view2d/clipboard.h"

#include "doc/drawingblock.h"
#include "doc/rectadoc.h"
#include "doc/srvritem.h"
#include "platform/archive.h"
#include "platform/imagedc.h"
#include "platform/metafile.h"
#include "platform/painterdc.h"
#include "platform/msgbox.h"
#include "view2d/rectaview.h"
#include "view2d/undo.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>
#include <QSvgGenerator>

#include <algorithm>
#include <span>
#include <unordered_map>

namespace {

// The image side the clipboard picture keeps to; a larger area is scaled down.
constexpr int kMaxPictureSide = 4096;

}  // namespace

void CopyObjectsToClipboard(CRectaView& view)
{
    std::vector<const CDib*> records;
    for (const CDib* record : view.SelectedRecords())
        records.push_back(record);
    if (records.empty())
        return;
    // Under a working plane the records go as the world system has them.
    CRectaDoc* source = view.GetDocument();
    CRectaDoc world;
    if (source->m_ucsActive) {
        if (!source->WorldSystemCopy(world)) {
            AfxMessageBox("The objects could not be copied: the drawing could not be taken back to the world system.",
                          MB_OK | MB_ICONEXCLAMATION);
            return;
        }
        // The copy's records stand in the same order as ours.
        std::unordered_map<const CObject*, const CDib*> counterpart;
        POSITION theirs = world.GetFirstEntityPosition();
        for (const CObject* obj : source->GetEntityList()) {
            counterpart[obj] = world.GetEntityRecord(theirs);
            world.GetEntityList().GetNext(theirs);
        }
        for (const CDib*& record : records)
            record = counterpart.at(record);
        source = &world;
    }
    std::vector<BYTE> bytes;
    try {
        bytes = RecordsToDrawingBytes(*source, records);
    } catch (const CArchiveException& e) {
        AfxMessageBox("The objects could not be copied: " + e.m_message, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (bytes.empty())
        return;
    auto* data = new QMimeData;
    data->setData(kZpFormatMime, QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
    QGuiApplication::clipboard()->setMimeData(data);
}

void PasteObjectsFromClipboard(CRectaView& view)
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasFormat(kZpFormatMime))
        return;
    const QByteArray bytes = data->data(kZpFormatMime);
    CRectaDoc* doc = view.GetDocument();
    std::string error;
    const std::vector<CDib*> added = PasteDrawingBytes(
        *doc, std::span(reinterpret_cast<const BYTE*>(bytes.constData()), std::size_t(bytes.size())), error);
    if (!error.empty()) {
        AfxMessageBox("The objects on the clipboard could not be read (" + error + "); nothing was pasted.",
                      MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (doc->m_ucsActive)
        doc->TakeIntoPlane(added);
    for (CDib* record : added) {
        view.AddUndoStep(UNDO_ADDED, record->m_type, record, doc->FindEntityRecord(record));
        doc->ExtendExtentsByEntity(record->m_type, record->m_entity);
    }
    view.SaveUndoState();
    view.ClearPendingSteps();
    doc->UpdateAllViews(nullptr);
}

bool MakeAreaPicture(const CRectaDoc& doc, const CPointd& a, const CPointd& b, AreaPicture& picture)
{
    const CWindowPicture window(doc, a, b);
    LSize size;
    if (!window.ExtentPixels(size) || size.cx < 1 || size.cy < 1)
        return false;
    const CMetaFile recorded = window.Record();
    if (recorded.IsEmpty())
        return false;
    const double shrink = std::min(1.0, double(kMaxPictureSide) / double(std::max(size.cx, size.cy)));
    const int w = std::max(1, int(double(size.cx) * shrink)), h = std::max(1, int(double(size.cy) * shrink));
    const LRect target{0, 0, w, h};
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    CMetaPlayBudget imageBudget, svgBudget;
    {
        CImageDC dc(&image);
        recorded.Play(dc, target, imageBudget);
    }
    // The same calls as vector shapes and texts, which other programs scale.
    QByteArray svg;
    QBuffer buffer(&svg);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(QSize(w, h));
    generator.setViewBox(QRect(0, 0, w, h));
    generator.setResolution(96);
    generator.setTitle("Zepa drawing");
    QPainter painter(&generator);
    {
        CPainterDC dc(painter);
        recorded.Play(dc, target, svgBudget);
    }
    painter.end();
    picture.svg = svg;
    picture.image = image;
    picture.cut = recorded.IsCut() || imageBudget.CallsLeftOut() != 0 || svgBudget.CallsLeftOut() != 0;
    return true;
}

void CopyAreaToClipboardAsMetafile(CRectaView& view, const CPointd& a, const CPointd& b)
{
    AreaPicture picture;
    if (!MakeAreaPicture(*view.GetDocument(), a, b, picture)) {
        view.ShowPrompt(0, "WMFCopy: the area has no width or height");
        return;
    }
    auto* data = new QMimeData;
    data->setData("image/svg+xml", picture.svg);
    data->setImageData(picture.image);
    QGuiApplication::clipboard()->setMimeData(data);
    if (picture.cut)
        view.ShowPrompt(0, "WMFCopy: part of the area is left out");
}
