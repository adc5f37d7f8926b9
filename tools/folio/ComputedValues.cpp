#include "ComputedValues.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "folio/util/SystemUtils.h"

#ifndef FOLIO_VERSION
#define FOLIO_VERSION "0"
#endif

namespace FolioCli {
namespace {

CStr FormatTime(const char* format, const std::tm& time) {
  char buffer[64];
  const std::size_t length = std::strftime(buffer, sizeof buffer, format, &time);
  return CStr::FromUtf8(std::string_view(buffer, length));
}

void SetText(CKORIControlValue& record, const CStr& text) {
  record.SetType(CKORIControlValue::eText);
  record.SetText(text);
}

void SetInteger(CKORIControlValue& record, std::int32_t value) {
  record.SetType(CKORIControlValue::eInteger);
  record.SetInteger(value);
  record.SetUnit(CStr());
}

}  // namespace

SRunFacts SRunFacts::ForReport(const CStr& reportPath, std::size_t batchCount) {
  SRunFacts facts;
  const std::time_t now = std::time(nullptr);
  localtime_r(&now, &facts.startedLocal);
  gmtime_r(&now, &facts.startedUtc);
  facts.userName = CurrentUserName();
  facts.reportFileName = SystemUtils::GetFileName(reportPath);
  facts.batchCount = static_cast<std::int32_t>(batchCount);
  return facts;
}

CStr CurrentUserName() {
  if (const passwd* account = getpwuid(geteuid()); account && account->pw_name && *account->pw_name)
    return CStr::FromUtf8(account->pw_name);
  if (const char* user = std::getenv("USER"); user && *user) return CStr::FromUtf8(user);
  return u"unknown";
}

bool ApplyComputedValue(const SPlaceholderKey& key, const SRunFacts& facts, CKORIControlValue& record) {
  if (!(key.group == u"BasicInfo")) return false;
  const CStr& field = key.field;
  if (field == u"date") SetText(record, FormatTime("%Y-%m-%d", facts.startedLocal));
  else if (field == u"dateutc") SetText(record, FormatTime("%Y-%m-%d", facts.startedUtc));
  else if (field == u"time") SetText(record, FormatTime("%H:%M:%S", facts.startedLocal));
  else if (field == u"timeutc") SetText(record, FormatTime("%H:%M:%S", facts.startedUtc));
  else if (field == u"username") SetText(record, facts.userName);
  else if (field == u"reportfilename") SetText(record, facts.reportFileName);
  else if (field == u"applicationname") SetText(record, u"Folio");
  else if (field == u"applicationversion") SetText(record, CStr::FromUtf8(FOLIO_VERSION));
  else if (field == u"batchindex") SetInteger(record, facts.batchIndex);
  else if (field == u"FileCount") SetInteger(record, facts.batchCount);
  else return false;
  return true;
}

}  // namespace FolioCli
