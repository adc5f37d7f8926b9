#pragma once
#include "platform/word/om/CRange.h"

// The floating shapes anchored in the main text, in document order.
class CShapes : public IWordShapes {
public:
  CShapes(std::shared_ptr<CWordApplication> app, std::shared_ptr<CWordDocument> doc, std::shared_ptr<CStory> story)
      : m_app(std::move(app)), m_doc(std::move(doc)), m_story(std::move(story)) {}
  long Count() override;
  // By number (from 1) or by name.
  std::shared_ptr<IWordShape> Item(const CVariant& index) override;

private:
  size_t AnchorCount();
  pugi::xml_node Anchor(size_t nth);
  std::shared_ptr<CWordApplication> m_app;
  std::shared_ptr<CWordDocument> m_doc;
  std::shared_ptr<CStory> m_story;
};

class CShape : public IWordShape {
public:
  CShape(std::shared_ptr<CWordApplication> app, std::shared_ptr<CWordDocument> doc, std::shared_ptr<CStory> story,
         pugi::xml_node node)
      : m_app(std::move(app)), m_doc(std::move(doc)), m_story(std::move(story)), m_node(node) {}
  std::shared_ptr<IWordTextFrame> TextFrame() override;
  // The text box content of a floating object (the primary copy), if it has one.
  static pugi::xml_node TextBoxContent(const CXmlNames& names, pugi::xml_node object);

private:
  std::shared_ptr<CWordApplication> m_app;
  std::shared_ptr<CWordDocument> m_doc;
  std::shared_ptr<CStory> m_story;
  pugi::xml_node m_node;
};

class CTextFrame : public IWordTextFrame {
public:
  CTextFrame(std::shared_ptr<CWordApplication> app, std::shared_ptr<CWordDocument> doc, std::shared_ptr<CStory> story)
      : m_app(std::move(app)), m_doc(std::move(doc)), m_story(std::move(story)) {}
  long HasText() override;
  std::shared_ptr<IWordRange> TextRange() override;

private:
  std::shared_ptr<CWordApplication> m_app;
  std::shared_ptr<CWordDocument> m_doc;
  std::shared_ptr<CStory> m_story;  // null: the shape holds no text box
};
