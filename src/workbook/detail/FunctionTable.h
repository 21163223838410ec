#pragma once
// Worksheet functions of BIFF8 formulas by their built-in index
// ([MS-XLS] 2.5.198.17 Ftab).

#include <QString>

namespace kasovka::detail {

struct BiffFunction {
    const char *name = nullptr;
    int fixedArguments = -1; // -1: only called with an explicit count
};

// nullptr name when the index is not a worksheet function.
BiffFunction biffFunction(int index);

} // namespace kasovka::detail
