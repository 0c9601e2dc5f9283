#include "link/connection.h"

#include <cstddef>

namespace vornik {

ConnectionState Connection;

const char* SelectedPortName() {
  const auto kind = Connection.PortKind;
  return kind >= 0 && std::size_t(kind) < PortNameTable.size() ? PortNameTable[std::size_t(kind)]
                                                               : "?";
}

}  // namespace vornik
