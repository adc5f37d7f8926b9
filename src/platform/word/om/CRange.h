#pragma once
#include <memory>

#include "platform/word/om/CWordApplication.h"

// A live range of one story.
class CRange : public IWordRange {
public:
  CRange(std::shared_ptr<CWordApplication> app, std::shared_ptr<CWordDocument> doc, std::shared_ptr<CStory> story,
         std::shared_ptr<CLiveRange> range);
  // A new live range [start, end) of story.
  static std::shared_ptr<CRange> Make(std::shared_ptr<CWordApplication> app, std::shared_ptr<CWordDocument> doc,
                                      std::shared_ptr<CStory> story, std::int32_t start, std::int32_t end);
  // The engine range behind a range argument; E_INVALIDARG when it is none of ours.
  static std::shared_ptr<CRange> FromVariant(const CVariant& value);

  HRESULT QueryInterface(const IID& iid) override;
  HRESULT Invoke(DISPID, EInvokeKind, std::span<const CVariant>, CVariant&) override { return DISP_E_MEMBERNOTFOUND; }

  CStr Text() override;
  void SetText(const CStr& text) override;
  long Start() override;
  long End() override;
  void SetStart(long start) override;
  void SetEnd(long end) override;
  std::shared_ptr<IWordFields> Fields() override;
  std::shared_ptr<IWordInlineShapes> InlineShapes() override;
  long Delete(const CVariant& unit, const CVariant& count) override;
  std::shared_ptr<IWordTables> Tables() override;
  long StoryType() override { return static_cast<long>(m_story->Type()); }

  const std::shared_ptr<CWordApplication>& App() const { return m_app; }
  const std::shared_ptr<CStory>& Story() const { return m_story; }
  const std::shared_ptr<CWordDocument>& Doc() const { return m_doc; }
  const std::shared_ptr<CLiveRange>& State() const { return m_range; }

private:
  void Clamp();
  std::shared_ptr<CWordApplication> m_app;
  std::shared_ptr<CWordDocument> m_doc;
  std::shared_ptr<CStory> m_story;
  std::shared_ptr<CLiveRange> m_range;
};

// The characters of a range or selection.
class CCharacters : public IWordCharacters {
public:
  explicit CCharacters(std::shared_ptr<CRange> range) : m_range(std::move(range)) {}
  long Count() override;
  std::shared_ptr<IWordRange> First() override;
  std::shared_ptr<IWordRange> Last() override;

private:
  std::shared_ptr<CRange> m_range;
};
