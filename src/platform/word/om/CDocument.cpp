#include "platform/word/om/CDocument.h"

#include "platform/com/CComError.h"
#include "platform/word/om/CField.h"
#include "platform/word/om/CInlineShapes.h"
#include "platform/word/om/CShapes.h"
#include "platform/word/om/CStoryRanges.h"
#include "platform/word/om/CTables.h"
#include "platform/word/om/CWordApplication.h"
#include "platform/word/document/CWordFiles.h"

CDocument::CDocument(std::weak_ptr<CWordApplication> app, std::shared_ptr<CWordDocument> doc)
    : m_app(std::move(app)), m_doc(std::move(doc)) {}

std::shared_ptr<CWordApplication> CDocument::App() const {
  auto app = m_app.lock();
  if (!app || m_closed) throw CComError(E_FAIL, u"This command is not available because no document is open.");
  app->CheckRunning();
  return app;
}

std::shared_ptr<IWordInlineShapes> CDocument::InlineShapes() {
  return std::make_shared<CInlineShapes>(App(), m_doc, m_doc->MainStory(), nullptr);
}

std::shared_ptr<IWordShapes> CDocument::Shapes() { return std::make_shared<CShapes>(App(), m_doc, m_doc->MainStory()); }

std::shared_ptr<IWordFields> CDocument::Fields() {
  return std::make_shared<CFields>(App(), m_doc, m_doc->MainStory(), nullptr);
}

std::shared_ptr<IWordTables> CDocument::Tables() {
  return std::make_shared<CTables>(App(), m_doc, m_doc->MainStory(), nullptr);
}

std::shared_ptr<IWordStoryRanges> CDocument::StoryRanges() { return std::make_shared<CStoryRanges>(App(), m_doc); }

std::shared_ptr<IWordRange> CDocument::Content() {
  auto story = m_doc->MainStory();
  return CRange::Make(App(), m_doc, story, 0, story->End());
}

std::shared_ptr<IWordRange> CDocument::Range(const CVariant& start, const CVariant& end) {
  auto story = m_doc->MainStory();
  const std::int32_t last = story->End();
  const auto from = static_cast<std::int32_t>(std::clamp<long>(start.LongOr(0), 0, last));
  const auto to = static_cast<std::int32_t>(std::clamp<long>(end.LongOr(last), from, last));
  return CRange::Make(App(), m_doc, story, from, to);
}

void CDocument::Select() {
  auto story = m_doc->MainStory();
  App()->Select(m_doc, story, 0, story->End());
}

void CDocument::SaveTo(const std::filesystem::path& path, long fileFormat) {
  CWordFiles::Save(*m_doc, path, fileFormat);
  m_doc->SetPath(std::filesystem::absolute(path));
}

void CDocument::SaveAs(const CVariant& fileName, const CVariant& fileFormat, const CVariant&, const CVariant&,
                       const CVariant&, const CVariant&, const CVariant&, const CVariant&, const CVariant&,
                       const CVariant&, const CVariant&) {
  App();
  std::filesystem::path path = fileName.IsMissing() ? m_doc->Path() : CWordFiles::PathFromText(fileName.AsText());
  if (path.empty()) throw CComError(E_INVALIDARG, u"the document has no file name yet: give SaveAs a file name");
  SaveTo(path, fileFormat.LongOr(-1));
}

void CDocument::Close(const CVariant& saveChanges, const CVariant&, const CVariant&) {
  auto app = App();
  if (saveChanges.LongOr(0) == -1) {
    if (m_doc->Path().empty()) throw CComError(E_INVALIDARG, u"the document has no file name to save under");
    SaveTo(m_doc->Path(), -1);
  }
  m_closed = true;
  app->Forget(m_doc.get());
}

CStr CDocument::FullName() {
  App();
  return CStr::FromUtf8(m_doc->Path().string());
}
