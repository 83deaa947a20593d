// Writes each sample drawing as <dir>/<name>.dxf, with <name>.expect listing
// what another program must read back from it, taken from the drawing itself:
// tab-separated rows of a kind, a layer and its values. check_dxf_export.py
// compares the two.
#include "doc/dxf.h"
#include "support/dxf_drawings.h"

#include <charconv>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

using dxfdrawings::kPi;

class Lister {
public:
    Lister(const CRectaDoc& doc, const DxfExportResult& exported) : m_doc(doc), m_names(exported) {}

    std::string Run()
    {
        m_inBlock = true;
        for (POSITION pos = m_doc.GetFirstBlockPosition(); pos;) {
            const CBloq* block = m_doc.GetNextBlock(pos);
            m_out << "BLOCK\t" << m_names.blockNames.at(block->m_name) << "\n";
            for (CObject* obj : block->GetEntityList())
                Element(*static_cast<const CDib*>(obj));
            for (CObject* obj : block->GetAttribList()) {
                const auto* a = static_cast<const CAttrib*>(obj);
                m_out << "ATTDEF\t" << Layer(a->m_text.m_layer) << "\t" << a->m_tag << "\t" << a->m_text.m_text;
                Point(a->m_text.m_insert);
                m_out << "\n";
            }
            m_out << "END\n";
        }
        int k = 0;
        for (CObject* obj : m_doc.GetEntityList()) {
            const auto* element = static_cast<const CDib*>(obj);
            if (element->m_type != ENT_DIMENSION)
                continue;
            const auto* dim = static_cast<const CAcot*>(element->m_entity);
            m_out << "BLOCK\t*D" << k++ << "\n";
            bool definition = true;
            for (CObject* part : dim->m_parts) {
                const auto* p = static_cast<const CDib*>(part);
                if (p->m_type == ENT_LINE && definition) {
                    definition = false;
                    continue;
                }
                Element(*p, &dim->m_layer);
            }
            m_out << "END\n";
        }
        m_out << "ENTITIES\n";
        m_inBlock = false;
        m_dimensions = 0;
        for (CObject* obj : m_doc.GetEntityList())
            Element(*static_cast<const CDib*>(obj));
        return m_out.str();
    }

private:
    const std::string& Layer(const std::string& name) const { return m_names.layerNames.at(name); }

    void Number(double v) { m_out << "\t" << Format(v); }
    void Point(const CPointd& p, bool z = true)
    {
        Number(p.x);
        Number(p.y);
        if (z)
            Number(p.z);
    }
    static std::string Format(double v)
    {
        char buf[40];
        return std::string(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
    }
    static double Degrees(double radians) { return radians * 180.0 / kPi; }

    // layer: the layer the record goes on when not the entity's own.
    void Element(const CDib& element, const std::string* layer = nullptr)
    {
        const auto& e = *static_cast<const CEntity*>(element.m_entity);
        const std::string& on = Layer(layer ? *layer : e.m_layer);
        switch (element.m_type) {
        case ENT_LINE: {
            const auto& l = static_cast<const CRecta&>(e);
            m_out << "LINE\t" << on;
            Point(l.m_p1);
            Point(l.m_p2);
            break;
        }
        case ENT_CIRCLE: {
            const auto& c = static_cast<const CCirc&>(e);
            m_out << "CIRCLE\t" << on;
            Point(c.m_centre);
            Number(c.m_rx);
            break;
        }
        case ENT_ARC: {
            const auto& a = static_cast<const CArc&>(e);
            m_out << "ARC\t" << on;
            Point(a.m_centre);
            Number(a.m_rx);
            Number(Degrees(a.m_start));
            Number(Degrees(a.m_end));
            break;
        }
        case ENT_POINT:
            m_out << "POINT\t" << on;
            Point(static_cast<const CPunt&>(e).m_point);
            break;
        case ENT_TEXT: {
            const auto& t = static_cast<const CText&>(e);
            m_out << "TEXT\t" << on;
            Point(t.m_insert);
            Number(t.m_font.lfHeight / 100.0);
            Number(-t.m_font.lfEscapement / 10.0);
            m_out << "\t" << (t.m_justify == JUSTIFY_RIGHT ? 2 : t.m_justify == JUSTIFY_CENTRE ? 1 : 0) << "\t"
                  << t.m_text;
            break;
        }
        case ENT_PLINE: {
            const auto& pl = static_cast<const CPLine&>(e);
            m_out << "POLYLINE\t" << on;
            for (CObject* obj : pl.m_segments) {
                const auto* seg = static_cast<const CDib*>(obj);
                if (seg->m_type == ENT_LINE) {
                    const auto* l = static_cast<const CRecta*>(seg->m_entity);
                    m_out << "\tL";
                    Point(l->m_p1, false);
                    Point(l->m_p2, false);
                } else {
                    const auto* a = static_cast<const CArc*>(seg->m_entity);
                    m_out << "\tA";
                    Point(a->m_centre, false);
                    Number(a->m_rx);
                    Number(Degrees(a->m_start));
                    Number(Degrees(a->m_end));
                }
            }
            break;
        }
        case ENT_INSERT: {
            const auto& ins = static_cast<const CInsBl&>(e);
            const CBloq* block = m_doc.FindBlock(ins.m_block);
            m_out << "INSERT\t" << on << "\t" << m_names.blockNames.at(ins.m_block);
            Point(ins.m_insert);
            Number(ins.m_sx);
            Number(ins.m_sy);
            Number(Degrees(ins.m_rotation));
            // Inserts nested in blocks show their block's values.
            for (CObject* obj : block->GetAttribList()) {
                const auto* a = static_cast<const CAttrib*>(obj);
                if (!m_inBlock)
                    m_out << "\t" << a->m_tag << "=" << a->m_text.m_text;
            }
            break;
        }
        case ENT_DIMENSION: {
            const CRecta* definition = static_cast<const CAcot&>(e).DefinitionLine();
            m_out << "DIMENSION\t" << on << "\t*D" << m_dimensions++;
            Point(definition->m_p1, false);
            Point(definition->m_p2, false);
            break;
        }
        case ENT_3DFACE: {
            const auto& f = static_cast<const CTdface&>(e);
            m_out << "3DFACE\t" << on;
            for (const CPointd& c : f.m_c)
                Point(c);
            m_out << "\t" << f.m_edgeMask;
            break;
        }
        default: return;
        }
        m_out << "\n";
    }

    const CRectaDoc& m_doc;
    const DxfExportResult& m_names;
    std::ostringstream m_out;
    int m_dimensions = 0;
    bool m_inBlock = false;
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output directory>\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    for (const dxfdrawings::Sample& sample : dxfdrawings::Samples()) {
        CRectaDoc doc;
        doc.OnNewDocument();
        sample.build(doc);
        const DxfExportResult exported = ExportDXF(doc);
        if (!exported.leftOut.empty()) {
            std::fprintf(stderr, "%s: the export left out:\n%s", sample.name, DescribeLeftOut(exported.leftOut).c_str());
            return 1;
        }
        std::ofstream(dir + "/" + sample.name + ".dxf", std::ios::binary) << exported.text;
        std::ofstream(dir + "/" + sample.name + ".expect", std::ios::binary) << Lister(doc, exported).Run();
    }
    return 0;
}
