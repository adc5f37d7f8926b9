#include "ValuesFile.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <fstream>
#include <limits>
#include <sstream>

#include <nlohmann/json.hpp>

namespace FolioCli {
namespace {

using nlohmann::json;

constexpr std::array kValueKeys = {"text", "integer", "float", "char", "picture", "message", "none"};
constexpr std::array kNameKeys = {"group", "field", "parameter1", "parameter2", "statistics1", "statistics2"};
constexpr std::array kModifierKeys = {"unit", "precision"};

class CEntryReader {
public:
  CEntryReader(const std::filesystem::path& baseFolder, const std::vector<std::filesystem::path>& pictureFolders,
               const std::string& source)
      : m_baseFolder(baseFolder), m_source(source) {
    // Compared as the disk has them, so that neither "../" nor a link leads out.
    std::error_code ec;
    m_pictureFolders.push_back(std::filesystem::weakly_canonical(baseFolder, ec));
    for (const auto& folder : pictureFolders) m_pictureFolders.push_back(std::filesystem::weakly_canonical(folder, ec));
  }

  [[noreturn]] void Fail(const std::string& where, const std::string& why) const {
    throw EValuesFile(m_source + ": " + where + ": " + why);
  }

  ValueList ReadList(const json& list, const std::string& where) const {
    if (!list.is_array()) Fail(where, "expected a list of entries");
    ValueList entries;
    // Exactly as many as listed: a doubling vector would hold up to twice that.
    entries.reserve(list.size());
    for (std::size_t i = 0; i < list.size(); ++i)
      entries.push_back(ReadEntry(list[i], where + "[" + std::to_string(i) + "]"));
    return entries;
  }

private:
  SValueEntry ReadEntry(const json& item, const std::string& where) const {
    if (!item.is_object()) Fail(where, "expected an object with \"group\" and \"field\"");
    SValueEntry entry;
    entry.where = where;
    CheckKeys(item, where);
    entry.group = RequiredText(item, "group", where);
    entry.field = RequiredText(item, "field", where);
    entry.parameter1 = OptionalText(item, "parameter1", where);
    entry.parameter2 = OptionalText(item, "parameter2", where);
    entry.statistics1 = OptionalText(item, "statistics1", where);
    entry.statistics2 = OptionalText(item, "statistics2", where);
    ReadValue(item, entry);
    return entry;
  }

  void CheckKeys(const json& item, const std::string& where) const {
    int valueKeys = 0;
    for (const auto& [key, value] : item.items()) {
      const auto known = [&key](const auto& keys) {
        for (const char* k : keys)
          if (key == k) return true;
        return false;
      };
      if (known(kValueKeys)) ++valueKeys;
      else if (!known(kNameKeys) && !known(kModifierKeys) && key != "comment")
        Fail(where, "unknown key \"" + key + "\"");
    }
    if (valueKeys != 1)
      Fail(where, "give exactly one of \"text\", \"integer\", \"float\", \"char\", \"picture\", "
                  "\"message\" or \"none\"");
  }

  void ReadValue(const json& item, SValueEntry& entry) const {
    const std::string& where = entry.where;
    const bool hasUnit = item.contains("unit");
    const bool hasPrecision = item.contains("precision");
    if (hasUnit) entry.unit = RequiredText(item, "unit", where);
    if (item.contains("integer")) {
      entry.type = CKORIControlValue::eInteger;
      entry.integer = Int32(item["integer"], where, "integer");
    } else if (item.contains("float")) {
      entry.type = CKORIControlValue::eFloat;
      if (!item["float"].is_number()) Fail(where, "\"float\" must be a number");
      entry.number = item["float"].get<double>();
      if (hasPrecision) entry.precision = Int32(item["precision"], where, "precision");
    } else if (item.contains("text")) {
      entry.type = CKORIControlValue::eText;
      entry.text = RequiredText(item, "text", where);
    } else if (item.contains("message")) {
      entry.type = CKORIControlValue::eMessage;
      entry.text = RequiredText(item, "message", where);
    } else if (item.contains("char")) {
      entry.type = CKORIControlValue::eChar;
      const CStr c = RequiredText(item, "char", where);
      if (c.GetLength() != 1) Fail(where, "\"char\" must be one character");
      entry.character = c[0];
    } else if (item.contains("picture")) {
      entry.type = CKORIControlValue::ePicture;
      ReadPicture(item["picture"], entry);
    } else {
      if (item["none"] != true) Fail(where, "\"none\" must be true");
      entry.type = CKORIControlValue::eNone;
    }
    if (hasUnit && entry.type != CKORIControlValue::eInteger && entry.type != CKORIControlValue::eFloat)
      Fail(where, "\"unit\" goes with \"integer\" or \"float\"");
    if (hasPrecision && entry.type != CKORIControlValue::eFloat)
      Fail(where, "\"precision\" goes with \"float\"");
  }

