// The working plane's dialog.
#pragma once

// "UCSOBJ" ("OBJECTS IN PLANE:"): the distances from the plane, above
// ("Accord Z+:") and below ("Accord Z-:"), within which objects count as in
// it; both 0 or more. 1 on OK with both set; a value below 1 when cancelled.
int DoUCSOBJDlg(double& above, double& below);
