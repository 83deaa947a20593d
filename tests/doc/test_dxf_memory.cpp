// An allocation that fails anywhere in a DXF import refuses the file and
// leaves the drawing as it was. The failure is injected: this test program
// replaces operator new with one that, once armed, fails one chosen
// allocation and hands every other to the operator it replaces (the
// sanitizer's, which would end the process instead of throwing).
#include "doc/dxf.h"
#include "doc/rectadoc.h"
#include "fuzz/dxf_import.h"
#include "model/bloq.h"
#include "model/insbl.h"
#include "model/layer.h"
#include "model/recta.h"
#include "platform/archive.h"
#include "support/files.h"
#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <new>
#include <string>
#include <vector>

namespace {

// Allocations let through before the one that fails; -1 when not armed.
thread_local long t_allowed = -1;
// The size from which an allocation counts; smaller ones pass.
thread_local std::size_t t_fromSize = 0;

using NewFn = void* (*)(std::size_t);

NewFn NextNew()
{
    static const NewFn next = [] {
        auto* fn = reinterpret_cast<NewFn>(dlsym(RTLD_NEXT, "_Znwm"));
        if (!fn) {
            std::fputs("operator new to hand on to not found\n", stderr);
            std::abort();
        }
        return fn;
    }();
    return next;
}

}  // namespace

void* operator new(std::size_t size)
{
    if (t_allowed >= 0 && size >= t_fromSize && t_allowed-- == 0)
        throw std::bad_alloc();
    return NextNew()(size);
}

namespace {

// Fails the allocation after allowed others of at least fromSize bytes, on
// this thread, until the scope ends.
class FailingAllocation {
public:
    explicit FailingAllocation(long allowed, std::size_t fromSize = 0)
    {
        t_fromSize = fromSize;
        t_allowed = allowed;
    }
    ~FailingAllocation() { t_allowed = -1; }
    FailingAllocation(const FailingAllocation&) = delete;
    FailingAllocation& operator=(const FailingAllocation&) = delete;

    // Whether the chosen allocation was reached and failed.
    bool Failed() const { return t_allowed < 0; }
};

// A drawing with something of each list, and a block of a name the fixture has too.
void Drawing(CRectaDoc& doc)
{
    doc.OnNewDocument();
    AddLayerAndBlock(doc);
    CObList entities{ListOwnership::owns};
    // Inserts name a block only the file has: the drawing's boxes change with it.
    auto* outer = new CInsBl;
    outer->m_block = "Outer block";
    outer->m_insert = CPointd(40, 40);
    outer->m_sx = outer->m_sy = 1;
    entities.AddTail(new CDib(ENT_INSERT, outer));
    doc.AddBlock(CPointd(), entities, "Door A");
    CRecta* own = doc.AddRecta();
    own->m_p1 = CPointd(-5, -5);
    own->m_p2 = CPointd(5, 5);
    doc.AddInsBl()->m_block = "Outer block";
    doc.CalcExtents();
    doc.CalcBlockExtents();
    doc.m_toolWords[TW_DOOR_BLOCKS] = 3;
    doc.SetModifiedFlag(false);
}

// Everything of the drawing its file holds, and what its lists and indexes
// find besides.
std::string State(const CRectaDoc& doc)
{
    CArchive ar;
    const_cast<CRectaDoc&>(doc).Serialize(ar);
    const std::vector<BYTE> bytes = ar.TakeData();
    std::string state(bytes.begin(), bytes.end());
    state += doc.IsModified() ? "\nmodified" : "\nunmodified";
    for (POSITION pos = doc.GetFirstBlockPosition(); pos;) {
        const CBloq* block = doc.GetNextBlock(pos);
        state += "\n" + block->m_name + (doc.FindBlock(block->m_name) == block ? " found " : " lost ") +
                 std::to_string(block->m_box.lo.x) + " " + std::to_string(block->m_box.hi.y);
    }
    for (POSITION pos = doc.GetFirstEntityPosition(); pos; doc.GetEntityList().GetNext(pos))
        if (doc.FindEntityBySerial(doc.GetEntityRecord(pos)->m_serial) != pos)
            state += "\nan element the index does not find";
    return state;
}

TEST(DxfMemory, AnAllocationFailingAnywhereRefusesTheFileAndKeepsTheDrawing)
{
    const std::string text = FileText(std::string(ZP_TEST_DATA) + "/dxf/r12.dxf");
    ASSERT_FALSE(text.empty());
    bool failed = true;
    long allowed = 0;
    for (; failed; ++allowed) {
        CRectaDoc doc;
        Drawing(doc);
        const std::string before = State(doc);
        DxfImportResult result;
        {
            FailingAllocation failing(allowed);
            result = ImportDXF(doc, text);
            failed = failing.Failed();
        }
        if (!failed) {
            EXPECT_TRUE(result.ok) << result.error;
            EXPECT_NE(State(doc), before);
            break;
        }
        EXPECT_FALSE(result.ok) << allowed;
        EXPECT_EQ(result.error, "there is not enough memory to import it") << allowed;
        EXPECT_TRUE(State(doc) == before) << "after failing allocation " << allowed;
    }
    // The import was reached whole at last.
    EXPECT_GT(allowed, 100);
}

TEST(DxfMemory, AFileThereIsNoRoomForIsReportedAndNothingAdded)
{
    const std::string path = testing::TempDir() + "/no_room.dxf";
    const std::string text = FileText(std::string(ZP_TEST_DATA) + "/dxf/r12.dxf");
    std::ofstream(path, std::ios::binary) << text;
    CRectaDoc doc;
    Drawing(doc);
    const std::string before = State(doc);
    ScriptedMessageBoxes boxes({IDOK});
    {
        // The first allocation of the file's size is the file's bytes.
        FailingAllocation failing(0, text.size());
        EXPECT_FALSE(doc.ReadDXF(path));
        EXPECT_TRUE(failing.Failed());
    }
    ASSERT_EQ(boxes.asked.size(), 1u);
    EXPECT_NE(boxes.asked[0].find("could not be imported: there is not enough memory to import it. Nothing was added."),
              std::string::npos)
        << boxes.asked[0];
    EXPECT_TRUE(State(doc) == before);
}

}  // namespace
