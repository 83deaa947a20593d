// A block written out as a drawing file of its own, and a drawing file read
// into the drawing as a new block, ready to be inserted.
#pragma once

#include <string>
#include <string_view>

class CRectaDoc;
class CBloq;

// Writes block as a drawing file: the drawing's header and settings, the
// block's extents as window and extents, the drawing's layers its entities
// use, its entities, the blocks it inserts and its attributes. The file is
// replaced only once all of it is written. False, reported in one message,
// when it cannot be.
bool WriteBlockToDrawingFile(CRectaDoc& doc, const std::string& path, CBloq& block);

// Reads the drawing file at path into a new block of doc named name ("ZP_AC"
// for any name beginning "zp_ac"), with the layers and blocks it needs that
// doc lacks. The file is read into a drawing of its own first, so one that
// cannot be read whole adds nothing; nor does a name doc has already. Either
// is reported in one message. The new block, or null.
CBloq* InsertDrawingFile(CRectaDoc& doc, const std::string& path, std::string_view name);
