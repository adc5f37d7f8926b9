#include "platform/word/om/CShapes.h"

#include "platform/com/CComError.h"

namespace {

pugi::xml_node FindDescendant(pugi::xml_node root, const std::string& name) {
  for (pugi::xml_node n = root.first_child(); n;) {
    if (n.type() == pugi::node_element && name == n.name()) return n;
    if (n.first_child()) {
      n = n.first_child();
      continue;
    }
    while (n && n != root && !n.next_sibling()) n = n.parent();
    if (!n || n == root) break;
    n = n.next_sibling();
  }
  return {};
}

}  // namespace

size_t CShapes::AnchorCount() {
  m_app->CheckRunning();
  const auto& atoms = m_story->Atoms();
  return atoms.CountBefore(EAtomKind::eAnchor, atoms.size());
}

pugi::xml_node CShapes::Anchor(size_t nth) {
  const auto& atoms = m_story->Atoms();
  return atoms[atoms.NthObject(EAtomKind::eAnchor, nth)].node;
}

long CShapes::Count() { return static_cast<long>(AnchorCount()); }

std::shared_ptr<IWordShape> CShapes::Item(const CVariant& index) {
  const size_t count = AnchorCount();
  if (index.Type() == CVariant::EType::eText) {
    const std::string name = index.AsText().ToUtf8();
    for (size_t k = 0; k < count; ++k) {
      const pugi::xml_node node = Anchor(k);
      auto docPr = FindDescendant(node, m_story->Names().wpDocPr);
      if (name == docPr.attribute("name").value()) return std::make_shared<CShape>(m_app, m_doc, m_story, node);
    }
    throw CComError(DISP_E_BADINDEX, u"The item with the specified name wasn't found.");
  }
  const long i = index.AsLong();
  if (i < 1 || i > static_cast<long>(count))
    throw CComError(DISP_E_BADINDEX, u"The requested member of the collection does not exist.");
  return std::make_shared<CShape>(m_app, m_doc, m_story, Anchor(static_cast<size_t>(i - 1)));
}

pugi::xml_node CShape::TextBoxContent(const CXmlNames& n, pugi::xml_node object) {
  // In alternate content the first choice is the primary copy; the fallback follows it.
  pugi::xml_node scope = object;
  if (n.mcAlternateContent == object.name()) scope = object.child(n.mcChoice.c_str());
  return FindDescendant(scope, n.txbxContent);
}

std::shared_ptr<IWordTextFrame> CShape::TextFrame() {
  m_app->CheckRunning();
  if (m_story->FindAtom(m_node) < 0) throw CComError(E_FAIL, u"the shape has been deleted");
  pugi::xml_node content = TextBoxContent(m_story->Names(), m_node);
  return std::make_shared<CTextFrame>(m_app, m_doc, content ? m_doc->StoryOf(m_story->Part(), content) : nullptr);
}

long CTextFrame::HasText() {
  m_app->CheckRunning();
  if (!m_story) return 0;
  // Only a final empty paragraph means no text.
  return m_story->End() > 1 ? -1 : 0;
}

std::shared_ptr<IWordRange> CTextFrame::TextRange() {
  m_app->CheckRunning();
  if (!m_story) throw CComError(E_FAIL, u"This object does not support attached text.");
  return CRange::Make(m_app, m_doc, m_story, 0, m_story->End());
}
