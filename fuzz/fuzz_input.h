#pragma once
// The first input byte picks what to feed, the rest is the data.

#include "common/byte_io.h"

#include <cstddef>
#include <cstdint>

struct FuzzInput {
    uint8_t choice = 0;
    ByteView data;

    FuzzInput(const uint8_t* bytes, size_t size) {
        if (size > 0) {
            choice = bytes[0];
            data = ByteView(bytes + 1, size - 1);
        }
    }
};
