#pragma once
#include <optional>
#include <string>

#include "TemplateScan.h"
#include "ValueMatching.h"

namespace FolioPython {

// A placeholder as Python sees it: in a callable's argument, and in inspect()'s list.
struct SPlaceholder {
  std::string group;
  std::string field;
  std::string parameter1;
  std::string parameter2;
  std::string statistics1;
  std::string statistics2;
  std::string section;                     // "preface", "body" or "summary"
  std::optional<std::size_t> measurement;  // the body pass's measurement, from 0
  std::string description;                 // "Group/Field(...)", as messages name it
  // inspect() only: place in the template, layout and what became of legacy names.
  std::size_t index = 0;
  std::string location;  // "main text", "table cell (word/document.xml), paragraph 3", ...
  int unitOptions = 0;
  int pictureOptions = 0;
  float width = 0;
  float height = 0;
  std::optional<std::string> writtenAs;  // the legacy description, when it was translated
  std::string outcome = "ok";            // "ok", "translated", "field not supported", ...
  bool asksHost = true;

  static SPlaceholder Of(const FolioCli::SPlaceholderKey& key);
  static SPlaceholder Of(const FolioCli::SScannedPlaceholder& scanned, std::size_t index);
  std::string Repr() const;
};

}  // namespace FolioPython
