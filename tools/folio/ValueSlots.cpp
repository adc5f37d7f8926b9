#include "ValueSlots.h"

#include <algorithm>
#include <iterator>
#include <limits>

namespace FolioCli {
namespace {

constexpr std::array<std::string_view, eSlotCount> kSlotNames = {
    "group", "field", "parameter1", "parameter2", "statistics1", "statistics2", "text", "integer",
    "float", "char", "picture", "message", "none", "unit", "precision"};
constexpr ESlot kValueSlots[] = {eTextKey, eIntegerKey, eFloatKey, eCharKey, ePictureKey, eMessageKey, eNoneKey};

std::string Quoted(ESlot slot) { return "\"" + std::string(kSlotNames[slot]) + "\""; }

bool Given(const SEntrySlots& slots, ESlot slot) { return slots.slots[slot].kind != EJson::eAbsent; }

// A text key's fault: missing (when required) or not a text.
std::string TextFault(const SEntrySlots& slots, ESlot slot, bool required) {
  const EJson kind = slots.slots[slot].kind;
  if (kind == EJson::eAbsent) return required ? Quoted(slot) + " is missing" : "";
  return kind == EJson::eString ? "" : Quoted(slot) + " must be a text";
}

std::string Int32Fault(const SSlot& value, ESlot slot) {
  if (value.kind != EJson::eSigned && value.kind != EJson::eUnsigned) return Quoted(slot) + " must be a whole number";
  constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
  constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
  const bool fits = value.kind == EJson::eUnsigned ? value.natural <= std::uint64_t(kMax)
                                                   : value.whole >= kMin && value.whole <= kMax;
  return fits ? "" : Quoted(slot) + " is out of range";
}

std::int32_t Int32Of(const SSlot& value) {
  return static_cast<std::int32_t>(value.kind == EJson::eUnsigned ? std::int64_t(value.natural) : value.whole);
}

double NumberOf(const SSlot& value) {
  return value.kind == EJson::eSigned ? double(value.whole)
         : value.kind == EJson::eUnsigned ? double(value.natural) : value.number;
}

CStr Text(const SEntrySlots& slots, ESlot slot) { return CStr::FromUtf8(slots.slots[slot].text); }

std::optional<CStr> OptionalText(const SEntrySlots& slots, ESlot slot) {
  if (!Given(slots, slot)) return std::nullopt;
  return Text(slots, slot);
}

// Which of the value keys the entry gives (CheckKeys made sure there is exactly one).
ESlot ValueSlot(const SEntrySlots& slots) {
  for (const ESlot slot : kValueSlots)
    if (Given(slots, slot)) return slot;
  return eNoneKey;
}

// The value's own faults, and with entry given, the value itself.
std::string ReadValue(const SEntrySlots& slots, const CPictureFinder& pictures, SValueEntry* entry) {
  const ESlot slot = ValueSlot(slots);
  const SSlot& value = slots.slots[slot];
  if (slot == eIntegerKey) {
    if (std::string why = Int32Fault(value, slot); !why.empty()) return why;
    if (entry) entry->integer = Int32Of(value);
  } else if (slot == eFloatKey) {
    if (value.kind != EJson::eSigned && value.kind != EJson::eUnsigned && value.kind != EJson::eFloat)
      return "\"float\" must be a number";
    if (Given(slots, ePrecisionKey)) {
      if (std::string why = Int32Fault(slots.slots[ePrecisionKey], ePrecisionKey); !why.empty()) return why;
      if (entry) entry->precision = Int32Of(slots.slots[ePrecisionKey]);
    }
    if (entry) entry->number = NumberOf(value);
  } else if (slot == eTextKey || slot == eMessageKey) {
    if (std::string why = TextFault(slots, slot, true); !why.empty()) return why;
    if (entry) entry->text = Text(slots, slot);
  } else if (slot == eCharKey) {
    if (std::string why = TextFault(slots, slot, true); !why.empty()) return why;
    const CStr c = Text(slots, slot);
    if (c.GetLength() != 1) return "\"char\" must be one character";
    if (entry) entry->character = c[0];
  } else if (slot == ePictureKey) {
    if (value.kind != EJson::eString || value.text.empty()) return "\"picture\" must be a file name";
    std::string why;
    const std::optional<std::filesystem::path> found = pictures.Find(value.text, why);
    if (!found) return why;
    if (entry) entry->picture = *found;
  } else if (value.kind != EJson::eBool || !value.flag) {
    return "\"none\" must be true";
  }
  return "";
}

CKORIControlValue::EType TypeOf(ESlot slot) {
  switch (slot) {
    case eTextKey: return CKORIControlValue::eText;
    case eIntegerKey: return CKORIControlValue::eInteger;
    case eFloatKey: return CKORIControlValue::eFloat;
    case eCharKey: return CKORIControlValue::eChar;
    case ePictureKey: return CKORIControlValue::ePicture;
    case eMessageKey: return CKORIControlValue::eMessage;
    default: return CKORIControlValue::eNone;
  }
}

}  // namespace

ESlot SEntrySlots::SlotOf(std::string_view key) {
  for (std::size_t i = 0; i < kSlotNames.size(); ++i)
    if (kSlotNames[i] == key) return static_cast<ESlot>(i);
  return key == "comment" ? eCommentKey : eUnknownKey;
}

void SEntrySlots::Clear() {
  for (SSlot& slot : slots) slot.kind = EJson::eAbsent;
  hasUnknown = false;
}

void SEntrySlots::NoteUnknown(std::string_view key) {
  if (hasUnknown && !(key < unknown)) return;
  unknown = key;
  hasUnknown = true;
}

std::optional<std::filesystem::path> CPictureFinder::Find(const std::string& given, std::string& why) const {
  if (const auto known = m_known.find(given); known != m_known.end()) return known->second;
  const std::filesystem::path name(given);
  const std::filesystem::path path = name.is_absolute() ? name : m_place.baseFolder / name;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    why = "picture \"" + path.string() + "\" does not exist";
    return std::nullopt;
  }
  // A values file may come from someone else: it must not pick files from anywhere
  // on this machine to be copied into a report that is then passed on.
  std::filesystem::path found = std::filesystem::canonical(path, ec);
  if (ec || !InPictureFolder(found)) {
    why = "picture \"" + name.string() + "\" lies outside the values file's folder \"" + m_place.baseFolder.string() +
          "\"; name its folder with --picture-folder to allow it";
    return std::nullopt;
  }
  if (m_learned) m_learned->emplace(given, found);
  return found;
}

