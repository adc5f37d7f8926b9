#include "platform/word/om/CWordApplication.h"

#include "platform/com/CComError.h"
#include "platform/com/ComRuntime.h"
#include "platform/word/om/CDocument.h"
#include "platform/word/om/CSelection.h"
#include "platform/word/document/CWordFiles.h"

namespace {

class CDocuments : public IWordDocuments {
public:
  explicit CDocuments(std::shared_ptr<CWordApplication> app) : m_app(std::move(app)) {}

  long Count() override {
    m_app->CheckRunning();
    return m_app->DocumentCount();
  }

  std::shared_ptr<IWordDocument> Open(const CVariant& fileName, const CVariant&, const CVariant&, const CVariant&,
                                      const CVariant& passwordDocument, const CVariant&, const CVariant&,
                                      const CVariant&, const CVariant&, const CVariant&, const CVariant&,
                                      const CVariant&) override {
    m_app->CheckRunning();
    if (!passwordDocument.IsMissing() && !passwordDocument.AsText().IsEmpty())
      throw CComError(HRESULT_NOT_SUPPORTED, u"password-protected documents cannot be opened");
    return m_app->Adopt(CWordFiles::Load(CWordFiles::PathFromText(fileName.AsText())));
  }

  std::shared_ptr<IWordDocument> Add(const CVariant& templateName, const CVariant&, const CVariant&,
                                     const CVariant&) override {
    m_app->CheckRunning();
    if (!templateName.IsMissing() && !templateName.AsText().IsEmpty()) {
      // A document made from a template starts as a copy of it, without a name.
      auto doc = CWordFiles::Load(CWordFiles::PathFromText(templateName.AsText()));
      doc->SetPath({});
      return m_app->Adopt(doc);
    }
    return m_app->Adopt(CWordDocument::CreateEmpty());
  }

private:
  std::shared_ptr<CWordApplication> m_app;
};

}  // namespace

CLSID CWordApplication::ClassId() { return *CGuid::Parse(u"{000209FF-0000-0000-C000-000000000046}"); }

IID CWordApplication::ApplicationInterfaceId() { return *CGuid::Parse(u"{00020970-0000-0000-C000-000000000046}"); }

void CWordApplication::Register() {
  RegisterComClass(u"Word.Application", ClassId(), [] { return std::make_shared<CWordApplication>(); });
}

HRESULT CWordApplication::QueryInterface(const IID& iid) {
  return iid == ApplicationInterfaceId() ? S_OK : E_NOINTERFACE;
}

void CWordApplication::CheckRunning() const {
  if (m_quit) throw CComError(RPC_E_DISCONNECTED, u"Word has quit");
}

std::shared_ptr<IWordDocuments> CWordApplication::Documents() {
  CheckRunning();
  return std::make_shared<CDocuments>(shared_from_this());
}

std::shared_ptr<IWordSelection> CWordApplication::Selection() {
  CheckRunning();
  return std::make_shared<CSelection>(shared_from_this());
}

void CWordApplication::Quit(const CVariant& saveChanges, const CVariant&, const CVariant&) {
  CheckRunning();
  const bool save = saveChanges.LongOr(0) == -1;
  for (auto& doc : m_documents) {
    if (save && !doc->Engine()->Path().empty()) doc->SaveTo(doc->Engine()->Path(), -1);
    doc->MarkClosed();
  }
  m_documents.clear();
  m_selection = {};
  m_quit = true;
}

float CWordApplication::PointsToPixels(float points, const CVariant&) {
  CheckRunning();
  return points * 96.0f / 72.0f;
}

std::shared_ptr<IWordDocument> CWordApplication::Adopt(std::shared_ptr<CWordDocument> doc) {
  auto handle = std::make_shared<CDocument>(weak_from_this(), doc);
  m_documents.push_back(handle);
  auto story = doc->MainStory();
  // A newly opened document is active, with the insertion point at its start.
  Select(doc, story, 0, 0);
  return handle;
}

void CWordApplication::Forget(const CWordDocument* doc) {
  std::erase_if(m_documents, [&](const std::shared_ptr<CDocument>& d) { return d->Engine().get() == doc; });
  if (m_selection.doc.get() == doc) {
    m_selection = {};
    if (!m_documents.empty()) {
      auto last = m_documents.back()->Engine();
      Select(last, last->MainStory(), 0, 0);
    }
  }
}

void CWordApplication::Select(const std::shared_ptr<CWordDocument>& doc, const std::shared_ptr<CStory>& story,
                              std::int32_t start, std::int32_t end) {
  m_selection.doc = doc;
  m_selection.story = story;
  m_selection.range = story->MakeRange(start, end);
}
