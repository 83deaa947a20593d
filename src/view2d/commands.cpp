// Command starters, repetition of the last command, and the view commands
// that set no command.
#include "view2d/rectaview.h"

#include "doc/rectadoc.h"
#include "res/commands.h"

#include <string_view>

namespace {

std::string Padded(std::string_view text, std::size_t width = 27)
{
    std::string s(text);
    if (s.size() < width)
        s.resize(width, ' ');
    return s;
}

}  // namespace

bool CRectaView::OnCommand(int id)
{
    CRectaDoc* doc = GetDocument();
    if (const StarterInfo* s = FindStarter(id)) {
        CancelCommand();
        m_command = s->code;
        m_mode = s->mode;
        m_selCount = 0;
        m_bandState = 0;
        if (s->textAlign)
            m_textAlign = s->textAlign;
        if (id == 10084 || id == 10040 || id == 10079)
            m_pickedEntity = nullptr;
        BeginCommand();
        if (!s->prompt)
            ShowSelectPrompt();
        else if (*s->prompt)
            ShowPrompt(0, Padded(s->prompt));
        return true;
    }
    switch (id) {
    case ID_REDRAW:
        if (m_bandState == 1)
            EraseRubberBand();
        doc->UpdateAllViews(nullptr);
        return true;
    case ID_UNDO:
        CancelCommand();
        DoUndo();
        return true;
    case ID_REDO:
        CancelCommand();
        DoRedo();
        return true;
    case ID_CANCEL_COMMAND: CancelCommand(); return true;
    case ID_ZOOM_WINDOW: OnZoomWindow(); return true;
    case ID_ZOOM_PREVIOUS: OnZoomPrevious(); return true;
    case ID_ZOOM_EXTENTS: OnZoomExtents(); return true;
    case ID_ORTHO: doc->ToggleOrtho(); return true;
    case ID_REFERENCE_POINT:
        m_refPointState = 1;
        m_savedPrompt = m_prompt;
        ShowPrompt(0, Padded("Pick Ref. Point"));
        return true;
    case ID_CANCEL_APPROX:
        m_keepSnapMode = 0;
        m_snapMode = 0;
        return true;
    case ID_FILTERS: doc->m_selectionFilter = 1; return true;
    case ID_Z_COORDINATE: doc->m_askZ = 1; return true;
    case ID_FIT_Z: doc->m_askZ = 2; return true;
    case ID_CANCEL_FIT_Z: doc->m_askZ = 0; return true;
    default: return false;
    }
}

void CRectaView::GetPromptText()
{
    m_mode = m_lastMode;
    m_command = m_lastCommand;
    m_bandState = 0;
    m_pickedEntity = nullptr;
    m_selCount = 0;

    const int mode = m_mode, code = m_command;
    const char* prompt = nullptr;
    if (mode == MODE_LINE || mode == MODE_PLINE)
        prompt = "From point:";
    else if (mode == MODE_CIRCLE)
        prompt = "Circle Center:";
    else if (mode == MODE_CIRCLE3 || mode == MODE_ARC3)
        prompt = "First point:";
    else if (code == 23)
        prompt = "First Tangent:";
    else if (mode == MODE_ARC_CSE)
        prompt = "Center:";
    else if (mode == MODE_POINT)
        prompt = "Pick point:";
    else if (mode == MODE_TEXT)
        prompt = m_textAlign == 2 ? "Pick right point:" : m_textAlign == 3 ? "Pick center point:" : "Pick left point:";
    else if (mode == MODE_DIM_LINEAR)
        prompt = "From point:";
    else {
        switch (code) {
        case 36: prompt = "Pick Circle/Arc:"; break;
        case 1: case 2: case 3: case 13: case 12: case 7: case 8: case 9: case 10: case 11: case 25: case 26:
        case 35: case 27: case 28: case 29: case 30: case 33: case 101: case 102: case 103: case 50: case 46:
        case 47: case 49:
            ShowSelectPrompt();
            return;
        case 4: case 14: case 32: prompt = "Select line 1:"; break;
        case 5: case 15: prompt = "Select Boundary object:"; break;
        case 6: prompt = "Select cutting edges:"; break;
        case 151: prompt = "Insert point"; break;
        case 16: prompt = "Select blocks,polil. or dims"; break;
        case 17: prompt = "Select Line or Arc"; break;
        case 18: prompt = "Select Polyline"; break;
        case 34: prompt = "Select Poliline"; break;
        case 157: prompt = "Pick Point:"; break;
        case 158: prompt = "First Point:"; break;
        case 160: prompt = "Pick points:"; break;
        case 31: prompt = "Pick polyline:"; break;
        case 43: prompt = "Select polil. or block:"; break;
        case 171: case 169: case 168: prompt = "Pick internal point:"; break;
        case 235: prompt = "Point 1:"; break;
        case 240: prompt = "Origin Point for Section:"; break;
        case 51: prompt = "Select doors to erase:"; break;
        case 73: prompt = "Equal to door ...:"; break;
        case 52: prompt = "Select windows to erase:"; break;
        case 76: prompt = "Equal to window ...:"; break;
        case 81: prompt = "Ref.Line x:"; break;
        case 177: prompt = "From point:"; break;
        case 82: prompt = "Select enclosure wall:"; break;
        case 104: prompt = "Select Doors:"; break;
        case 105: prompt = "Select Windows:"; break;
        default: break;
        }
    }
    if (prompt)
        ShowPrompt(0, Padded(prompt));
}
