#pragma once

#include "platform/core/CArray.h"
#include "platform/core/CObject.h"

// Array of object pointers; it does not own them. Serialize writes the count
// and each element as a tagged object.
class CObArray : public CObject, public CArray<CObject*, CObject*> {
public:
    DECLARE_SERIAL(CObArray)

    // Loading empties the array first (the caller frees what it held) and
    // keeps every object read before a failure, so the caller can free those.
    void Serialize(CArchive& ar) override;
};
