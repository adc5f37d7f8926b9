#pragma once
#include "folio/platform/host/CInifile.h"
#include "folio/util/Export.h"

// The report dialog's last choices in the host's settings file, section "Livesheeter".
class FOLIO_API CKoriInifile : public CInifile {
public:
  CKoriInifile();

  CStr GetDefaultWordTemplate() const;
  bool SetDefaultWordTemplate(const CStr& path) const;
  CStr GetDefaultWordReport() const;
  bool SetDefaultWordReport(const CStr& path) const;
  // The option's name in the report options table; "Auto" when none is stored.
  CStr GetDefaultWordReportOptions() const;
  bool SetDefaultWordReportOptions(const CStr& name) const;
};
