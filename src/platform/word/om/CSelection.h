#pragma once
#include "platform/word/om/CRange.h"

// The application's selection: a live range that follows the last Select or SetRange.
class CSelection : public IWordSelection {
public:
  explicit CSelection(std::shared_ptr<CWordApplication> app) : m_app(std::move(app)) {}

  std::shared_ptr<IWordRange> Range() override;
  std::shared_ptr<IWordCharacters> Characters() override;
  long Start() override;
  long End() override;
  void SetRange(long start, long end) override;
  void Collapse(const CVariant& direction) override;
  void InsertFile(const CStr& fileName, const CVariant& range, const CVariant& confirmConversions,
                  const CVariant& link, const CVariant& attachment) override;
  long Delete(const CVariant& unit, const CVariant& count) override;
  void TypeText(const CStr& text) override;
  void TypeBackspace() override;

private:
  SSelectionState& State();
  std::shared_ptr<CRange> Current();
  std::shared_ptr<CWordApplication> m_app;
};
