#pragma once
#include <memory>

#include "platform/word/document/CWordDocument.h"
#include "platform/word/om/WordObjectModel.h"

class CWordApplication;

// A document of the object model: a handle on an engine document.
class CDocument : public IWordDocument, public std::enable_shared_from_this<CDocument> {
public:
  CDocument(std::weak_ptr<CWordApplication> app, std::shared_ptr<CWordDocument> doc);

  std::shared_ptr<IWordInlineShapes> InlineShapes() override;
  std::shared_ptr<IWordShapes> Shapes() override;
  std::shared_ptr<IWordFields> Fields() override;
  std::shared_ptr<IWordTables> Tables() override;
  std::shared_ptr<IWordStoryRanges> StoryRanges() override;
  std::shared_ptr<IWordRange> Content() override;
  std::shared_ptr<IWordRange> Range(const CVariant& start, const CVariant& end) override;
  void Select() override;
  void SaveAs(const CVariant& fileName, const CVariant& fileFormat, const CVariant& lockComments,
              const CVariant& password, const CVariant& addToRecentFiles, const CVariant& writePassword,
              const CVariant& readOnlyRecommended, const CVariant& embedTrueTypeFonts,
              const CVariant& saveNativePictureFormat, const CVariant& saveFormsData,
              const CVariant& saveAsAOCELetter) override;
  void Close(const CVariant& saveChanges, const CVariant& originalFormat, const CVariant& routeDocument) override;
  CStr FullName() override;

  const std::shared_ptr<CWordDocument>& Engine() const { return m_doc; }
  // Saves the document to path in the format its extension (or fileFormat) names.
  void SaveTo(const std::filesystem::path& path, long fileFormat);
  void MarkClosed() { m_closed = true; }

private:
  std::shared_ptr<CWordApplication> App() const;
  std::weak_ptr<CWordApplication> m_app;
  std::shared_ptr<CWordDocument> m_doc;
  bool m_closed = false;
};
