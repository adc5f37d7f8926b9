#pragma once
// The section cursor's moves, shared by the passes of a sectioned template: where a
// pass starts, and what a section tag does to the cursor.
#include <cstdint>
#include <optional>

#include "folio/report/CFolio.h"
#include "folio/report/CTemplateModel.h"

// The text position this pass starts at, with the cursor on its first placeholder;
// nothing when the template has nothing left for the pass. A body pass appending to a
// report starts over at the first body placeholder.
std::optional<std::uint32_t> StartPass(SSectionCursor& cursor, ELivesheetProcessingType pass, bool appending,
                                       const CTemplateModel& model);

// What the pass does after the placeholder at the cursor was written.
enum class EAfterPlaceholder { eGoOn, eEndPass };

// Moves the cursor past the placeholder just written, whose value was of type; a
// section tag ends the pass unless the whole file is produced at once (then a summary
// tag turns the pass into the summary).
EAfterPlaceholder PassPlaceholder(SSectionCursor& cursor, CKORIControlValue::EType type, bool wholeFile,
                                  ELivesheetProcessingType& pass);
