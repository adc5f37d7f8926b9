#pragma once
#include <string>

// Resolves the character references of an attribute value: each reference found
// also replaces every later copy of its text, and the scan goes on after it in the
// text so changed. Costs about one pass over the value however many references it
// holds.
void ResolveValueReferences(std::u16string& value);