  void ReadPicture(const json& value, SValueEntry& entry) const {
    if (!value.is_string() || value.get<std::string>().empty())
      Fail(entry.where, "\"picture\" must be a file name");
    const std::filesystem::path given(value.get<std::string>());
    const std::filesystem::path path = given.is_absolute() ? given : m_baseFolder / given;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
      Fail(entry.where, "picture \"" + path.string() + "\" does not exist");
    // A values file may come from someone else: it must not pick files from anywhere
    // on this machine to be copied into a report that is then passed on.
    entry.picture = std::filesystem::canonical(path, ec);
    if (ec || !InPictureFolder(entry.picture))
      Fail(entry.where, "picture \"" + given.string() + "\" lies outside the values file's folder \"" +
                            m_baseFolder.string() + "\"; name its folder with --picture-folder to allow it");
  }

  bool InPictureFolder(const std::filesystem::path& picture) const {
    for (const auto& folder : m_pictureFolders) {
      const auto [end, rest] = std::mismatch(folder.begin(), folder.end(), picture.begin(), picture.end());
      if (end == folder.end() || (std::next(end) == folder.end() && end->empty())) return true;
    }
    return false;
  }

  CStr RequiredText(const json& item, const char* key, const std::string& where) const {
    if (!item.contains(key)) Fail(where, std::string("\"") + key + "\" is missing");
    const json& value = item[key];
    if (!value.is_string()) Fail(where, std::string("\"") + key + "\" must be a text");
    return CStr::FromUtf8(value.get<std::string>());
  }

  std::optional<CStr> OptionalText(const json& item, const char* key, const std::string& where) const {
    if (!item.contains(key)) return std::nullopt;
    return RequiredText(item, key, where);
  }

  std::int32_t Int32(const json& value, const std::string& where, const char* key) const {
    if (!value.is_number_integer()) Fail(where, std::string("\"") + key + "\" must be a whole number");
    const bool fits = value.is_number_unsigned()
                          ? value.get<std::uint64_t>() <= std::uint64_t(std::numeric_limits<std::int32_t>::max())
                          : value.get<std::int64_t>() >= std::numeric_limits<std::int32_t>::min() &&
                                value.get<std::int64_t>() <= std::numeric_limits<std::int32_t>::max();
    if (!fits) Fail(where, std::string("\"") + key + "\" is out of range");
    const auto n = value.get<std::int64_t>();
    return static_cast<std::int32_t>(n);
  }

  std::filesystem::path m_baseFolder;
  std::vector<std::filesystem::path> m_pictureFolders;
  std::string m_source;
};

}  // namespace

SValuesFile ParseValuesFile(std::string_view text, const std::filesystem::path& baseFolder,
                            const std::string& source, const std::vector<std::filesystem::path>& pictureFolders) {
  json document;
  try {
    document = json::parse(text);
  } catch (const json::exception& e) {  // a syntax error, or a number beyond any double
    throw EValuesFile(source + ": not valid JSON (" + e.what() + ")");
  }
  const CEntryReader reader(baseFolder, pictureFolders, source);
  if (!document.is_object()) reader.Fail("top level", "expected an object with \"values\" or \"measurements\"");
  SValuesFile file;
  for (const auto& [key, value] : document.items()) {
    if (key == "values") {
      file.values = reader.ReadList(value, "values");
    } else if (key == "measurements") {
      if (!value.is_array()) reader.Fail("measurements", "expected a list of measurements");
      file.measurements.reserve(value.size());
      for (std::size_t i = 0; i < value.size(); ++i) {
        const std::string where = "measurements[" + std::to_string(i) + "]";
        const json& measurement = value[i];
        if (!measurement.is_object() || !measurement.contains("values"))
          reader.Fail(where, "expected an object with \"values\"");
        for (const auto& [k, v] : measurement.items())
          if (k != "values" && k != "comment") reader.Fail(where, "unknown key \"" + k + "\"");
        file.measurements.push_back(reader.ReadList(measurement["values"], where + ".values"));
      }
    } else if (key != "comment") {
      reader.Fail("top level", "unknown key \"" + key + "\"");
    }
  }
  return file;
}

SValuesFile LoadValuesFile(const std::filesystem::path& path, const std::vector<std::filesystem::path>& pictureFolders) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw EValuesFile(path.string() + ": cannot be read");
  std::ostringstream text;
  text << in.rdbuf();
  std::error_code ec;
  const std::filesystem::path folder = std::filesystem::absolute(path, ec).parent_path();
  return ParseValuesFile(text.str(), folder, path.string(), pictureFolders);
}

}  // namespace FolioCli
