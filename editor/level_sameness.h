// Whether two level texts hold the same level. The component lines of an object come out of its
// component table, whose order depends on the order the components were added: an undo or a
// reload may bring the same object back with its lines in another order. Comparing each object's
// lines sorted makes those the same level, so undoing back to the saved state reads as saved.
#pragma once

#include <string>
#include <string_view>

namespace LevelSameness {

// `levelText` with the lines inside each object block sorted; names and block order are kept.
std::string Canonical(std::string_view levelText);

bool Same(std::string_view a, std::string_view b);

}  // namespace LevelSameness
