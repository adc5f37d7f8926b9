#include "html/CCharEntityTable.h"

namespace {

// Code point 164 goes by "current" here, as templates written for the host expect.
constexpr std::u16string_view kLatin1Names[96] = {
    u"nbsp",   u"iexcl",  u"cent",   u"pound",  u"current", u"yen",    u"brvbar", u"sect",
    u"uml",    u"copy",   u"ordf",   u"laquo",  u"not",     u"shy",    u"reg",    u"macr",
    u"deg",    u"plusmn", u"sup2",   u"sup3",   u"acute",   u"micro",  u"para",   u"middot",
    u"cedil",  u"sup1",   u"ordm",   u"raquo",  u"frac14",  u"frac12", u"frac34", u"iquest",
    u"Agrave", u"Aacute", u"Acirc",  u"Atilde", u"Auml",    u"Aring",  u"AElig",  u"Ccedil",
    u"Egrave", u"Eacute", u"Ecirc",  u"Euml",   u"Igrave",  u"Iacute", u"Icirc",  u"Iuml",
    u"ETH",    u"Ntilde", u"Ograve", u"Oacute", u"Ocirc",   u"Otilde", u"Ouml",   u"times",
    u"Oslash", u"Ugrave", u"Uacute", u"Ucirc",  u"Uuml",    u"Yacute", u"THORN",  u"szlig",
    u"agrave", u"aacute", u"acirc",  u"atilde", u"auml",    u"aring",  u"aelig",  u"ccedil",
    u"egrave", u"eacute", u"ecirc",  u"euml",   u"igrave",  u"iacute", u"icirc",  u"iuml",
    u"eth",    u"ntilde", u"ograve", u"oacute", u"ocirc",   u"otilde", u"ouml",   u"divide",
    u"oslash", u"ugrave", u"uacute", u"ucirc",  u"uuml",    u"yacute", u"thorn",  u"yuml",
};

// Built at load time, not on first use.
const CCharEntityTable& g_loadedTable = CCharEntityTable::Get();

}  // namespace

CCharEntityTable::CCharEntityTable() {
  m_units = {{u"quot", 34}, {u"amp", 38}, {u"apos", 39}, {u"lt", 60}, {u"gt", 62}};
  for (size_t i = 0; i < std::size(kLatin1Names); ++i)
    m_units.emplace(kLatin1Names[i], static_cast<char16_t>(0xA0 + i));
  for (const auto& [name, unit] : m_units)
    if (name.size() > m_maxNameLength) m_maxNameLength = name.size();
}

const CCharEntityTable& CCharEntityTable::Get() {
  static const CCharEntityTable table;
  return table;
}

bool CCharEntityTable::Lookup(std::u16string_view name, char16_t& unit) const {
  const auto it = m_units.find(name);
  if (it == m_units.end()) return false;
  unit = it->second;
  return true;
}
