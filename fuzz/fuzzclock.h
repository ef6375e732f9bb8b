#pragma once

#include "season/oledate.h"

namespace penarin::fuzz {

// A fixed clock keeps runs reproducible (and skips the local-time lookup).
inline double fixedNow()
{
    return 46249.5;
}

} // namespace penarin::fuzz
