#pragma once
// Where a damaged registry file is kept when it is replaced: beside it, as
// <file>.damaged, with earlier copies under numbers that follow their age.
#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>

namespace tlb {

// Added to the name of the file the registry's path leads to.
inline constexpr std::string_view kDamagedSuffix = ".damaged";

// Sets the damaged file aside as <file>.damaged beside it: a copy of it, with
// the permission bits mode, when it was read whole (readWhole), else (a file
// over the size limit, too large to copy at every write) the file itself moves
// there. An earlier copy that differs first moves to <file>.damaged.N, N one
// past the highest number in use, so that the numbers follow the order in
// which the copies were set aside; one with the same bytes is not kept twice.
// False (errno set) when it cannot.
bool KeepDamagedCopy(const std::string& file, bool readWhole, std::optional<mode_t> mode);

}  // namespace tlb
