// What an object's Serialize writes, as bytes.
#pragma once

#include "platform/archive.h"

#include <vector>

template <class T>
std::vector<BYTE> Stored(T&& obj)
{
    CArchive ar;
    obj.Serialize(ar);
    return ar.TakeData();
}
