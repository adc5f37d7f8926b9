#pragma once
#include "platform/word/CRange.h"

// The stories a document has: the main text, the primary header and footer, and the
// text frames (counted once as one story type, as Word does).
class CStoryRanges : public IWordStoryRanges {
public:
  CStoryRanges(std::shared_ptr<CWordApplication> app, std::shared_ptr<CWordDocument> doc)
      : m_app(std::move(app)), m_doc(std::move(doc)) {}
  long Count() override;
  std::shared_ptr<IWordRange> Item(long storyType) override;

private:
  std::shared_ptr<CStory> Story(long storyType);
  std::shared_ptr<CWordApplication> m_app;
  std::shared_ptr<CWordDocument> m_doc;
};
