#include "transfer/department_transfer.h"

#include "data/definitions.h"
#include "transfer/department_packages.h"

namespace plumgr {

bool DownloadDepartments(TransferStep& step) {
  const int dept_count = CurrentProfile().DeptCount;
  const int count = DepartmentDownloadPackageCount(dept_count);
  step.Progress.SetMargin(count);
  const WireUnits units = step.Units();
  for (int i = 0; i < count; ++i) {
    step.Progress.SetProgress(i + 1);
    step.Bus.PackageData =
        EncodeDepartmentPackage(step.Data.Grids.DeptmentGrid, dept_count, i, units);
    if (!step.Bus.SendPackage(kDepartmentDownloadType, static_cast<std::uint16_t>(i))) return false;
  }
  return true;
}

bool UploadDepartments(TransferStep& step) {
  const int count = DepartmentUploadPackageCount(CurrentProfile().DeptCount);
  const WireUnits units = step.Units();
  for (int n = 0; n < count; ++n) {
    step.Bus.PackageData.fill(0);
    if (!step.Bus.RequestPackage(kDepartmentUploadType, static_cast<std::uint16_t>(n)))
      return false;
    step.Data.CleanedNames +=
        StoreDepartmentPackage(step.Bus.PackageData, n, step.Data.Grids.DeptmentGrid, units);
  }
  return true;
}

}  // namespace plumgr
