#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "SValueEntry.h"
#include "ValuesReader.h"

namespace FolioCli {

// The keys an entry may give, in the order their faults are told.
enum ESlot : std::uint8_t {
  eGroup, eField, eParameter1, eParameter2, eStatistics1, eStatistics2,
  eTextKey, eIntegerKey, eFloatKey, eCharKey, ePictureKey, eMessageKey, eNoneKey,
  eUnitKey, ePrecisionKey, eSlotCount,
  eCommentKey = eSlotCount,  // any value, ignored
  eUnknownKey
};

// What the JSON gave for a key.
enum class EJson : std::uint8_t { eAbsent, eString, eSigned, eUnsigned, eFloat, eBool, eNull, eContainer };

struct SSlot {
  EJson kind = EJson::eAbsent;
  std::string text;  // eString
  std::int64_t whole = 0;  // eSigned
  std::uint64_t natural = 0;  // eUnsigned
  double number = 0;  // eFloat
  bool flag = false;  // eBool
};

// One entry's keys as the parser met them: a repeated key counts with its last value,
// as it would in a JSON object. Its strings keep their buffers from entry to entry.
struct SEntrySlots {
  std::array<SSlot, eSlotCount> slots;
  bool hasUnknown = false;
  std::string unknown;  // the first unknown key in byte order

  static ESlot SlotOf(std::string_view key);
  void Clear();
  void NoteUnknown(std::string_view key);
};

using PictureMap = std::unordered_map<std::string, std::filesystem::path>;

// Pictures: each name found on disk once and checked against the folders the user allows.
class CPictureFinder {
public:
  // Names in known are taken as found; names found on disk are added to learned, if given.
  CPictureFinder(const SValuesPlace& place, const PictureMap& known, PictureMap* learned)
      : m_place(place), m_known(known), m_learned(learned) {}
  // The picture's path as the disk has it; nullopt with the fault's text in why.
  std::optional<std::filesystem::path> Find(const std::string& given, std::string& why) const;

private:
  bool InPictureFolder(const std::filesystem::path& picture) const;
  const SValuesPlace& m_place;
  const PictureMap& m_known;
  PictureMap* m_learned;
};

// Checks one entry and, when entry is given, fills it; the first fault in the order of
// the keys above, or "" when there is none.
std::string ReadEntry(const SEntrySlots& slots, const CPictureFinder& pictures, SValueEntry* entry);

}  // namespace FolioCli
