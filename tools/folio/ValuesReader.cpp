#include "ValuesReader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>
#include <memory>
#include <optional>

#include <nlohmann/json.hpp>
#include <rapidjson/memorystream.h>
#include <rapidjson/reader.h>

#include "ValueSlots.h"
#include "ValuesFile.h"
#include "folio/util/CStr.h"

namespace FolioCli {
namespace {

using nlohmann::json;

// Walks the text and leaves its place where the reader sees it: the parser's events do
// not say where in the text they stand, and a measurement is kept as its span.
class CTrackingIterator {
public:
  using iterator_category = std::input_iterator_tag;
  using value_type = char;
  using difference_type = std::ptrdiff_t;
  using pointer = const char*;
  using reference = const char&;

  CTrackingIterator(const char* at, const char** place) : m_at(at), m_place(place) {}
  reference operator*() const { return *m_at; }
  CTrackingIterator& operator++() {
    *m_place = ++m_at;
    return *this;
  }
  CTrackingIterator operator++(int) {
    CTrackingIterator before = *this;
    ++*this;
    return before;
  }
  bool operator==(const CTrackingIterator& other) const { return m_at == other.m_at; }
  bool operator!=(const CTrackingIterator& other) const { return m_at != other.m_at; }

private:
  const char* m_at;
  const char** m_place;
};

// Where the next value goes.
enum class EAt { eRoot, eTop, eMeasurements, eMeasurement, eList, eEntry, eDone };
enum class EKey { eValues, eMeasurements, eComment, eUnknown };

// The first fault met at one key of the file, or in one list.
using Fault = std::optional<std::string>;

// A SAX handler that checks a values file as it streams past, in a fixed shape: top
// object, measurements, measurement, list, entry. Whatever is not looked at (comments,
// values after a fault) is skipped by depth, so that any nesting costs a counter.
// Faults wait until the end: a syntax error anywhere comes first, then the fault at the
// first key in byte order, as a parsed document would be read key by key.
class CValuesSax {
public:
  // Reads a whole file (measurement unset) or the one measurement whose object is the text.
  CValuesSax(const char* text, const CPictureFinder& pictures, const std::string& source,
             std::optional<std::size_t> measurement)
      : m_text(text),
        m_place(text),
        m_pictures(pictures),
        m_source(source),
        m_only(measurement),
        m_measurementIndex(measurement.value_or(0)) {}

  const char** Place() { return &m_place; }
  ValueList TakeValues() { return std::move(m_values); }
  ValueList TakeMeasurement() { return std::move(m_measurement); }
  std::vector<std::pair<std::size_t, std::size_t>> TakeSpans() { return std::move(m_spans); }
  // Throws the file's fault, if it has one.
  void Finish() const;

