#pragma once
// Everything a host needs: include this header and link the folio library.

#include "folio/util/CDiagnostics.h"
#include "folio/util/CEnum.h"
#include "folio/util/CStr.h"
#include "folio/util/CString.h"
#include "folio/util/EBase.h"
#include "folio/util/StringTable.h"
#include "folio/util/SystemUtils.h"
#include "folio/util/TextFile.h"

#include "folio/platform/convert/CPdfConverterPool.h"
#include "folio/platform/fs/CPrivateFolder.h"
#include "folio/platform/host/CInifile.h"
#include "folio/platform/host/CInstallSettings.h"
#include "folio/platform/host/HostTables.h"
#include "folio/platform/ui/CConsoleWindowing.h"
#include "folio/platform/ui/CDialog.h"
#include "folio/platform/ui/CSafeFileDialog.h"
#include "folio/platform/ui/CScriptedWindowing.h"
#include "folio/platform/ui/CStringEdit.h"
#include "folio/platform/ui/CWnd.h"
#include "folio/platform/ui/IWindowing.h"
#include "folio/platform/ui/UiTypes.h"

#include "folio/model/CKORIControlValue.h"
#include "folio/model/SReportConversionResult.h"

#include "folio/extract/CKORIExtractor.h"

#include "folio/html/CHTMLEventHandler.h"

#include "folio/report/CFolio.h"
#include "folio/report/CTemplateModel.h"
#include "folio/report/IReportUi.h"

#include "folio/ui/CConfirmOverwriteDlg.h"
#include "folio/ui/CFolioDlg.h"
#include "folio/ui/CKoriInifile.h"
#include "folio/ui/CProgressDlg.h"
#include "folio/ui/FolioDll.h"
