#include "platform/word/om/CInlineShapes.h"

#include <cmath>
#include <fstream>
#include <sstream>

#include "platform/com/CComError.h"
#include "platform/com/ComRuntime.h"
#include "platform/word/document/CEmbeddedObject.h"
#include "platform/word/om/CInlineShape.h"
#include "platform/picture/CPictureInfo.h"
#include "platform/word/document/CStoryEditor.h"
#include "platform/word/document/CWordFiles.h"

namespace {

// Declares prefix on the part's root when it is missing, so that added XML is bound.
void EnsureNamespace(pugi::xml_node root, const std::string& prefix, const char* uri) {
  const std::string name = "xmlns:" + prefix;
  if (!root.attribute(name.c_str())) root.append_attribute(name.c_str()) = uri;
}

void Escape(std::string& out, std::string_view text) {
  for (char c : text) {
    if (c == '&') out += "&amp;";
    else if (c == '<') out += "&lt;";
    else if (c == '"') out += "&quot;";
    else out += c;
  }
}

// Copies the single element of xml into parent.
pugi::xml_node AppendFragment(pugi::xml_node parent, const std::string& xml) {
  pugi::xml_document fragment;
  if (!fragment.load_buffer(xml.data(), xml.size(), pugi::parse_default))
    throw CComError(E_UNEXPECTED, u"internal XML fragment is malformed");
  return parent.append_copy(fragment.document_element());
}

}  // namespace

CInlineShapes::CInlineShapes(std::shared_ptr<CWordApplication> app, std::shared_ptr<CWordDocument> doc,
                             std::shared_ptr<CStory> story, std::shared_ptr<CLiveRange> range)
    : m_app(std::move(app)), m_doc(std::move(doc)), m_story(std::move(story)), m_range(std::move(range)) {}

std::pair<std::int32_t, std::int32_t> CInlineShapes::Span() {
  m_app->CheckRunning();
  return {m_range ? m_range->Start() : 0, m_range ? m_range->End() : m_story->End()};
}

long CInlineShapes::Count() {
  const auto [start, end] = Span();
  return static_cast<long>(m_story->CountObjects(EAtomKind::eInline, start, end));
}

std::shared_ptr<IWordInlineShape> CInlineShapes::Item(long index) {
  const auto [start, end] = Span();
  if (index < 1 || static_cast<size_t>(index) > m_story->CountObjects(EAtomKind::eInline, start, end))
    throw CComError(DISP_E_BADINDEX, u"The requested member of the collection does not exist.");
  pugi::xml_node node = m_story->NthObject(EAtomKind::eInline, start, static_cast<size_t>(index - 1));
  return std::make_shared<CInlineShape>(m_app, m_doc, m_story, node);
}

std::pair<std::shared_ptr<CStory>, std::int32_t> CInlineShapes::Target(const CVariant& range) {
  if (!range.IsMissing() && !range.IsEmpty()) {
    auto target = CRange::FromVariant(range);
    return {target->Story(), static_cast<std::int32_t>(target->Start())};
  }
  return {m_story, m_range ? m_range->Start() : 0};
}