  // The parser's events.
  bool null() { return Scalar(EJson::eNull, [](SSlot&) {}); }
  bool boolean(bool value) { return Scalar(EJson::eBool, [value](SSlot& s) { s.flag = value; }); }
  bool number_integer(json::number_integer_t value) {
    return Scalar(EJson::eSigned, [value](SSlot& s) { s.whole = value; });
  }
  bool number_unsigned(json::number_unsigned_t value) {
    return Scalar(EJson::eUnsigned, [value](SSlot& s) { s.natural = value; });
  }
  bool number_float(json::number_float_t value, const json::string_t&) {
    return Scalar(EJson::eFloat, [value](SSlot& s) { s.number = value; });
  }
  bool string(json::string_t& value) { return Text(value); }
  bool Text(std::string_view value) {
    return Scalar(EJson::eString, [value](SSlot& s) { s.text.assign(value); });
  }
  bool binary(json::binary_t&) { return Scalar(EJson::eContainer, [](SSlot&) {}); }
  bool start_object(std::size_t) { return m_skip ? (++m_skip, true) : Begin(true); }
  bool start_array(std::size_t) { return m_skip ? (++m_skip, true) : Begin(false); }
  bool end_object() { return m_skip ? (--m_skip, true) : End(); }
  bool end_array() { return m_skip ? (--m_skip, true) : End(); }
  bool key(json::string_t& name) { return Name(name); }
  bool Name(std::string_view name) { return m_skip ? true : Key(name); }
  bool parse_error(std::size_t, const std::string&, const json::exception& e) {
    // A syntax error, or a number beyond any double.
    throw EValuesFile(m_source + ": not valid JSON (" + e.what() + ")");
  }

private:
  template <typename Set>
  bool Scalar(EJson kind, Set set) {
    if (m_skip) return true;
    if (m_at == EAt::eEntry) {
      SSlot* slot = m_key < eSlotCount ? &m_slots.slots[m_key] : nullptr;
      if (slot) {
        slot->kind = kind;
        set(*slot);
      }
      return true;
    }
    NotAContainer(kind);
    return true;
  }
  bool Begin(bool object);
  bool End();
  bool Key(std::string_view name);
  void NotAContainer(EJson kind);
  void BeginList(bool array, Fault& fault, std::string list);
  void BeginMeasurement();
  void EndMeasurement();
  void EndEntry();
  void Skip() { m_skip = 1; }
  std::size_t Offset() const { return static_cast<std::size_t>(m_place - m_text); }
  std::string MeasurementName() const { return "measurements[" + std::to_string(m_measurementIndex) + "]"; }

  const char* m_text;
  const char* m_place;
  const CPictureFinder& m_pictures;
  const std::string& m_source;
  const std::optional<std::size_t> m_only;

