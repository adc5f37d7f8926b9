#pragma once
#include <memory>
#include <vector>

#include "platform/com/CGuid.h"
#include "platform/word/document/CWordDocument.h"
#include "platform/word/om/WordObjectModel.h"

class CDocument;

// The selection: a live range of one story of one document.
struct SSelectionState {
  std::shared_ptr<CWordDocument> doc;
  std::shared_ptr<CStory> story;
  std::shared_ptr<CLiveRange> range;
};

// The engine's "Word.Application": its open documents and its selection.
class CWordApplication : public IWordApplication, public IDispatch,
                         public std::enable_shared_from_this<CWordApplication> {
public:
  static CLSID ClassId();
  // Word's _Application interface.
  static IID ApplicationInterfaceId();
  // Makes "Word.Application" creatable through the class registry.
  static void Register();

  HRESULT QueryInterface(const IID& iid) override;
  HRESULT Invoke(DISPID, EInvokeKind, std::span<const CVariant>, CVariant&) override { return DISP_E_MEMBERNOTFOUND; }

  std::shared_ptr<IWordDocuments> Documents() override;
  std::shared_ptr<IWordSelection> Selection() override;
  void Quit(const CVariant& saveChanges, const CVariant& originalFormat, const CVariant& routeDocument) override;
  float PointsToPixels(float points, const CVariant& fVertical) override;

  // Raises the error a call to an application that has quit gets.
  void CheckRunning() const;
  std::shared_ptr<IWordDocument> Adopt(std::shared_ptr<CWordDocument> doc);
  void Forget(const CWordDocument* doc);
  long DocumentCount() const { return static_cast<long>(m_documents.size()); }
  SSelectionState& SelectionState() { return m_selection; }
  void Select(const std::shared_ptr<CWordDocument>& doc, const std::shared_ptr<CStory>& story, std::int32_t start,
              std::int32_t end);

private:
  std::vector<std::shared_ptr<CDocument>> m_documents;
  SSelectionState m_selection;
  bool m_quit = false;
};
