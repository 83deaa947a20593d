// What a file dialog asks: open or save, the title, the filter and the names
// it proposes. The program asks with Qt's file dialog; tests answer instead.
#pragma once

#include <string>

class QWidget;

struct FileQuestion {
    bool save = false;
    std::string title;
    std::string defaultExt;  // added to a name typed without one ("zpd")
    std::string fileName;    // proposed name; a pattern ("*.zpd") proposes none
    std::string filter;      // "Drawing Files (*.zpd) | *.zpd ||"
    bool overwritePrompt = false;  // save: a file that exists is replaced only when the user says so
    std::string folder;            // where the dialog opens; empty: the working folder

    // The filter's description as Qt shows it: "Drawing Files (*.zpd)".
    std::string QtFilter() const;
};

// Qt's file dialog on the question; the chosen path, or empty when cancelled.
std::string AskFileWithDialog(const FileQuestion& question, QWidget* parent);
