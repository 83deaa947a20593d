// The tool-box "Write Block" command.
#pragma once

#include <functional>
#include <string>

// Asks for the drawing file to write a block to, suggesting a name; empty
// when cancelled. The program asks with a save dialog; tests answer instead.
using BlockFileQuestion = std::function<std::string(const std::string& suggested)>;
BlockFileQuestion SetBlockFileQuestion(BlockFileQuestion question);

// Lets the user choose a block of the active drawing and a ".zpd" file,
// asks before replacing a file that exists, and writes the block there.
void OnToolWriteBlock();
