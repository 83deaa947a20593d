// Dialogs that the plan view's command steps run: the selection filter, block
// insertion (a list, or drawn previews), and an object's elevation and thickness.
#pragma once

#include <QImage>

#include <string>
#include <string_view>
#include <vector>

class CBloq;
class CObject;
class CRectaDoc;

// What a selection keeps: records of the kinds (type codes) ticked, unless
// their layer is one left unticked.
struct CSelectionFilter {
    std::vector<int> types;
    std::vector<std::string> layersLeftOut;

    bool Passes(int type, std::string_view layer) const;
};

// "FILTROS": a check box for every entity kind and every layer of the
// drawing, all ticked; on OK filter holds what was chosen.
int RunFiltrosDlg(const CRectaDoc& doc, CSelectionFilter& filter);

// "INSERTAR": the drawing's blocks in a list (block, when given, is the
// current one), rotation in degrees, scale x and scale y. On OK with a block
// chosen: block, its name, the rotation in radians and the scales, and 1;
// otherwise 0 and nothing changed.
int RunInsertarDlgEx(const CRectaDoc& doc, CBloq*& block, std::string& name, double& rotation, double& sx,
                     double& sy);
// "BLOQINSPREV": the same, choosing a block by its drawn preview; OK without
// a choice takes the current block.
int RunBloqInsPrevDlgEx(const CRectaDoc& doc, CBloq*& block, std::string& name, double& rotation, double& sx,
                        double& sy);
// The block drawn fitted into a white width x height picture, its insertion
// point marked (see RenderBlockToDC).
QImage BlockPreview(const CRectaDoc& doc, const CBloq& block, int width, int height);

// "ZOBJ": the elevation (a line's lower end, an arc's centre) and thickness
// of a line (type 1) or an arc (type 3), changed in place on OK. 0 without
// showing for other types.
int RunZObjetoDlg(CObject* entity, int type);