  EAt m_at = EAt::eRoot;
  std::size_t m_skip = 0;  // open containers being skipped
  // The top object.
  EKey m_topKey = EKey::eUnknown;
  Fault m_rootFault, m_valuesFault, m_measurementsFault, m_unknownTop;
  ValueList m_values;
  std::vector<std::pair<std::size_t, std::size_t>> m_spans;
  // The measurement being read.
  std::size_t m_measurementIndex = 0;
  std::size_t m_measurementBegin = 0;
  bool m_hasValues = false;
  EKey m_measurementKey = EKey::eUnknown;
  Fault m_unknownInMeasurement, m_measurementListFault;
  ValueList m_measurement;
  // The list being read.
  std::string m_listName;  // "values" or "measurements[k].values"
  Fault* m_listFault = nullptr;
  ValueList* m_list = nullptr;  // null: checked, not kept
  std::size_t m_position = 0;
  // The entry being read.
  SEntrySlots m_slots;
  ESlot m_key = eUnknownKey;
};

void NoteFirstKey(Fault& unknown, std::string_view name) {
  if (!unknown || name < *unknown) unknown = std::string(name);
}

bool CValuesSax::Key(std::string_view name) {
  if (m_at == EAt::eEntry) {
    m_key = SEntrySlots::SlotOf(name);
    if (m_key == eUnknownKey) m_slots.NoteUnknown(name);
  } else if (m_at == EAt::eTop) {
    m_topKey = name == "values" ? EKey::eValues : name == "measurements" ? EKey::eMeasurements
               : name == "comment" ? EKey::eComment : EKey::eUnknown;
    if (m_topKey == EKey::eUnknown) NoteFirstKey(m_unknownTop, name);
  } else if (m_at == EAt::eMeasurement) {
    m_measurementKey = name == "values" ? EKey::eValues : name == "comment" ? EKey::eComment : EKey::eUnknown;
    if (m_measurementKey == EKey::eUnknown) NoteFirstKey(m_unknownInMeasurement, name);
  }
  return true;
}

// A list of entries starts (or, not being an array, fails). A key given twice counts
// with its last value, so the list starts afresh.
void CValuesSax::BeginList(bool array, Fault& fault, std::string list) {
  fault.reset();
  m_listName = std::move(list);
  if (!array) {
    fault = m_listName + ": expected a list of entries";
    return;
  }
  m_listFault = &fault;
  m_position = 0;
  m_at = EAt::eList;
}

void CValuesSax::BeginMeasurement() {
  m_measurementBegin = Offset() - 1;  // the parser has just passed the '{'
  m_hasValues = false;
  m_unknownInMeasurement.reset();
  m_measurementListFault.reset();
  m_measurementKey = EKey::eUnknown;
  m_at = EAt::eMeasurement;
}

bool CValuesSax::Begin(bool object) {
  switch (m_at) {
    case EAt::eRoot:
      if (!object) {
        m_rootFault = "top level: expected an object with \"values\" or \"measurements\"";
        Skip();
      } else if (m_only) {
        BeginMeasurement();
      } else {
        m_at = EAt::eTop;
      }
      return true;
    case EAt::eTop:
      if (m_topKey == EKey::eValues) {
        m_values.clear();
        m_list = &m_values;
        BeginList(!object, m_valuesFault, "values");
      } else if (m_topKey == EKey::eMeasurements && !object) {
        m_measurementsFault.reset();
        m_spans.clear();
        m_measurementIndex = 0;
        m_at = EAt::eMeasurements;
      } else if (m_topKey == EKey::eMeasurements) {
        m_spans.clear();
        m_measurementsFault = "measurements: expected a list of measurements";
      }
      if (m_at == EAt::eTop) Skip();
      return true;
    case EAt::eMeasurements:
      if (m_measurementsFault) {
        Skip();
      } else if (!object) {
        m_measurementsFault = MeasurementName() + ": expected an object with \"values\"";
        Skip();
      } else {
        BeginMeasurement();
      }
      return true;
    case EAt::eMeasurement:
      if (m_measurementKey == EKey::eValues) {
        m_hasValues = true;
        m_measurement.clear();
        m_list = m_only ? &m_measurement : nullptr;
        BeginList(!object, m_measurementListFault, MeasurementName() + ".values");
      }
      if (m_at == EAt::eMeasurement) Skip();
      return true;
    case EAt::eList:
      if (*m_listFault || !object) {
        if (!*m_listFault)
          *m_listFault = m_listName + "[" + std::to_string(m_position) + "]: expected an object with \"group\" and \"field\"";
        ++m_position;
        Skip();
        return true;
      }
      m_slots.Clear();
      m_key = eUnknownKey;
      m_at = EAt::eEntry;
      return true;
    case EAt::eEntry:
      if (m_key < eSlotCount) m_slots.slots[m_key].kind = EJson::eContainer;
      Skip();
      return true;
    case EAt::eDone: break;
  }
  Skip();
  return true;
}

// A scalar where a container was expected.
void CValuesSax::NotAContainer(EJson) {
  switch (m_at) {
    case EAt::eRoot:
      m_rootFault = "top level: expected an object with \"values\" or \"measurements\"";
      m_at = EAt::eDone;
      break;
    case EAt::eTop:
      if (m_topKey == EKey::eValues) {
        m_values.clear();
        BeginList(false, m_valuesFault, "values");
      } else if (m_topKey == EKey::eMeasurements) {
        m_spans.clear();
        m_measurementsFault = "measurements: expected a list of measurements";
      }
      break;
    case EAt::eMeasurements:
      if (!m_measurementsFault) m_measurementsFault = MeasurementName() + ": expected an object with \"values\"";
      ++m_measurementIndex;
      break;
    case EAt::eMeasurement:
      if (m_measurementKey == EKey::eValues) {
        m_hasValues = true;
        m_measurement.clear();
        BeginList(false, m_measurementListFault, MeasurementName() + ".values");
      }
      break;
    case EAt::eList:
      if (!*m_listFault)
        *m_listFault = m_listName + "[" + std::to_string(m_position) + "]: expected an object with \"group\" and \"field\"";
      ++m_position;
      break;
    default: break;
  }
}

bool CValuesSax::End() {
  switch (m_at) {
    case EAt::eTop: m_at = EAt::eDone; break;
    case EAt::eMeasurements: m_at = EAt::eTop; break;
    case EAt::eMeasurement: EndMeasurement(); break;
    case EAt::eList: m_at = m_listFault == &m_valuesFault ? EAt::eTop : EAt::eMeasurement; break;
    case EAt::eEntry: EndEntry(); break;
    default: break;
  }
  return true;
}

void CValuesSax::EndEntry() {
  m_at = EAt::eList;
  // Filled where it stays: an entry is large enough for its moves to count.
  SValueEntry* kept = m_list ? &m_list->emplace_back() : nullptr;
  if (std::string why = ReadEntry(m_slots, m_pictures, kept); !why.empty()) {
    if (kept) m_list->pop_back();
    *m_listFault = m_listName + "[" + std::to_string(m_position) + "]: " + why;
  } else if (kept) {
    kept->measurement = m_only;
    kept->position = m_position;
  }
  ++m_position;
}

// Faults inside a measurement are told in the order a parsed object would be read: no
// "values", then keys it does not know, then its entries.
void CValuesSax::EndMeasurement() {
  Fault fault;
  if (!m_hasValues) fault = MeasurementName() + ": expected an object with \"values\"";
  else if (m_unknownInMeasurement) fault = MeasurementName() + ": unknown key \"" + *m_unknownInMeasurement + "\"";
  else fault = m_measurementListFault;
  if (fault && !m_measurementsFault) m_measurementsFault = fault;
  if (!fault) m_spans.emplace_back(m_measurementBegin, Offset());
  ++m_measurementIndex;
  m_at = m_only ? EAt::eDone : EAt::eMeasurements;
}

void CValuesSax::Finish() const {
  const auto fail = [this](const std::string& fault) { throw EValuesFile(m_source + ": " + fault); };
  if (m_rootFault) fail(*m_rootFault);
  if (m_only) {
    if (m_measurementsFault) fail(*m_measurementsFault);
    return;
  }
  // The first key in byte order with a fault, as a document read key by key would tell it.
  std::optional<std::pair<std::string, std::string>> first;
  const auto consider = [&first](const std::string& key, const Fault& fault) {
    if (fault && (!first || key < first->first)) first.emplace(key, *fault);
  };
  consider("measurements", m_measurementsFault);
  consider("values", m_valuesFault);
  if (m_unknownTop) consider(*m_unknownTop, "top level: unknown key \"" + *m_unknownTop + "\"");
  if (first) fail(first->second);
}

// The parser whose messages users see: a syntax error is told in its words.
bool ParseExact(const char* begin, const char* end, CValuesSax& sax) {
  json::sax_parse(CTrackingIterator(begin, sax.Place()), CTrackingIterator(end, sax.Place()), &sax);
  return true;
}

// RapidJSON's events passed on. It reads several times faster; where it refuses a text,
// or meets a text the exact parser would refuse and it takes (a lone surrogate, bytes
// that are no UTF-8), the exact parser reads the file again and tells why.
class CFastEvents {
public:
  CFastEvents(CValuesSax& sax, const rapidjson::MemoryStream& stream, const char* text)
      : m_sax(sax), m_stream(stream), m_text(text) {}

