#pragma once

#include "platform/core/CArray.h"

#include <cstdint>

// Array of 32-bit words; archived as the count and the raw words.
class CDWordArray : public CArray<uint32_t, uint32_t> {
};
