#include "platform/word/om/CField.h"

#include <chrono>
#include <ctime>

#include "platform/com/CComError.h"
#include "platform/word/om/CInlineShape.h"
#include "platform/word/om/COLEFormat.h"
#include "platform/word/document/CStoryEditor.h"

namespace {

// Word's date picture ("dd.MM.yyyy HH:mm") applied to a local time.
std::string FormatDate(const std::string& picture, const std::tm& t) {
  static const char* kMonths[] = {"January", "February", "March", "April", "May", "June", "July",
                                  "August", "September", "October", "November", "December"};
  static const char* kDays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
  std::string out;
  for (size_t i = 0; i < picture.size();) {
    const char c = picture[i];
    size_t run = 1;
    while (i + run < picture.size() && picture[i + run] == c) ++run;
    auto two = [&](int v) { char b[16]; std::snprintf(b, sizeof b, "%02d", v); return std::string(b); };
    switch (c) {
      case 'd':
        out += run == 1 ? std::to_string(t.tm_mday) : run == 2 ? two(t.tm_mday)
               : run == 3 ? std::string(kDays[t.tm_wday], 3) : kDays[t.tm_wday];
        break;
      case 'M':
        out += run == 1 ? std::to_string(t.tm_mon + 1) : run == 2 ? two(t.tm_mon + 1)
               : run == 3 ? std::string(kMonths[t.tm_mon], 3) : kMonths[t.tm_mon];
        break;
      case 'y': out += run <= 2 ? two(t.tm_year % 100) : std::to_string(t.tm_year + 1900); break;
      case 'H': out += run == 1 ? std::to_string(t.tm_hour) : two(t.tm_hour); break;
      case 'h': {
        const int h = t.tm_hour % 12 == 0 ? 12 : t.tm_hour % 12;
        out += run == 1 ? std::to_string(h) : two(h);
        break;
      }
      case 'm': out += run == 1 ? std::to_string(t.tm_min) : two(t.tm_min); break;
      case 's': out += run == 1 ? std::to_string(t.tm_sec) : two(t.tm_sec); break;
      case '\'': {
        const size_t close = picture.find('\'', i + 1);
        out += picture.substr(i + 1, close == std::string::npos ? std::string::npos : close - i - 1);
        i = close == std::string::npos ? picture.size() : close + 1;
        continue;
      }
      default: out.append(run, c);
    }
    i += run;
  }
  return out;
}

std::vector<std::string> Words(const std::string& code) {
  std::vector<std::string> words;
  for (size_t i = 0; i < code.size();) {
    while (i < code.size() && code[i] == ' ') ++i;
    if (i >= code.size()) break;
    if (code[i] == '"') {
      const size_t close = code.find('"', i + 1);
      words.push_back(code.substr(i + 1, close == std::string::npos ? std::string::npos : close - i - 1));
      i = close == std::string::npos ? code.size() : close + 1;
    } else {
      const size_t end = std::min(code.find(' ', i), code.size());
      words.push_back(code.substr(i, end - i));
      i = end;
    }
  }
  return words;
}

std::string Upper(std::string s) {
  for (auto& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

// A core document property (docProps/core.xml) by its Word name.
std::optional<std::string> CoreProperty(CWordDocument& doc, const std::string& name) {
  static const std::pair<const char*, const char*> kNames[] = {
      {"TITLE", "title"}, {"SUBJECT", "subject"}, {"AUTHOR", "creator"}, {"KEYWORDS", "keywords"},
      {"COMMENTS", "description"}, {"LASTSAVEDBY", "lastModifiedBy"}, {"CATEGORY", "category"}};
  CPart* core = doc.Package().FindPart("docProps/core.xml");
  for (const auto& [word, local] : kNames) {
    if (Upper(name) != word) continue;
    if (!core) return std::string();
    for (auto child : core->Xml().document_element().children()) {
      const std::string_view n = child.name();
      const auto colon = n.find(':');
      if ((colon == std::string_view::npos ? n : n.substr(colon + 1)) == local) return std::string(child.child_value());
    }
    return std::string();
  }
  return std::nullopt;
}

}  // namespace

std::pair<size_t, size_t> CFields::Ordinals() {
  m_app->CheckRunning();
  const std::int32_t start = m_range ? m_range->Start() : 0;
  const std::int32_t end = m_range ? m_range->End() : m_story->End();
  return m_story->Marks().Fields(*m_story, start, end);
}

long CFields::Count() {
  const auto [first, last] = Ordinals();
  return static_cast<long>(m_story->Marks().CountFields(first, last));
}

std::shared_ptr<IWordField> CFields::Item(long index) {
  const auto [first, last] = Ordinals();
  CStoryMarks& marks = m_story->Marks();
  if (index < 1 || index > static_cast<long>(marks.CountFields(first, last)))
    throw CComError(DISP_E_BADINDEX, u"The requested member of the collection does not exist.");
  return std::make_shared<CField>(m_app, m_doc, m_story, marks.FieldBegin(marks.NthField(first, static_cast<size_t>(index - 1))));
}

long CFields::Update() {
  // Each update changes positions, so take the fields one by one from the last.
  const auto [first, last] = Ordinals();
  std::vector<pugi::xml_node> begins;
  for (size_t k = first; k < last; ++k)
    if (pugi::xml_node begin = m_story->Marks().FieldBegin(k)) begins.push_back(begin);
  for (auto it = begins.rbegin(); it != begins.rend(); ++it) CField(m_app, m_doc, m_story, *it).Update();
  return 0;
}

SFieldSpan CField::Span() {
  m_app->CheckRunning();
  if (const auto span = m_story->Marks().Field(*m_story, m_begin)) return *span;
  throw CComError(E_FAIL, u"the field has been deleted");
}

CStr CField::Code() { return CodeUpTo(SIZE_MAX); }

CStr CField::CodeUpTo(size_t limit) {
  const SFieldSpan span = Span();
  const auto& atoms = m_story->Atoms();
  if (m_story->Names().fldSimple == m_begin.name()) return CStr::FromUtf8(m_begin.attribute(m_story->Names().instr.c_str()).value());
  std::string code;
  const size_t stop = span.separate != SIZE_MAX ? span.separate : span.end;
  for (size_t i = span.begin + 1; i < stop && i - span.begin <= limit && code.size() < limit; ++i)
    if (atoms[i].kind == EAtomKind::eInstrText) code += atoms[i].node.child_value();
  return CStr::FromUtf8(code);
}

CStr CField::Result() {
  const SFieldSpan span = Span();
  if (span.separate == SIZE_MAX) return CStr();
  const auto& atoms = m_story->Atoms();
  return CStr(m_story->Text(atoms[span.separate].start + 1, atoms[span.end].start));
}

pugi::xml_node CField::FirstObject(const SFieldSpan& span) {
  const auto& atoms = m_story->Atoms();
  for (size_t i = span.begin; i <= span.end && i < atoms.size(); ++i)
    if (atoms[i].kind == EAtomKind::eInline) return atoms[i].node;
  return {};
}

std::shared_ptr<IWordOLEFormat> CField::OLEFormat() {
  pugi::xml_node object = FirstObject(Span());
  if (!object) return nullptr;
  CEmbeddedObject embedded = CEmbeddedObject::Inspect(*m_story, object);
  if (embedded.kind == CEmbeddedObject::EKind::eNone) return nullptr;
  return std::make_shared<COLEFormat>(m_doc, embedded);
}

std::shared_ptr<IWordInlineShape> CField::InlineShape() {
  pugi::xml_node object = FirstObject(Span());
  if (!object) return nullptr;
  return std::make_shared<CInlineShape>(m_app, m_doc, m_story, object);
}

std::optional<CStr> CField::Evaluate(const CStr& code, CWordDocument& doc) {
  const std::vector<std::string> words = Words(code.ToUtf8());
  if (words.empty()) return std::nullopt;
  const std::string type = Upper(words[0]);
  std::string picture;
  bool fullPath = false;
  for (size_t i = 1; i < words.size(); ++i) {
    if (words[i] == "\\@" && i + 1 < words.size()) picture = words[++i];
    if (Upper(words[i]) == "\\P") fullPath = true;
  }
  if (type == "DATE" || type == "TIME") {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    if (picture.empty()) picture = type == "DATE" ? "M/d/yyyy" : "h:mm am/pm";
    std::string text = FormatDate(picture, local);
    if (auto at = text.find("am/pm"); at != std::string::npos) text.replace(at, 5, local.tm_hour < 12 ? "AM" : "PM");
    return CStr::FromUtf8(text);
  }
  if (type == "FILENAME") {
    const auto& path = doc.Path();
    return CStr::FromUtf8(fullPath ? path.string() : path.filename().string());
  }
  if (type == "DOCPROPERTY" && words.size() > 1)
    if (auto value = CoreProperty(doc, words[1])) return CStr::FromUtf8(*value);
  if (auto value = CoreProperty(doc, type)) return CStr::FromUtf8(*value);
  return std::nullopt;
}

bool CField::Update() {
  // The words that decide a result open the code: a field holding thousands of others
  // in its code is not read whole for each of them.
  constexpr size_t kCodeRead = 256;  // bytes, and atoms looked at
  const auto result = Evaluate(CodeUpTo(kCodeRead), *m_doc);
  if (!result) return false;
  const CXmlNames& n = m_story->Names();
  CStoryEditor editor(*m_story);
  {
    // Most results are text in one paragraph: replaced in place, the index patched.
    const SFieldSpan span = Span();
    const std::int32_t endStart = m_story->Atoms()[span.end].start;
    if (pugi::xml_node separate = editor.ReplaceFieldResult(span.separate, span.end, result->View())) {
      if (span.separate == SIZE_MAX) m_story->Marks().Separated(*m_story, m_begin, separate, endStart);
      return true;
    }
  }
  if (n.fldSimple == m_begin.name()) {
    const SFieldSpan span = Span();
    const auto& atoms = m_story->Atoms();
    const std::int32_t from = atoms[span.separate].start + 1, to = atoms[span.end].start;
    if (to > from) editor.Delete(from, to);
    editor.InsertText(from, result->View());
    return true;
  }
  SFieldSpan span = Span();
  if (span.separate == SIZE_MAX) {
    if (m_story->Atoms()[span.end].kind != EAtomKind::eFieldEnd) return false;  // never closed
    // A field without a result gets its separator before the end mark.
    pugi::xml_node endRun = m_story->Atoms()[span.end].node.parent();
    pugi::xml_node run = endRun.parent().insert_child_before(n.run.c_str(), endRun);
    run.append_child(n.fldChar.c_str()).append_attribute(n.fldCharType.c_str()) = "separate";
    editor.Inserted(m_story->Atoms()[span.end].start, 1);
    span = Span();
  }
  const auto& atoms = m_story->Atoms();
  const std::int32_t from = atoms[span.separate].start + 1, to = atoms[span.end].start;
  if (to > from) editor.Delete(from, to);
  editor.InsertText(from, result->View());
  return true;
}
