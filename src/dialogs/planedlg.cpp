#include "dialogs/planedlg.h"

#include "dialogs/dlgform.h"

int DoUCSOBJDlg(double& above, double& below)
{
    Form f{"UCSOBJ", "OBJECTS IN PLANE:"};
    f.AddReal("above", "Accord Z+:", FormatFixed(above, 2), 0.0);
    f.AddReal("below", "Accord Z-:", FormatFixed(below, 2), 0.0);
    if (RunForm(f) != 1)
        return 0;
    above = f.Real("above");
    below = f.Real("below");
    return 1;
}
