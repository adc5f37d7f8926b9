#include "platform/word/om/CSelection.h"

#include "platform/com/CComError.h"
#include "platform/word/document/CDocumentImporter.h"
#include "platform/word/document/CStoryEditor.h"
#include "platform/word/document/CWordFiles.h"

SSelectionState& CSelection::State() {
  m_app->CheckRunning();
  auto& state = m_app->SelectionState();
  if (!state.doc || !state.story) throw CComError(E_FAIL, u"there is no selection: no document is open");
  const std::int32_t end = state.story->End();
  state.range->start = std::clamp(state.range->start, 0, end);
  state.range->end = std::clamp(state.range->end, state.range->start, end);
  return state;
}

std::shared_ptr<CRange> CSelection::Current() {
  auto& state = State();
  return std::make_shared<CRange>(m_app, state.doc, state.story, state.range);
}

std::shared_ptr<IWordRange> CSelection::Range() {
  auto& state = State();
  return CRange::Make(m_app, state.doc, state.story, state.range->start, state.range->end);
}

std::shared_ptr<IWordCharacters> CSelection::Characters() { return std::make_shared<CCharacters>(Current()); }

long CSelection::Start() { return State().range->start; }

long CSelection::End() { return State().range->end; }

void CSelection::SetRange(long start, long end) {
  auto& state = State();
  const std::int32_t last = state.story->End();
  state.range->start = std::clamp(static_cast<std::int32_t>(std::min(start, end)), 0, last);
  state.range->end = std::clamp(static_cast<std::int32_t>(std::max(start, end)), 0, last);
}

void CSelection::Collapse(const CVariant& direction) {
  auto& state = State();
  if (direction.LongOr(1) == 0) {
    // The insertion point cannot follow the story's final paragraph mark.
    const std::int32_t at = std::min(state.range->end, CStoryEditor(*state.story).LastInsertPosition());
    state.range->start = state.range->end = at;
  } else {
    state.range->end = state.range->start;
  }
}

long CSelection::Delete(const CVariant& unit, const CVariant& count) { return Current()->Delete(unit, count); }

void CSelection::TypeText(const CStr& text) {
  auto& state = State();
  CStoryEditor editor(*state.story);
  if (state.range->end > state.range->start) editor.Delete(state.range->start, state.range->end);
  const std::int32_t at = std::min(state.range->start, editor.LastInsertPosition());
  const std::int32_t inserted = editor.InsertText(at, text.View());
  state.range->start = state.range->end = at + inserted;
}

void CSelection::TypeBackspace() {
  auto& state = State();
  CStoryEditor editor(*state.story);
  if (state.range->end > state.range->start) {
    editor.Delete(state.range->start, state.range->end);
    state.range->end = state.range->start;
  } else if (state.range->start > 0) {
    const std::int32_t at = state.range->start - 1;
    editor.Delete(at, at + 1);
    state.range->start = state.range->end = at;
  }
}

void CSelection::InsertFile(const CStr& fileName, const CVariant&, const CVariant&, const CVariant&, const CVariant&) {
  auto& state = State();
  auto source = CWordFiles::Load(CWordFiles::PathFromText(fileName));
  CStoryEditor editor(*state.story);
  if (state.range->end > state.range->start) editor.Delete(state.range->start, state.range->end);
  const std::int32_t at = std::min(state.range->start, editor.LastInsertPosition());
  const std::int32_t inserted = CDocumentImporter(*state.doc, *state.story).Insert(*source, at);
  state.range->start = at;
  state.range->end = at + inserted;
}
