#pragma once
#include <functional>

namespace logdata {

// Progress of a long read. Called with the number of steps to advance the progress bar (0 only
// lets the caller handle pending window messages, so that a Cancel button can act); returns false
// when the user cancelled, after which the read stops at its next check and its results are not
// to be shown.
using ProgressFn = std::function<bool(int nSteps)>;

}  // namespace logdata
