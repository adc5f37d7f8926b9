#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>

#include "folio/platform/ui/CScriptedWindowing.h"
#include "folio/report/CFolio.h"
#include "folio/ui/FolioDll.h"
#include "folio/util/TextFile.h"
#include "platform/fs/CPrivateFolder.h"
#include "platform/fs/FileFaults.h"
#include "util/ScratchFolder.h"

// A reporter over a scratch folder (also the temporary folder), with scripted windows
// and a GetValue callback answering by field name.
class ReportFixture : public ::testing::Test {
protected:
  using Responder = std::function<void(CKORIControlValue&)>;

  void SetUp() override {
    m_oldTmp = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
    setenv("TMPDIR", m_folder.Path().c_str(), 1);
    m_windows = std::make_shared<CScriptedWindowing>();
    m_scope = std::make_unique<CScopedWindowing>(m_windows);
    FolioDll_NewDynLinkLibrary();
    FileFaults::Reset();
    CFolio::ClearTemplateCache();
    m_folio.SetGetValueCallback([this] { Answer(m_folio.GetKORIControlValue()); });
  }
  void TearDown() override {
    FileFaults::Reset();
    CFolio::ClearTemplateCache();
    m_scope.reset();
    if (m_oldTmp.empty()) unsetenv("TMPDIR");
    else setenv("TMPDIR", m_oldTmp.c_str(), 1);
  }

  // The process's private temporary folder, made in TMPDIR (this folder) when the
  // process first needs one, and kept while the process lives.
  static std::string PrivateFolderName() {
    return std::filesystem::path(ProcessTempFolder().ToUtf8()).parent_path().filename().string();
  }

  void Answer(CKORIControlValue& value) {
    const auto it = m_answers.find(value.GetField());
    if (it != m_answers.end()) it->second(value);
    else value.SetType(CKORIControlValue::eNone);
  }
  void AnswerText(const CStr& field, const CStr& text) {
    m_answers[field] = [text](CKORIControlValue& v) { v.SetType(CKORIControlValue::eText); v.SetText(text); };
  }
  void AnswerType(const CStr& field, CKORIControlValue::EType type) {
    m_answers[field] = [type](CKORIControlValue& v) { v.SetType(type); };
  }

  // An img placeholder for field of group BasicInfo, or for the description value.
  static CStr Placeholder(const CStr& field, const CStr& extra = CStr()) {
    CKORIControlValue value;
    value.SetGroup(u"BasicInfo");
    value.SetField(field);
    return Placeholder(value, extra);
  }
  static CStr Placeholder(CKORIControlValue& value, const CStr& extra = CStr()) {
    CStr packed = value.Pack();
    packed.Replace(u"\r", u"&#13;");
    packed.Replace(u"\n", u"&#10;");
    return u"<img " + extra + u" alt=\"" + packed + u"\">";
  }

  CStr WriteUtf16(const std::string& name, const CStr& text) const {
    const CStr path = m_folder / name;
    TextFile::Write(path, text);
    return path;
  }
  CStr ReadText(const std::string& name) const { return TextFile::Read(m_folder / name); }

  // One Activate; a fresh run rewinds the section cursor first, as a host starting a
  // new report does.
  bool Run(const CStr& templatePath, const CStr& report, EReportOptions option,
           ELivesheetProcessingType pass = eBody, bool fresh = true) {
    m_folio.SetTemplate(templatePath);
    m_folio.SetReport(report);
    m_folio.SetReportOptions(option);
    if (fresh) m_folio.SetLivesheeterProcessingType(ePreface);
    m_folio.SetLivesheeterProcessingType(pass);
    bool ok = true;
    const bool result = m_folio.Activate(ok, false);
    m_lastOk = ok;
    return result;
  }

  ScratchFolder m_folder;
  std::shared_ptr<CScriptedWindowing> m_windows;
  std::unique_ptr<CScopedWindowing> m_scope;
  CFolio m_folio;
  std::map<CStr, Responder> m_answers;
  bool m_lastOk = true;
  std::string m_oldTmp;
};
