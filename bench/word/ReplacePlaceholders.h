#pragma once
#include <string>

// The benchmark's work: open in, replace every placeholder shape by text as the Word
// generator's walk does (asking for the count before every step), save as out.
void ReplacePlaceholders(const std::string& in, const std::string& out);