std::shared_ptr<IWordInlineShape> CInlineShapes::AddPicture(const CStr& fileName, const CVariant& linkToFile,
                                                            const CVariant&, const CVariant& range) {
  m_app->CheckRunning();
  if (linkToFile.BoolOr(false)) throw CComError(E_INVALIDARG, u"linked pictures are not supported; embed the picture");
  std::string bytes = CWordFiles::ReadAll(CWordFiles::PathFromText(fileName));
  const auto info = CPictureInfo::Read(bytes);
  if (!info || info->contentType.empty())
    throw CComError(HRESULT_INVALID_DATA, CStr(u"\"") + fileName + u"\" is no PNG, JPEG, GIF, BMP or TIFF picture");
  auto [story, at] = Target(range);
  CPackage& package = m_doc->Package();
  // Equal pictures share one media part; the size comes first, so that pictures of
  // other sizes stay unread.
  std::string mediaName;
  for (CPart* part : package.Parts())
    if (part->Name().starts_with("word/media/") && part->ContentType() == info->contentType &&
        part->SizeHint() == bytes.size() && part->Bytes() == bytes)
      mediaName = part->Name();
  if (mediaName.empty()) {
    mediaName = package.UniquePartName("word/media/image", "." + info->extension);
    package.AddPart(mediaName, info->contentType, std::move(bytes));  // a picture is read once and kept once
  }
  CPart& storyPart = story->Part();
  const std::string rId =
      package.Relationships(&storyPart).Add(RelType::kImage, CPackage::RelativeTarget(storyPart.Name(), mediaName));
  const CXmlNames& n = story->Names();
  auto root = storyPart.Xml().document_element();
  EnsureNamespace(root, n.wp, Ns::kWp);
  EnsureNamespace(root, n.r, Ns::kR);
  const unsigned id = m_doc->NextDrawingId();
  const std::string cx = std::to_string(std::llround(info->WidthPoints() * 12700));
  const std::string cy = std::to_string(std::llround(info->HeightPoints() * 12700));
  const std::string name = mediaName.substr(mediaName.rfind('/') + 1);
  std::string xml = "<" + n.drawing + "><" + n.wpInline + " distT=\"0\" distB=\"0\" distL=\"0\" distR=\"0\"><" +
                    n.wpExtent + " cx=\"" + cx + "\" cy=\"" + cy + "\"/><" + n.wp +
                    ":effectExtent l=\"0\" t=\"0\" r=\"0\" b=\"0\"/><" + n.wpDocPr + " id=\"" + std::to_string(id) +
                    "\" name=\"Picture " + std::to_string(id) + "\" descr=\"\"/><" + n.wpCNvGraphicFramePr +
                    "><a:graphicFrameLocks xmlns:a=\"" + Ns::kA +
                    "\" noChangeAspect=\"1\"/></" + n.wpCNvGraphicFramePr + "><a:graphic xmlns:a=\"" + Ns::kA +
                    "\"><a:graphicData uri=\"http://schemas.openxmlformats.org/drawingml/2006/picture\">"
                    "<pic:pic xmlns:pic=\"" + Ns::kPic + "\"><pic:nvPicPr><pic:cNvPr id=\"0\" name=\"";
  Escape(xml, name);
  xml += "\"/><pic:cNvPicPr/></pic:nvPicPr><pic:blipFill><a:blip " + n.rEmbed + "=\"" + rId +
         "\"/><a:stretch><a:fillRect/></a:stretch></pic:blipFill><pic:spPr><a:xfrm><a:off x=\"0\" y=\"0\"/>"
         "<a:ext cx=\"" + cx + "\" cy=\"" + cy + "\"/></a:xfrm><a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom>"
         "</pic:spPr></pic:pic></a:graphicData></a:graphic></" + n.wpInline + "></" + n.drawing + ">";
  pugi::xml_node drawing = CStoryEditor(*story).InsertObject(at, [&](pugi::xml_node run) { return AppendFragment(run, xml); });
  return std::make_shared<CInlineShape>(m_app, m_doc, story, drawing);
}

std::shared_ptr<IWordInlineShape> CInlineShapes::AddOLEControl(const CVariant& classType, const CVariant& range) {
  m_app->CheckRunning();
  const CStr progId = classType.IsMissing() ? CStr(u"Forms.CommandButton.1") : classType.AsText();
  CLSID clsid;
  ThrowIfFailed(CLSIDFromProgID(progId, clsid), CStr(u"no control of class \"") + progId + u"\" is installed");
  std::shared_ptr<IDispatch> control;
  ThrowIfFailed(CoCreateInstance(clsid, control), CStr(u"the control \"") + progId + u"\" cannot be created");
  PropertyBag bag;
  if (auto* persist = dynamic_cast<IPersistPropertyBag*>(control.get())) bag = persist->Save();

  auto [story, at] = Target(range);
  CPackage& package = m_doc->Package();
  const std::string partName = package.UniquePartName("word/activeX/activeX", ".xml");
  CPart& part = package.AddPart(partName, CEmbeddedObject::kActiveXContentType, CEmbeddedObject::ControlPartXml(clsid, bag));
  CPart& storyPart = story->Part();
  const std::string rId =
      package.Relationships(&storyPart).Add(RelType::kControl, CPackage::RelativeTarget(storyPart.Name(), partName));
  const CXmlNames& n = story->Names();
  auto root = storyPart.Xml().document_element();
  EnsureNamespace(root, n.r, Ns::kR);
  EnsureNamespace(root, n.v, Ns::kV);
  EnsureNamespace(root, n.o, Ns::kO);
  const std::string number = std::to_string(m_doc->NextDrawingId());
  const std::string shapeId = "_x0000_i" + std::to_string(1024 + std::stoi(number));
  const std::string xml = "<" + n.object + " " + n.W("dxaOrig") + "=\"2880\" " + n.W("dyaOrig") + "=\"720\"><" +
                          n.vShape + " id=\"" + shapeId + "\" style=\"width:144pt;height:36pt\" " + n.o +
                          ":ole=\"\"/><" + n.control + " " + n.rIdAttr + "=\"" + rId + "\" " + n.name +
                          "=\"Control" + number + "\" " + n.W("shapeid") + "=\"" + shapeId + "\"/></" + n.object + ">";
  pugi::xml_node object = CStoryEditor(*story).InsertObject(at, [&](pugi::xml_node run) { return AppendFragment(run, xml); });
  m_doc->Component(part, true, clsid, [&] { return control; });
  return std::make_shared<CInlineShape>(m_app, m_doc, story, object);
}
