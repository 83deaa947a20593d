// DXF import into a drawing and DXF export of a drawing, as text in memory.
// CRectaDoc::ReadDXF and CRectaDoc::WriteDXF add the file and the messages.
#pragma once

#include "platform/fileio.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

class CRectaDoc;

// What an import or export left out: a label (a DXF kind, with the reason in
// brackets when it is not the kind itself) and how many of it.
using DxfLeftOut = std::map<std::string, int>;

// One "label: count" line per entry, in label order; empty when nothing was left out.
std::string DescribeLeftOut(const DxfLeftOut& leftOut);
// The heading, then one line per name that changed.
std::string DescribeRenamed(const std::string& heading, const std::vector<std::string>& renamed);

struct DxfImportResult {
    bool ok = false;
    std::string error;  // why nothing was imported: where and what
    DxfLeftOut leftOut;
    // Names the drawing holds otherwise than the file writes them, and why.
    std::vector<std::string> renamed;
};

// Adds the layers, blocks and entities of an ASCII DXF text to the drawing;
// on any error the drawing is left exactly as it was. Layers are merged by
// name, a block whose name the drawing has is renamed (its inserts follow it),
// and the tool counters take the file's value when it is higher.
DxfImportResult ImportDXF(CRectaDoc& doc, std::string_view text);

struct DxfExportResult {
    std::string text;  // an AC1009 DXF file, CR LF line ends, code page 1252
    DxfLeftOut leftOut;
    // The name the file gives each layer and block of the drawing: the same
    // name unless it had to change to be valid and unique.
    std::map<std::string, std::string> layerNames;
    std::map<std::string, std::string> blockNames;
    // Polylines whose segments do not all meet, each written as one POLYLINE
    // for each run of segments that meet, and how many POLYLINEs they gave.
    int splitPolylines = 0;
    int splitRuns = 0;
};

DxfExportResult ExportDXF(const CRectaDoc& doc);
// The same, the text given to sink in pieces as it is made and left empty in the result.
DxfExportResult ExportDXF(const CRectaDoc& doc, const ByteSink& sink);
