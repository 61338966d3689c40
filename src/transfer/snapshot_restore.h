#pragma once
// Sending a backup back to the register. The download steps here write what a
// snapshot of the register holds byte for byte: every PLU to its own number
// (no name is looked up, so nothing moves to another PLU), the departments,
// recycling prices and fast-sale buttons as they were read, and of the
// parameter block only the fields of the chosen groups, over the block as the
// register holds it now.
//
// A kind the snapshot lacks is sent from the backup set's tables instead, as a
// download sends it but again every PLU to its own number; so are the prices
// when the register now counts them with other decimals than when it was read.

#include "transfer/register_snapshot.h"
#include "transfer/transfer_step.h"

namespace plumgr {

class SnapshotRestore {
 public:
  // The snapshot may be null: everything then comes from the tables of the
  // transfer data (and the parameters from its settings path).
  explicit SnapshotRestore(const RegisterSnapshot* snapshot) : snapshot_(snapshot) {}

  // The download step of one kind; the transfer driver runs it in place of the
  // kind's own step. The parameter block is written once for all its kinds.
  bool Step(int download_kind, TransferStep& step);

 private:
  bool PricesAsRead(const TransferStep& step) const;
  bool SendPlus(TransferStep& step);
  bool SendParameters(TransferStep& step);

  const RegisterSnapshot* snapshot_;
  bool parameters_sent_ = false;
};

}  // namespace plumgr
