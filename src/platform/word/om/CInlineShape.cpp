#include "platform/word/om/CInlineShape.h"

#include <cmath>
#include <cstdlib>

#include "platform/com/CComError.h"
#include "platform/word/om/COLEFormat.h"
#include "platform/picture/CPictureInfo.h"
#include "platform/word/document/CStoryEditor.h"

namespace {

constexpr double kEmuPerPoint = 12700;

// A VML length in points ("12pt", "1in", "30px", "2cm"; a bare number is pixels).
double VmlPoints(std::string_view value) {
  const double number = std::strtod(std::string(value).c_str(), nullptr);
  if (value.ends_with("pt")) return number;
  if (value.ends_with("in")) return number * 72;
  if (value.ends_with("cm")) return number * 72 / 2.54;
  if (value.ends_with("mm")) return number * 72 / 25.4;
  if (value.ends_with("pc")) return number * 12;
  return number * 0.75;
}

// Value of key in a VML style ("width:72pt;height:36pt").
std::string StyleValue(std::string_view style, std::string_view key) {
  size_t at = 0;
  while (at < style.size()) {
    size_t end = style.find(';', at);
    if (end == std::string_view::npos) end = style.size();
    const std::string_view item = style.substr(at, end - at);
    const size_t colon = item.find(':');
    if (colon != std::string_view::npos) {
      std::string_view k = item.substr(0, colon);
      while (!k.empty() && k.front() == ' ') k.remove_prefix(1);
      if (k == key) return std::string(item.substr(colon + 1));
    }
    at = end + 1;
  }
  return {};
}

std::string SetStyleValue(std::string_view style, std::string_view key, const std::string& value) {
  std::string out;
  bool done = false;
  size_t at = 0;
  while (at < style.size()) {
    size_t end = style.find(';', at);
    if (end == std::string_view::npos) end = style.size();
    const std::string_view item = style.substr(at, end - at);
    if (!item.empty()) {
      if (!out.empty()) out += ';';
      if (item.substr(0, item.find(':')) == key) {
        out += std::string(key) + ":" + value;
        done = true;
      } else {
        out += item;
      }
    }
    at = end + 1;
  }
  if (!done) {
    if (!out.empty()) out += ';';
    out.append(key).append(":").append(value);
  }
  return out;
}

std::string PointsText(double points) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.2fpt", points);
  return buffer;
}

// First element below node named name (breadth of a few levels is enough here).
pugi::xml_node Find(pugi::xml_node node, const std::string& name) {
  for (pugi::xml_node n = node.first_child(); n;) {
    if (name == n.name()) return n;
    if (n.first_child()) {
      n = n.first_child();
      continue;
    }
    while (n && n != node && !n.next_sibling()) n = n.parent();
    if (!n || n == node) break;
    n = n.next_sibling();
  }
  return {};
}

}  // namespace

CInlineShape::CInlineShape(std::shared_ptr<CWordApplication> app, std::shared_ptr<CWordDocument> doc,
                           std::shared_ptr<CStory> story, pugi::xml_node node)
    : m_app(std::move(app)), m_doc(std::move(doc)), m_story(std::move(story)), m_node(node) {}

std::int32_t CInlineShape::Position() {
  m_app->CheckRunning();
  const int index = m_story->FindAtom(m_node);
  if (index < 0) throw CComError(E_FAIL, u"the inline shape has been deleted");
  return m_story->Atoms()[static_cast<size_t>(index)].start;
}

pugi::xml_node CInlineShape::Frame() {
  Position();
  const CXmlNames& n = m_story->Names();
  pugi::xml_node node = m_node;
  if (n.mcAlternateContent == node.name()) {
    for (auto child : node.child(n.mcChoice.c_str()).children())
      if (child.type() == pugi::node_element) node = child;
  }
  if (n.drawing == node.name()) return node.child(n.wpInline.c_str());
  for (auto child : node.children())
    if (child.type() == pugi::node_element && std::string_view(child.name()).starts_with(n.v + ":")) return child;
  return {};
}

CInlineShape::SSize CInlineShape::CurrentSize() {
  pugi::xml_node frame = Frame();
  const CXmlNames& n = m_story->Names();
  if (n.wpInline == frame.name()) {
    auto extent = frame.child(n.wpExtent.c_str());
    return {extent.attribute("cx").as_double() / kEmuPerPoint, extent.attribute("cy").as_double() / kEmuPerPoint};
  }
  const std::string style = frame.attribute("style").value();
  return {VmlPoints(StyleValue(style, "width")), VmlPoints(StyleValue(style, "height"))};
}

CInlineShape::SSize CInlineShape::OwnSize() {
  pugi::xml_node frame = Frame();
  const CXmlNames& n = m_story->Names();
  std::string id;
  if (n.wpInline == frame.name()) id = Find(frame, n.aBlip).attribute(n.rEmbed.c_str()).value();
  else if (frame) id = frame.child(n.vImagedata.c_str()).attribute(n.rIdAttr.c_str()).value();
  if (!id.empty())
    if (CPart* media = m_doc->Package().RelatedPart(m_story->Part(), id))
      if (auto info = CPictureInfo::Read(media->Bytes())) return {info->WidthPoints(), info->HeightPoints()};
  // An OLE object knows the size it was made at.
  if (n.object == m_node.name() && m_node.attribute(n.W("dxaOrig").c_str()))
    return {m_node.attribute(n.W("dxaOrig").c_str()).as_double() / 20,
            m_node.attribute(n.W("dyaOrig").c_str()).as_double() / 20};
  return CurrentSize();
}

