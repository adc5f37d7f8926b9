#pragma once
#include "platform/word/om/CRange.h"

// The stories a document has: the main text, the text frames (counted once as one story
// type, as Word does), and the primary, first-page and even-pages headers and footers.
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
