#include "dialogs/stepdlg.h"

#include "dialogs/dlgform.h"
#include "doc/rectadoc.h"
#include "doc/renderer.h"
#include "model/bloq.h"
#include "model/circ.h"
#include "model/entitydraw.h"
#include "model/geometry.h"
#include "model/recta.h"
#include "platform/imagedc.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

struct KindName {
    int type;
    const char* name;
};

constexpr KindName kKinds[] = {
    {ENT_LINE, "Lines"},     {ENT_CIRCLE, "Circles"},   {ENT_ARC, "Arcs"},        {ENT_POINT, "Points"},
    {ENT_TEXT, "Texts"},     {ENT_PLINE, "Polylines"},  {ENT_INSERT, "Blocks"},   {ENT_DIMENSION, "Dimensions"},
    {ENT_3DFACE, "3D Faces"}, {ENT_HATCH, "Hatches"},    {ENT_BITMAP, "Bitmaps"},
};

std::string KindField(int type)
{
    return "type" + std::to_string(type);
}

std::string LayerField(const std::string& name)
{
    return "layer:" + name;
}

std::vector<CBloq*> Blocks(const CRectaDoc& doc)
{
    std::vector<CBloq*> blocks;
    for (POSITION pos = doc.GetFirstBlockPosition(); pos;)
        blocks.push_back(doc.GetNextBlock(pos));
    return blocks;
}

// The placement edits both insertion dialogs share.
void AddPlacement(Form& form)
{
    form.AddReal("rotation", "Rotation (degrees):", "0.00");
    form.AddReal("sx", "Scale X:", "1.00");
    form.AddReal("sy", "Scale Y:", "1.00");
}

// The chosen block and the placement back to the caller; 0 without a block.
int TakeInsertion(const Form& form, CBloq* chosen, CBloq*& block, std::string& name, double& rotation,
                  double& sx, double& sy)
{
    if (!chosen)
        return 0;
    block = chosen;
    name = chosen->m_name;
    rotation = DegToRad(form.Real("rotation", 0.0));
    sx = form.Real("sx", 1.0);
    sy = form.Real("sy", 1.0);
    return 1;
}

// Position of block among blocks, or -1.
int IndexOf(const std::vector<CBloq*>& blocks, const CBloq* block)
{
    const auto it = std::ranges::find(blocks, block);
    return block && it != blocks.end() ? int(it - blocks.begin()) : -1;
}

}  // namespace

bool CSelectionFilter::Passes(int type, std::string_view layer) const
{
    return std::ranges::find(types, type) != types.end() &&
           std::ranges::find(layersLeftOut, layer) == layersLeftOut.end();
}

int RunFiltrosDlg(const CRectaDoc& doc, CSelectionFilter& filter)
{
    Form form("FILTROS", "SELECTION FILTERS");
    form.AddText("kinds", "", "Objects:");
    for (const KindName& k : kKinds)
        form.AddCheck(KindField(k.type), k.name, true);
    form.AddText("layers", "", "Layers:");
    std::vector<std::string> layers;
    for (POSITION pos = doc.GetFirstLayerPosition(); pos;) {
        const CLayer* layer = doc.GetNextLayer(pos);
        layers.push_back(layer->m_name);
        form.AddCheck(LayerField(layer->m_name), layer->m_name, true);
    }
    const int result = RunForm(form);
    if (result != 1)
        return result;
    filter = {};
    for (const KindName& k : kKinds)
        if (form.Checked(KindField(k.type)))
            filter.types.push_back(k.type);
    for (const std::string& name : layers)
        if (!form.Checked(LayerField(name)))
            filter.layersLeftOut.push_back(name);
    return 1;
}

int RunInsertarDlgEx(const CRectaDoc& doc, CBloq*& block, std::string& name, double& rotation, double& sx,
                     double& sy)
{
    const std::vector<CBloq*> blocks = Blocks(doc);
    std::vector<std::string> names;
    for (const CBloq* b : blocks)
        names.push_back(b->m_name);
    Form form("INSERTAR", "INSERT BLOCK");
    form.AddList("block", "Block:", names, std::max(IndexOf(blocks, block), blocks.empty() ? -1 : 0));
    AddPlacement(form);
    if (RunForm(form) != 1)
        return 0;
    const int i = form.Index("block");
    return TakeInsertion(form, i >= 0 && i < int(blocks.size()) ? blocks[std::size_t(i)] : nullptr, block, name,
                         rotation, sx, sy);
}

int RunBloqInsPrevDlgEx(const CRectaDoc& doc, CBloq*& block, std::string& name, double& rotation, double& sx,
                        double& sy)
{
    constexpr int kCell = 96;
    const std::vector<CBloq*> blocks = Blocks(doc);
    Form form("BLOQINSPREV", "INSERT BLOCK");
    AddPlacement(form);
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        FormField& cell = form.AddChoice("block" + std::to_string(i), blocks[i]->m_name, int(i) + 1);
        cell.picture = BlockPreview(doc, *blocks[i], kCell, kCell);
    }
    if (RunForm(form) != 1)
        return 0;
    const int current = IndexOf(blocks, block);
    CBloq* chosen = form.choice > 0 ? blocks[std::size_t(form.choice - 1)] : current >= 0 ? block : nullptr;
    return TakeInsertion(form, chosen, block, name, rotation, sx, sy);
}

QImage BlockPreview(const CRectaDoc& doc, const CBloq& block, int width, int height)
{
    QImage image(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
    image.fill(Qt::white);
    CImageDC dc(&image);
    RenderBlockToDC(doc, block, 0.0, 1.0, 1.0, image.width(), image.height(), dc);
    return image;
}

int RunZObjetoDlg(CObject* entity, int type)
{
    if (!entity || (type != ENT_LINE && type != ENT_ARC))
        return 0;
    auto* line = type == ENT_LINE ? static_cast<CRecta*>(entity) : nullptr;
    auto* arc = type == ENT_ARC ? static_cast<CArc*>(entity) : nullptr;
    const double elevation = line ? std::min(line->m_p1.z, line->m_p2.z) : arc->m_centre.z;
    const double thickness = line ? line->m_thick1 : arc->m_thick1;
    Form form("ZOBJ", "OBJECT ELEVATION / THICKNESS");
    form.AddReal("elevation", "Elevation:", FormatShortest(elevation));
    form.AddReal("thickness", "Thickness:", FormatShortest(thickness));
    const int result = RunForm(form);
    if (result != 1)
        return result;
    const double z = form.Real("elevation", elevation), t = form.Real("thickness", thickness);
    if (line) {
        // The lower end goes to the elevation; the height between the ends stays.
        line->m_p1.z += z - elevation;
        line->m_p2.z += z - elevation;
        line->m_thick1 = line->m_thick2 = t;
    } else {
        arc->m_centre.z = z;
        arc->m_thick1 = arc->m_thick2 = t;
    }
    return 1;
}