bool CPictureFinder::InPictureFolder(const std::filesystem::path& picture) const {
  for (const auto& folder : m_place.pictureFolders) {
    const auto [end, rest] = std::mismatch(folder.begin(), folder.end(), picture.begin(), picture.end());
    if (end == folder.end() || (std::next(end) == folder.end() && end->empty())) return true;
  }
  return false;
}

std::string ReadEntry(const SEntrySlots& slots, const CPictureFinder& pictures, SValueEntry* entry) {
  if (slots.hasUnknown) return "unknown key \"" + slots.unknown + "\"";
  const auto valueKeys = std::count_if(std::begin(kValueSlots), std::end(kValueSlots),
                                       [&slots](ESlot slot) { return Given(slots, slot); });
  if (valueKeys != 1)
    return "give exactly one of \"text\", \"integer\", \"float\", \"char\", \"picture\", \"message\" or \"none\"";
  for (const ESlot slot : {eGroup, eField, eParameter1, eParameter2, eStatistics1, eStatistics2})
    if (std::string why = TextFault(slots, slot, slot == eGroup || slot == eField); !why.empty()) return why;
  const bool hasUnit = Given(slots, eUnitKey);
  if (std::string why = TextFault(slots, eUnitKey, false); !why.empty()) return why;
  if (std::string why = ReadValue(slots, pictures, entry); !why.empty()) return why;
  const ESlot slot = ValueSlot(slots);
  if (hasUnit && slot != eIntegerKey && slot != eFloatKey) return "\"unit\" goes with \"integer\" or \"float\"";
  if (Given(slots, ePrecisionKey) && slot != eFloatKey) return "\"precision\" goes with \"float\"";
  if (!entry) return "";
  entry->type = TypeOf(slot);
  entry->group = Text(slots, eGroup);
  entry->field = Text(slots, eField);
  entry->parameter1 = OptionalText(slots, eParameter1);
  entry->parameter2 = OptionalText(slots, eParameter2);
  entry->statistics1 = OptionalText(slots, eStatistics1);
  entry->statistics2 = OptionalText(slots, eStatistics2);
  if (hasUnit) entry->unit = Text(slots, eUnitKey);
  return "";
}

}  // namespace FolioCli
