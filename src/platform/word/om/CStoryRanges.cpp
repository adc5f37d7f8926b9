#include "platform/word/om/CStoryRanges.h"

#include "platform/com/CComError.h"
#include "platform/word/om/CShapes.h"

std::shared_ptr<CStory> CStoryRanges::Story(long storyType) {
  m_app->CheckRunning();
  switch (storyType) {
    case eWordMainTextStory: return m_doc->MainStory();
    case eWordEvenPagesHeaderStory:
    case eWordPrimaryHeaderStory:
    case eWordEvenPagesFooterStory:
    case eWordPrimaryFooterStory:
    case eWordFirstPageHeaderStory:
    case eWordFirstPageFooterStory: return m_doc->HeaderFooter(static_cast<EStoryType>(storyType));
    case static_cast<long>(EStoryType::eTextFrame): {
      auto main = m_doc->MainStory();
      for (const SAtom& atom : main->Atoms())
        if (atom.kind == EAtomKind::eAnchor)
          if (auto content = CShape::TextBoxContent(main->Names(), atom.node))
            return m_doc->StoryOf(main->Part(), content);
      return nullptr;
    }
    default: return nullptr;
  }
}

long CStoryRanges::Count() {
  long count = 0;
  for (long type : {1L, 5L, 6L, 7L, 8L, 9L, 10L, 11L})
    if (Story(type)) ++count;
  return count;
}

std::shared_ptr<IWordRange> CStoryRanges::Item(long storyType) {
  auto story = Story(storyType);
  if (!story) throw CComError(DISP_E_BADINDEX, u"The requested member of the collection does not exist.");
  return CRange::Make(m_app, m_doc, story, 0, story->End());
}
