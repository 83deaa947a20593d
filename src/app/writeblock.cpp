#include "app/writeblock.h"

#include "app/mainwnd.h"
#include "app/rectaapp.h"
#include "dialogs/dlgform.h"
#include "doc/drawingblock.h"
#include "doc/rectadoc.h"
#include "model/bloq.h"
#include "platform/msgbox.h"

#include <QFileDialog>

#include <filesystem>
#include <utility>
#include <vector>

namespace {

// The save dialog leaves the question about a file that exists to the command.
std::string AskWithDialog(const std::string& suggested)
{
    QFileDialog dialog(MainFrame(), "Write Block", QString::fromStdString(suggested), "Drawing Files (*.zpd)");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix("zpd");
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first().toStdString();
}

BlockFileQuestion& Question()
{
    static BlockFileQuestion question = AskWithDialog;
    return question;
}

// "BLOQSEL": the block chosen from the drawing's, or null.
CBloq* ChooseBlock(const CRectaDoc& doc)
{
    std::vector<CBloq*> blocks;
    std::vector<std::string> names;
    for (POSITION pos = doc.GetFirstBlockPosition(); pos;) {
        blocks.push_back(doc.GetNextBlock(pos));
        names.push_back(blocks.back()->m_name);
    }
    Form form("BLOQSEL", "Write Block");
    form.AddList("block", "Blocks:", std::move(names), blocks.empty() ? -1 : 0);
    if (RunForm(form) != 1)
        return nullptr;
    const int index = form.Index("block");
    return index >= 0 && index < int(blocks.size()) ? blocks[std::size_t(index)] : nullptr;
}

}  // namespace

BlockFileQuestion SetBlockFileQuestion(BlockFileQuestion question)
{
    return std::exchange(Question(), question ? std::move(question) : AskWithDialog);
}

void OnToolWriteBlock()
{
    CRectaView* view = nullptr;
    CRectaDoc* doc = nullptr;
    if (!theApp.GetActiveView(view, doc) || !doc)
        return;
    CBloq* block = ChooseBlock(*doc);
    if (!block)
        return;
    std::filesystem::path path = Question()(block->m_name + ".zpd");
    if (path.empty())
        return;
    if (!path.has_extension())
        path += ".zpd";
    std::error_code ec;
    if (std::filesystem::exists(path, ec) &&
        AfxMessageBox(path.string() + " already exists.\nDo you want to replace it?", MB_YESNO | MB_ICONQUESTION) !=
            IDYES)
        return;
    WriteBlockToDrawingFile(*doc, path.string(), *block);
}
