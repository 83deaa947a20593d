#include "dialogs/insertobjdlg.h"

#include "dialogs/dlgform.h"
#include "dialogs/formwidget.h"

#include <algorithm>

int RunInsertObjectDlg(const std::vector<std::string>& kinds, const std::string& notes, InsertObjectChoice& choice)
{
    Form f{"INSERTOBJECT", "Insert Object"};
    f.AddCheck("fromFile", "Create from File", choice.fromFile);
    f.AddList("kind", "Object Type:", kinds, kinds.empty() ? -1 : std::max(0, std::min(choice.kind, int(kinds.size()) - 1)));
    f.AddText("notes", "", notes);
    f.AddEdit("file", "File:", choice.file);
    f.AddButton("browse", "Browse...", [](Form& form) {
        const std::string chosen = PickOpenFile(
            "Insert Object", "Drawings and pictures (*.zpd *.png *.jpg *.jpeg *.bmp *.gif *.svg);;All files (*)");
        if (chosen.empty())
            return;
        form.Find("file")->text = chosen;
        form.Find("fromFile")->checked = true;
    });
    f.AddCheck("link", "Link", choice.link);
    const int r = RunForm(f);
    if (r != 1)
        return r;
    choice.fromFile = f.Checked("fromFile");
    choice.kind = f.Index("kind");
    choice.file = f.Text("file");
    choice.link = f.Checked("link");
    if (choice.fromFile && choice.file.empty())
        return 0;
    return 1;
}
