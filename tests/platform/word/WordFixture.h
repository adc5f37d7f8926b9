#pragma once
#include <gtest/gtest.h>

#include "WordTestSupport.h"
#include "platform/com/CComError.h"
#include "platform/com/ComRuntime.h"
#include "platform/word/package/CPackage.h"
#include "platform/word/om/CWordAutomation.h"

namespace wordtest {

// An engine application in an initialised apartment, and a scratch folder.
class WordFixture : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitialize()));
    ASSERT_EQ(CWordAutomation::StartWordApplication(app), S_OK);
  }
  void TearDown() override {
    app.reset();
    CoUninitialize();
  }

  // Opens a document whose body is bodyXml.
  std::shared_ptr<IWordDocument> Open(const std::string& bodyXml,
                                      std::vector<std::pair<std::string, std::string>> extra = {},
                                      const std::string& rels = "", const std::string& name = "in.docx") {
    const auto path = dir / name;
    WriteFile(path, Docx(bodyXml, std::move(extra), rels));
    return app->Documents()->Open(CVariant::Text(CStr::FromUtf8(path.string())));
  }
  // Saves doc and returns the package as saved.
  std::unique_ptr<CPackage> Saved(IWordDocument& doc, const std::string& name = "out.docx") {
    const auto path = dir / name;
    doc.SaveAs(CVariant::Text(CStr::FromUtf8(path.string())));
    return CPackage::FromBytes(ReadFile(path));
  }
  // The saved main document XML.
  std::string SavedXml(IWordDocument& doc) { return Saved(doc)->MainPart()->Bytes(); }
  // Saves and opens the saved file again.
  std::shared_ptr<IWordDocument> Reopen(IWordDocument& doc, const std::string& name = "again.docx") {
    const auto path = dir / name;
    doc.SaveAs(CVariant::Text(CStr::FromUtf8(path.string())));
    return app->Documents()->Open(CVariant::Text(CStr::FromUtf8(path.string())));
  }
  std::string Utf8(const CStr& text) { return text.ToUtf8(); }
  CVariant Path(const std::string& name) { return CVariant::Text(CStr::FromUtf8((dir / name).string())); }

  CTempDir dir;
  std::shared_ptr<IWordApplication> app;
};

// Runs f and returns the CComError's description (empty when nothing was raised).
template <typename F>
std::string ComErrorOf(F&& f) {
  try {
    f();
  } catch (const CComError& e) {
    return e.Description().ToUtf8().empty() ? e.ErrorMessage().ToUtf8() : e.Description().ToUtf8();
  }
  return {};
}

// Paragraph with one run of text.
inline std::string P(const std::string& text) { return "<w:p><w:r><w:t xml:space=\"preserve\">" + text + "</w:t></w:r></w:p>"; }

// An inline picture whose alternative text is descr, size cx x cy EMU, blip rId.
inline std::string InlinePicture(const std::string& descr, int cx = 914400, int cy = 457200, const std::string& rId = "rIdPic",
                                 int id = 1) {
  return "<w:r><w:drawing><wp:inline><wp:extent cx=\"" + std::to_string(cx) + "\" cy=\"" + std::to_string(cy) +
         "\"/><wp:docPr id=\"" + std::to_string(id) + "\" name=\"P\" descr=\"" + descr +
         "\"/><wp:cNvGraphicFramePr><a:graphicFrameLocks noChangeAspect=\"1\"/></wp:cNvGraphicFramePr>"
         "<a:graphic><a:graphicData uri=\"http://schemas.openxmlformats.org/drawingml/2006/picture\"><pic:pic>"
         "<pic:blipFill><a:blip r:embed=\"" + rId + "\"/></pic:blipFill><pic:spPr><a:xfrm><a:ext cx=\"" +
         std::to_string(cx) + "\" cy=\"" + std::to_string(cy) +
         "\"/></a:xfrm></pic:spPr></pic:pic></a:graphicData></a:graphic></wp:inline></w:drawing></w:r>";
}

// A relationship whose type is named by the last part of its address ("image", "header").
inline std::string Relationship(const std::string& type, const std::string& id, const std::string& target) {
  return "<Relationship Id=\"" + id + "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/" + type +
         "\" Target=\"" + target + "\"/>";
}

inline std::string ImageRel(const std::string& id = "rIdPic", const std::string& target = "media/p.png") {
  return Relationship("image", id, target);
}

// A relationships part holding rels.
inline std::string RelsPart(const std::string& rels) {
  return "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" + rels + "</Relationships>";
}

// A header or footer part (root "hdr" or "ftr") holding content, pictures included.
inline std::string HeaderPart(const std::string& root, const std::string& content) {
  return "<w:" + root + " xmlns:w=\"" + kW + "\" xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\" "
         "xmlns:wp=\"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing\" "
         "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" "
         "xmlns:pic=\"http://schemas.openxmlformats.org/drawingml/2006/picture\">" + content + "</w:" + root + ">";
}

}  // namespace wordtest
