#pragma once
#include "platform/word/om/CRange.h"

// The fields of a story (or of a live range of it), nested ones included.
class CFields : public IWordFields {
public:
  CFields(std::shared_ptr<CWordApplication> app, std::shared_ptr<CWordDocument> doc, std::shared_ptr<CStory> story,
          std::shared_ptr<CLiveRange> range)
      : m_app(std::move(app)), m_doc(std::move(doc)), m_story(std::move(story)), m_range(std::move(range)) {}
  long Count() override;
  std::shared_ptr<IWordField> Item(long index) override;
  long Update() override;

private:
  // Ordinals among the story's fields of those that begin in the range.
  std::pair<size_t, size_t> Ordinals();
  std::shared_ptr<CWordApplication> m_app;
  std::shared_ptr<CWordDocument> m_doc;
  std::shared_ptr<CStory> m_story;
  std::shared_ptr<CLiveRange> m_range;
};

// One field, by its begin mark (w:fldChar) or simple field element (w:fldSimple).
class CField : public IWordField {
public:
  CField(std::shared_ptr<CWordApplication> app, std::shared_ptr<CWordDocument> doc, std::shared_ptr<CStory> story,
         pugi::xml_node begin)
      : m_app(std::move(app)), m_doc(std::move(doc)), m_story(std::move(story)), m_begin(begin) {}
  CStr Code() override;
  CStr Result() override;
  std::shared_ptr<IWordOLEFormat> OLEFormat() override;
  std::shared_ptr<IWordInlineShape> InlineShape() override;
  // Computes DATE, TIME, FILENAME, DOCPROPERTY, TITLE, AUTHOR, SUBJECT and KEYWORDS;
  // other fields (PAGE, NUMPAGES, ...) are left for the reader to recompute.
  bool Update() override;

  // The result text of a field code, or nothing when it needs page layout or is unknown.
  static std::optional<CStr> Evaluate(const CStr& code, CWordDocument& doc);

private:
  SFieldSpan Span();
  // The code, read no further than limit bytes and limit atoms.
  CStr CodeUpTo(size_t limit);
  pugi::xml_node FirstObject(const SFieldSpan& span);
  std::shared_ptr<CWordApplication> m_app;
  std::shared_ptr<CWordDocument> m_doc;
  std::shared_ptr<CStory> m_story;
  pugi::xml_node m_begin;
};
