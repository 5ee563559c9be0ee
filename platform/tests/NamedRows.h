// Table rows print as their name in test output, instead of as raw bytes.
#pragma once

#include <ostream>

namespace dashvell {

template <typename Row>
requires requires(const Row& r) {
  r.name;
}
void PrintTo(const Row& row, std::ostream* os) {
  *os << row.name;
}

}  // namespace dashvell
