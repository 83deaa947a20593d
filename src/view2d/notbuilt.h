// Operations that the command steps call but this build does not have yet.
// Each is a stub that throws CNotBuilt; the plan view then ends the running
// command and shows "<command>: not in this build yet" on the prompt line.
#pragma once

#include "platform/oblist.h"

#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

class CBloq;
class CObject;
class CPointd;

class CNotBuilt : public std::logic_error {
public:
    explicit CNotBuilt(const std::string& command)
        : std::logic_error(command + ": not in this build yet"), m_command(command)
    {
    }
    const std::string& Command() const { return m_command; }

private:
    std::string m_command;
};

// A stub and the command whose steps reach it.
struct NotBuiltOperation {
    const char* name;
    const char* command;
};

// Every stub of this build.
std::span<const NotBuiltOperation> NotBuiltOperations();
// True while the operation of that name is a stub.
bool IsNotBuilt(std::string_view operation);

// Operations outside the plan view, declared here until they are built.
