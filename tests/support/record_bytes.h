// An entity list as a multiset: every record's file bytes, sorted.
#pragma once

#include "doc/rectadoc.h"
#include "model/dib.h"
#include "platform/archive.h"

#include <algorithm>
#include <string>
#include <vector>

inline std::vector<std::string> RecordBytes(const CObList& list)
{
    std::vector<std::string> records;
    for (CObject* obj : list) {
        CArchive ar;
        static_cast<CDib*>(obj)->Serialize(ar);
        const std::vector<BYTE> bytes = ar.TakeData();
        records.emplace_back(bytes.begin(), bytes.end());
    }
    std::ranges::sort(records);
    return records;
}

inline std::vector<std::string> RecordBytes(const CRectaDoc& doc)
{
    return RecordBytes(doc.GetEntityList());
}