void CInlineShape::Resize(double width, double height) {
  pugi::xml_node frame = Frame();
  const CXmlNames& n = m_story->Names();
  width = std::max(width, 0.0);
  height = std::max(height, 0.0);
  if (n.wpInline == frame.name()) {
    const auto cx = std::to_string(std::llround(width * kEmuPerPoint));
    const auto cy = std::to_string(std::llround(height * kEmuPerPoint));
    auto extent = frame.child(n.wpExtent.c_str());
    extent.attribute("cx").set_value(cx.c_str());
    extent.attribute("cy").set_value(cy.c_str());
    if (auto ext = Find(Find(frame, n.picSpPr), n.aExt)) {
      ext.attribute("cx").set_value(cx.c_str());
      ext.attribute("cy").set_value(cy.c_str());
    }
  } else if (frame) {
    std::string style = frame.attribute("style").value();
    style = SetStyleValue(style, "width", PointsText(width));
    style = SetStyleValue(style, "height", PointsText(height));
    if (!frame.attribute("style")) frame.append_attribute("style");
    frame.attribute("style").set_value(style.c_str());
  } else {
    throw CComError(E_FAIL, u"the inline shape has no size to change");
  }
  m_story->Touched();  // a size moves no position
}

std::shared_ptr<IWordRange> CInlineShape::Range() {
  const std::int32_t at = Position();
  return CRange::Make(m_app, m_doc, m_story, at, at + 1);
}

std::shared_ptr<IWordOLEFormat> CInlineShape::OLEFormat() {
  Position();
  CEmbeddedObject object = CEmbeddedObject::Inspect(*m_story, m_node);
  if (object.kind == CEmbeddedObject::EKind::eNone) return nullptr;
  return std::make_shared<COLEFormat>(m_doc, object);
}

float CInlineShape::Height() { return static_cast<float>(CurrentSize().height); }
float CInlineShape::Width() { return static_cast<float>(CurrentSize().width); }

void CInlineShape::SetHeight(float points) {
  const SSize size = CurrentSize();
  const double width = LockAspectRatio() && size.height > 0 ? size.width * points / size.height : size.width;
  Resize(width, points);
}

void CInlineShape::SetWidth(float points) {
  const SSize size = CurrentSize();
  const double height = LockAspectRatio() && size.width > 0 ? size.height * points / size.width : size.height;
  Resize(points, height);
}

float CInlineShape::ScaleHeight() {
  const double own = OwnSize().height;
  return own > 0 ? static_cast<float>(CurrentSize().height / own * 100) : 100.0f;
}

float CInlineShape::ScaleWidth() {
  const double own = OwnSize().width;
  return own > 0 ? static_cast<float>(CurrentSize().width / own * 100) : 100.0f;
}

void CInlineShape::SetScaleHeight(float percent) { SetHeight(static_cast<float>(OwnSize().height * percent / 100)); }

void CInlineShape::SetScaleWidth(float percent) { SetWidth(static_cast<float>(OwnSize().width * percent / 100)); }

long CInlineShape::LockAspectRatio() {
  pugi::xml_node frame = Frame();
  const CXmlNames& n = m_story->Names();
  if (n.wpInline == frame.name())
    return frame.child(n.wpCNvGraphicFramePr.c_str()).child(n.aGraphicFrameLocks.c_str()).attribute("noChangeAspect").as_bool()
               ? -1 : 0;
  const std::string_view lock = frame.child((n.o + ":lock").c_str()).attribute("aspectratio").value();
  return lock == "t" || lock == "true" ? -1 : 0;
}

void CInlineShape::SetLockAspectRatio(long value) {
  pugi::xml_node frame = Frame();
  const CXmlNames& n = m_story->Names();
  const char* flag = value ? "1" : "0";
  if (n.wpInline == frame.name()) {
    pugi::xml_node props = frame.child(n.wpCNvGraphicFramePr.c_str());
    if (!props) props = frame.insert_child_after(n.wpCNvGraphicFramePr.c_str(), frame.child(n.wpDocPr.c_str()));
    pugi::xml_node locks = props.child(n.aGraphicFrameLocks.c_str());
    if (!locks) {
      locks = props.append_child(n.aGraphicFrameLocks.c_str());
      locks.append_attribute(("xmlns:" + n.a).c_str()) = Ns::kA;
    }
    if (!locks.attribute("noChangeAspect")) locks.append_attribute("noChangeAspect");
    locks.attribute("noChangeAspect").set_value(flag);
  } else if (frame) {
    pugi::xml_node lock = frame.child((n.o + ":lock").c_str());
    if (!lock) {
      lock = frame.append_child((n.o + ":lock").c_str());
      lock.append_attribute((n.v + ":ext").c_str()) = "edit";
    }
    if (!lock.attribute("aspectratio")) lock.append_attribute("aspectratio");
    lock.attribute("aspectratio").set_value(value ? "t" : "f");
  }
  m_story->Touched();
}

void CInlineShape::Select() {
  const std::int32_t at = Position();
  m_app->Select(m_doc, m_story, at, at + 1);
}

void CInlineShape::Delete() {
  Position();
  CStoryEditor(*m_story).RemoveObject(m_node);
}

CStr CInlineShape::AlternativeText() {
  Position();
  const CXmlNames& n = m_story->Names();
  pugi::xml_node frame = Frame();
  if (n.wpInline == frame.name()) return CStr::FromUtf8(frame.child(n.wpDocPr.c_str()).attribute("descr").value());
  return CStr::FromUtf8(frame.attribute("alt").value());
}
