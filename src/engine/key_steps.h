#pragma once

#include <algorithm>
#include <cstddef>
#include <optional>
#include <vector>

#include "window/form.h"

namespace tsukikage {

// The next control from the focus in a row, stopping at its ends; the first when the focus
// is not in the row.
inline ControlId Step(const std::vector<ControlId>& row, std::optional<ControlId> focus, int step) {
    const auto at = focus ? std::find(row.begin(), row.end(), *focus) : row.end();
    if (at == row.end()) return row.front();
    const auto index = std::clamp<std::ptrdiff_t>(at - row.begin() + step, 0,
                                                  static_cast<std::ptrdiff_t>(row.size()) - 1);
    return row[static_cast<std::size_t>(index)];
}

}  // namespace tsukikage
