#pragma once
#include "platform/word/om/CRange.h"

// The inline shapes of a story, or of a live range of it, computed on every call.
class CInlineShapes : public IWordInlineShapes {
public:
  CInlineShapes(std::shared_ptr<CWordApplication> app, std::shared_ptr<CWordDocument> doc,
                std::shared_ptr<CStory> story, std::shared_ptr<CLiveRange> range);

  long Count() override;
  std::shared_ptr<IWordInlineShape> Item(long index) override;
  std::shared_ptr<IWordInlineShape> AddPicture(const CStr& fileName, const CVariant& linkToFile,
                                               const CVariant& saveWithDocument, const CVariant& range) override;
  std::shared_ptr<IWordInlineShape> AddOLEControl(const CVariant& classType, const CVariant& range) override;

private:
  // The positions the collection covers.
  std::pair<std::int32_t, std::int32_t> Span();
  // Story and position where an added shape goes.
  std::pair<std::shared_ptr<CStory>, std::int32_t> Target(const CVariant& range);

  std::shared_ptr<CWordApplication> m_app;
  std::shared_ptr<CWordDocument> m_doc;
  std::shared_ptr<CStory> m_story;
  std::shared_ptr<CLiveRange> m_range;
};
