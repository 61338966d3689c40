#pragma once
// Tables sized for the one register model and reset to their defaults, under a
// chosen decimal separator.

#include "data/definitions.h"
#include "data/tables.h"

namespace plumgr::test {

inline EcrProfile DefaultProfile() {
  return EcrProfileTable().front();
}

inline void PrepareTables(Tables& tables, char separator) {
  SizeTables(tables, DefaultProfile());
  ResetAllRows(tables, separator);
}

}  // namespace plumgr::test
