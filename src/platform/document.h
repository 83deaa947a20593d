// Document basics: path, title and the modified flag.
#pragma once

#include "platform/object.h"

#include <string>

class CDocument : public CObject {
public:
    bool IsModified() const { return m_modified; }
    void SetModifiedFlag(bool modified = true) { m_modified = modified; }

    const std::string& GetPathName() const { return m_pathName; }
    void SetPathName(const std::string& path) { m_pathName = path; }
    const std::string& GetTitle() const { return m_title; }
    void SetTitle(const std::string& title) { m_title = title; }

private:
    bool m_modified = false;
    std::string m_pathName;
    std::string m_title;
};
