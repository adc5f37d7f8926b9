#include "folio/platform/host/CInifile.h"

#include <boost/property_tree/ini_parser.hpp>
#include <boost/property_tree/ptree.hpp>

#include <fstream>
#include <optional>
#include <sstream>
#include <system_error>

#include "folio/util/SystemUtils.h"
#include "platform/fs/CSafeFileWriter.h"

namespace fs = std::filesystem;
using boost::property_tree::ptree;

namespace {

bool SameName(const std::string& a, const std::string& b) {
  return CStr::FromUtf8(a).LowerAscii() == CStr::FromUtf8(b).LowerAscii();
}

ptree* FindChild(ptree& tree, const std::string& name) {
  for (auto& child : tree) {
    if (SameName(child.first, name)) return &child.second;
  }
  return nullptr;
}

// The parsed file; an empty tree when there is no file; nothing when it cannot be read.
std::optional<ptree> LoadTree(const fs::path& file) {
  std::error_code error;
  if (!fs::exists(file, error)) return error ? std::nullopt : std::optional<ptree>(ptree());
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  ptree tree;
  try {
    boost::property_tree::read_ini(in, tree);
  } catch (const boost::property_tree::ini_parser_error&) {
    return std::nullopt;
  }
  return tree;
}

bool CanStore(const std::string& key, const std::string& value) {
  if (key.empty() || key.find_first_of("=\r\n") != std::string::npos) return false;
  if (key.front() == '[' || key.front() == ';' || key.front() == '#') return false;
  return value.find_first_of("\r\n") == std::string::npos;
}

}  // namespace

CInifile::CInifile(CStr file, CStr section) : m_file(std::move(file)), m_section(std::move(section)) {}

CStr CInifile::ReadString(const CStr& key, const CStr& defaultValue) const {
  if (m_file.IsEmpty()) return defaultValue;
  std::optional<ptree> tree = LoadTree(SystemUtils::ToFsPath(m_file));
  if (!tree) return defaultValue;
  ptree* section = FindChild(*tree, m_section.ToUtf8());
  if (!section) return defaultValue;
  ptree* entry = FindChild(*section, key.ToUtf8());
  if (!entry) return defaultValue;
  return CStr::FromUtf8(entry->data());
}

bool CInifile::WriteString(const CStr& key, const CStr& value) const {
  const std::string keyText = key.ToUtf8();
  const std::string valueText = value.ToUtf8();
  const std::string sectionText = m_section.ToUtf8();
  if (m_file.IsEmpty() || !CanStore(keyText, valueText)) return false;
  if (sectionText.find_first_of("]\r\n") != std::string::npos) return false;

  const fs::path file = SystemUtils::ToFsPath(m_file);
  std::optional<ptree> tree = LoadTree(file);
  if (!tree) return false;
  ptree* section = FindChild(*tree, sectionText);
  if (!section) section = &tree->push_back(std::make_pair(sectionText, ptree()))->second;
  if (ptree* entry = FindChild(*section, keyText)) entry->data() = valueText;
  else section->push_back(std::make_pair(keyText, ptree(valueText)));

  std::ostringstream out;
  try {
    boost::property_tree::write_ini(out, *tree);
  } catch (const boost::property_tree::ini_parser_error&) {
    return false;
  }
  std::error_code error;
  if (file.has_parent_path()) fs::create_directories(file.parent_path(), error);
  if (error) return false;
  CSafeFileWriter writer(m_file);
  return writer.Write(out.str()) && writer.Commit();
}
