#pragma once
// Asking the host for one placeholder's value, the same way for every format: the
// description goes into the working record, the host's callback completes it, and the
// record is checked before the writer sees it.
#include <functional>

#include "folio/model/CKORIControlValue.h"

// Puts description's description half (names, options, sizes, version) into record;
// the value half stays for the host to overwrite.
void PutDescription(const CKORIControlValue& description, CKORIControlValue& record);

// Traces "Calculating value", calls the host, runs between (progress shown after the
// host answered), traces "Checking consistency of calculated value" and checks the
// record. Traces go to source.
void RequestValue(const std::function<void()>& getValue, CKORIControlValue& record, const char16_t* source,
                  const std::function<void()>& between = {});

// Traces "Checking consistency of calculated value" and checks the record.
void CheckValue(CKORIControlValue& record, const char16_t* source);

// The host's callback alone, for placeholders whose answer is written unchecked
// (headers and footers of Word reports).
void AskHost(const std::function<void()>& getValue);
