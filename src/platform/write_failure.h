// Why a write of a file failed, in the few causes a user can act on: a full disk (or a file-size
// or quota limit, which end a write the same way), a place they may not write to, or anything else.
#pragma once

namespace korvane {

enum class WriteFailure { DiskFull, NotAllowed, Other };

// The cause behind `error`, an errno value a failed write left.
WriteFailure WriteFailureOf(int error);

}  // namespace korvane