  bool Null() { return m_sax.null(); }
  bool Bool(bool value) { return m_sax.boolean(value); }
  // Numbers come as their text and are converted as the exact parser converts them: a
  // whole number that fits 64 bits is one, anything else a double, refused when infinite.
  bool RawNumber(const char* text, rapidjson::SizeType length, bool) {
    const char* end = text + length;
    if (std::find_if(text, end, [](char c) { return c == '.' || c == 'e' || c == 'E'; }) == end) {
      if (*text == '-') {
        std::int64_t whole = 0;
        if (const auto [at, ec] = std::from_chars(text, end, whole); ec == std::errc() && at == end)
          return m_sax.number_integer(whole);
      } else {
        std::uint64_t natural = 0;
        if (const auto [at, ec] = std::from_chars(text, end, natural); ec == std::errc() && at == end)
          return m_sax.number_unsigned(natural);
      }
    }
    // Out of range, overflowing or underflowing, it goes to the exact parser.
    double number = 0;
    const auto [at, ec] = std::from_chars(text, end, number);
    return ec == std::errc() && at == end && std::isfinite(number) && m_sax.number_float(number, kNoText);
  }
  // Unused with numbers as text.
  bool Int(int) { return false; }
  bool Uint(unsigned) { return false; }
  bool Int64(std::int64_t) { return false; }
  bool Uint64(std::uint64_t) { return false; }
  bool Double(double) { return false; }
  bool String(const char* text, rapidjson::SizeType length, bool) {
    return WellFormed(text, length) && m_sax.Text(std::string_view(text, length));
  }
  bool Key(const char* text, rapidjson::SizeType length, bool) {
    return WellFormed(text, length) && m_sax.Name(std::string_view(text, length));
  }
  // RapidJSON calls these before it passes the bracket; the reader counts from after it.
  bool StartObject() {
    Pass();
    return m_sax.start_object(0);
  }
  bool EndObject(rapidjson::SizeType) {
    Pass();
    return m_sax.end_object();
  }
  bool StartArray() { return m_sax.start_array(0); }
  bool EndArray(rapidjson::SizeType) { return m_sax.end_array(); }

private:
  static bool WellFormed(const char* text, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i)
      if (static_cast<unsigned char>(text[i]) >= 0x80) return IsValidUtf8(std::string_view(text + i, length - i));
    return true;
  }
  void Pass() { *m_sax.Place() = m_text + m_stream.Tell() + 1; }
  static inline const json::string_t kNoText;
  CValuesSax& m_sax;
  const rapidjson::MemoryStream& m_stream;
  const char* m_text;
};

// False when the fast parser refused the text, which then needs the exact one.
bool ParseFast(const char* begin, const char* end, CValuesSax& sax) {
  const auto length = static_cast<std::size_t>(end - begin);
  // Its string lengths are 32 bits wide.
  if (length >= (std::size_t(1) << 31)) return false;
  rapidjson::MemoryStream stream(begin, length);
  CFastEvents events(sax, stream, begin);
  rapidjson::Reader reader;
  constexpr unsigned kFlags = rapidjson::kParseIterativeFlag | rapidjson::kParseNumbersAsStringsFlag;
  // A zero byte ends its text early: all of it must have been read.
  return !reader.Parse<kFlags>(stream, events).IsError() && stream.Tell() == length;
}

// Reads with the fast parser and, if it refuses, again with the exact one; then throws
// the file's fault, if any.
template <typename Make>
auto Read(const char* begin, const char* end, EJsonParser parser, Make make) {
  if (parser == EJsonParser::eFast) {
    auto sax = make();
    if (ParseFast(begin, end, *sax)) {
      sax->Finish();
      return sax;
    }
  }
  auto sax = make();
  ParseExact(begin, end, *sax);
  sax->Finish();
  return sax;
}

}  // namespace

ValueList ReadValuesText(SMeasurementsText& file, EJsonParser parser) {
  const CPictureFinder pictures(file.place, file.pictures, &file.pictures);
  const char* text = file.text.data();
  auto sax = Read(text, text + file.text.size(), parser, [&] {
    return std::make_unique<CValuesSax>(text, pictures, file.place.source, std::nullopt);
  });
  file.spans = sax->TakeSpans();
  return sax->TakeValues();
}

ValueList ReadMeasurementText(const SMeasurementsText& file, std::size_t k, EJsonParser parser) {
  const CPictureFinder pictures(file.place, file.pictures, nullptr);
  const auto [begin, end] = file.spans.at(k);
  const char* text = file.text.data() + begin;
  auto sax = Read(text, file.text.data() + end, parser, [&] {
    return std::make_unique<CValuesSax>(text, pictures, file.place.source, k);
  });
  return sax->TakeMeasurement();
}

}  // namespace FolioCli
