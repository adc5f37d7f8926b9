#include "platform/word/om/CSelection.h"

#include "platform/com/CComError.h"
#include "platform/word/document/CDocumentImporter.h"
#include "platform/word/document/CStoryEditor.h"
#include "platform/word/document/CWordFiles.h"

SSelectionState& CSelection::State() {
  m_app->CheckRunning();
  auto& state = m_app->SelectionState();
  if (!state.doc || !state.story) throw CComError(E_FAIL, u"there is no selection: no document is open");
  const std::int32_t last = state.story->End();
  const std::int32_t start = std::clamp(state.range->Start(), 0, last);
  state.range->Set(start, std::clamp(state.range->End(), start, last));
  return state;
}

std::shared_ptr<CRange> CSelection::Current() {
  auto& state = State();
  return std::make_shared<CRange>(m_app, state.doc, state.story, state.range);
}

std::shared_ptr<IWordRange> CSelection::Range() {
  auto& state = State();
  return CRange::Make(m_app, state.doc, state.story, state.range->Start(), state.range->End());
}

std::shared_ptr<IWordCharacters> CSelection::Characters() { return std::make_shared<CCharacters>(Current()); }

long CSelection::Start() { return State().range->Start(); }

long CSelection::End() { return State().range->End(); }

void CSelection::SetRange(long start, long end) {
  auto& state = State();
  const std::int32_t last = state.story->End();
  state.range->Set(std::clamp(static_cast<std::int32_t>(std::min(start, end)), 0, last),
                   std::clamp(static_cast<std::int32_t>(std::max(start, end)), 0, last));
}

void CSelection::Collapse(const CVariant& direction) {
  auto& state = State();
  if (direction.LongOr(1) == 0) {
    // The insertion point cannot follow the story's final paragraph mark.
    const std::int32_t at = std::min(state.range->End(), CStoryEditor(*state.story).LastInsertPosition());
    state.range->Set(at, at);
  } else {
    state.range->Set(state.range->Start(), state.range->Start());
  }
}

long CSelection::Delete(const CVariant& unit, const CVariant& count) { return Current()->Delete(unit, count); }

void CSelection::TypeText(const CStr& text) {
  auto& state = State();
  CStoryEditor editor(*state.story);
  if (state.range->End() > state.range->Start()) editor.Delete(state.range->Start(), state.range->End());
  const std::int32_t at = std::min(state.range->Start(), editor.LastInsertPosition());
  const std::int32_t inserted = editor.InsertText(at, text.View());
  state.range->Set(at + inserted, at + inserted);
}

void CSelection::TypeBackspace() {
  auto& state = State();
  CStoryEditor editor(*state.story);
  if (state.range->End() > state.range->Start()) {
    editor.Delete(state.range->Start(), state.range->End());
    state.range->Set(state.range->Start(), state.range->Start());
  } else if (state.range->Start() > 0) {
    const std::int32_t at = state.range->Start() - 1;
    editor.Delete(at, at + 1);
    state.range->Set(at, at);
  }
}

void CSelection::InsertFile(const CStr& fileName, const CVariant&, const CVariant&, const CVariant&, const CVariant&) {
  auto& state = State();
  auto source = CWordFiles::Load(CWordFiles::PathFromText(fileName));
  CStoryEditor editor(*state.story);
  if (state.range->End() > state.range->Start()) editor.Delete(state.range->Start(), state.range->End());
  const std::int32_t at = std::min(state.range->Start(), editor.LastInsertPosition());
  const std::int32_t inserted = CDocumentImporter(*state.doc, *state.story).Insert(*source, at);
  state.range->Set(at, at + inserted);
}
