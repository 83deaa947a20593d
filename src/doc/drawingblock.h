// A block written out as a drawing file of its own, and a drawing file read
// into the drawing as a new block, ready to be inserted.
#pragma once

#include "platform/types.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

class CRectaDoc;
class CBloq;
class CDib;
class CArchive;

// Writes block as a drawing file: the drawing's header and settings, the
// block's extents as window and extents, the drawing's layers its entities
// use, its entities, the blocks it inserts and its attributes. A block that
// reaches itself through its inserts is not one of the file's blocks (its
// inserts of itself name a block the file does not hold). The file is
// replaced only once all of it is written. False, reported in one message,
// when it cannot be.
bool WriteBlockToDrawingFile(CRectaDoc& doc, const std::string& path, CBloq& block);
// The bytes of that file; throws CArchiveException when they cannot be made.
std::vector<BYTE> BlockDrawingBytes(CRectaDoc& doc, CBloq& block);

// Reads past a drawing file's header and settings; the file's current layer
// name, every other value dropped.
std::string ReadDrawingHeader(CArchive& ar);

// Reads the drawing file at path into a new block of doc named name ("ZP_AC"
// for any name beginning "zp_ac"), with the layers and blocks it needs that
// doc lacks. A block of the file named as the new block comes along under the
// name with the first free suffix "_1", "_2"..., and the file's inserts of it
// follow, so that the new block does not insert itself. The file is read into
// a drawing of its own first, so one that cannot be read whole adds nothing;
// nor does a name doc has already. Either is reported in one message. The new
// block, or null.
CBloq* InsertDrawingFile(CRectaDoc& doc, const std::string& path, std::string_view name);

// Records carried between drawings (the clipboard's "ZP_FORMAT"): copies of
// the records, as the drawing file of a block of them, with the drawing's
// settings and the layers and blocks they use. Kinds without a copy are left
// out; empty when nothing is left. Throws CArchiveException when the bytes
// cannot be made.
std::vector<BYTE> RecordsToDrawingBytes(CRectaDoc& doc, const std::vector<const CDib*>& records);

// Reads bytes as a drawing file, whoever made them. When they read whole,
// the layers and blocks doc lacks are added and the records appended, each
// visible as its layer is; they are returned. Otherwise nothing is added and
// error says where and what.
std::vector<CDib*> PasteDrawingBytes(CRectaDoc& doc, std::span<const BYTE> bytes, std::string& error);
