// Program start: the main frame and the first drawing.
#pragma once

#include <QStringList>

#include <memory>

class Cwm_MainWnd;

// Builds and shows the main frame, then opens the drawing named by the
// argument after the program name, or a new drawing when there is none or
// it cannot be read.
std::unique_ptr<Cwm_MainWnd> InitInstance(const QStringList& arguments);
