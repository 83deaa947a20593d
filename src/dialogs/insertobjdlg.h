// The insert-object dialog: a new object of a kind chosen by name, or an
// object made from a file, embedded or linked.
#pragma once

#include <string>
#include <vector>

struct InsertObjectChoice {
    bool fromFile = false;
    int kind = 0;      // Create New: the index into the kinds listed
    std::string file;  // Create from File: the file's path
    bool link = false;
};

// "INSERTOBJECT": kinds are the names Create New lists, notes what the dialog
// says of the kinds that need a file. 1 with the choice on OK (a file named
// when it is from a file), 0 on OK from a file without one, 2 on Cancel.
int RunInsertObjectDlg(const std::vector<std::string>& kinds, const std::string& notes, InsertObjectChoice& choice);
