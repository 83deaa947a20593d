// The line-hatch dialogs.
#pragma once

// "TRAMA": three picture buttons choose kind 1 single lines, 2 two line
// families, 3 double lines; 0 when none was chosen. The kind is copied out
// whatever the result.
int RunTramaDlgEx(int& kind);
// "TRAMAP1/2/3": angles in degrees, spacings in drawing units; returns 1 OK,
// 2 Cancel. The values are copied out on OK and Cancel alike (Cancel gives
// the ones shown first): kind 1 fills a1, s1; kind 2 all four; other kinds
// a1, s1, s2 and a2 := a1.
int RunTramaParamDlg(int kind, double& a1, double& s1, double& a2, double& s2);
