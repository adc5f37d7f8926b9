#pragma once
// Word reports from templates written as short XML, run through the reporter with the
// engine's Word application.
#include <pugixml.hpp>

#include "ReportFixture.h"
#include "platform/word/WordFixture.h"
#include "platform/word/zip/CZipArchive.h"

namespace wordtest {

inline const std::string kRelTypes = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

inline std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '&') out += "&amp;";
    else if (c == '"') out += "&quot;";
    else if (c == '<') out += "&lt;";
    else if (c == '\r') out += "&#13;";
    else if (c == '\n') out += "&#10;";
    else out += c;
  }
  return out;
}

// An inline picture placeholder of cx x cy points whose alternative text packs field.
inline std::string Slot(const char16_t* field, int cx = 72, int cy = 36, short pictureOptions = 1,
                        float resolution = 2) {
  static int id = 100;
  CKORIControlValue value;
  value.SetGroup(u"BasicInfo");
  value.SetField(field);
  value.SetPictureOptions(pictureOptions);
  value.SetResolutionFactor(resolution);
  return InlinePicture(Escaped(value.Pack().ToUtf8()), cx * 12700, cy * 12700, "rIdPic", ++id);
}

// The host's control (a legacy description) with relationship "rIdCtl" + id.
inline std::string Control(const std::string& id) {
  return "<w:r><w:object><v:shape style=\"width:72pt;height:36pt\"/><w:control r:id=\"rIdCtl" + id +
         "\" w:name=\"K" + id + "\"/></w:object></w:r>";
}
inline std::string ControlPart(const char16_t* group, const char16_t* field) {
  return "<ax:ocx xmlns:ax=\"http://schemas.microsoft.com/office/2006/activeX\" "
         "ax:classid=\"{7B1E52C4-93D0-4A6F-B2E8-5C91D04F3A27}\" ax:persistence=\"persistPropertyBag\">"
         "<ax:ocxPr ax:name=\"Group\" ax:value=\"" + CStr(group).ToUtf8() + "\"/><ax:ocxPr ax:name=\"Field\" ax:value=\"" +
         CStr(field).ToUtf8() + "\"/></ax:ocx>";
}
struct SControl {
  std::string id;
  const char16_t* group;
  const char16_t* field;
};
inline std::vector<std::pair<std::string, std::string>> ControlParts(const std::vector<SControl>& controls) {
  std::vector<std::pair<std::string, std::string>> parts;
  for (const SControl& c : controls) parts.push_back({"word/activeX/activeX" + c.id + ".xml", ControlPart(c.group, c.field)});
  return parts;
}
inline std::string ControlRels(const std::vector<std::string>& ids) {
  std::string rels;
  for (const std::string& id : ids)
    rels += "<Relationship Id=\"rIdCtl" + id + "\" Type=\"" + kRelTypes + "control\" Target=\"activeX/activeX" + id +
            ".xml\"/>";
  return rels;
}

inline std::string Para(const std::string& runs) { return "<w:p>" + runs + "</w:p>"; }
inline std::string Text(const std::string& text) {
  return "<w:r><w:t xml:space=\"preserve\">" + text + "</w:t></w:r>";
}
inline std::string TextBox(const std::string& content) {
  return "<w:p><w:r><mc:AlternateContent><mc:Choice Requires=\"wps\"><w:drawing><wp:anchor><wp:docPr id=\"5\" name=\"TB\"/>"
         "<a:graphic><a:graphicData><wps:wsp><wps:txbx><w:txbxContent>" + content +
         "</w:txbxContent></wps:txbx></wps:wsp></a:graphicData></a:graphic></wp:anchor></w:drawing></mc:Choice>"
         "<mc:Fallback><w:pict><v:rect style=\"position:absolute\"><v:textbox><w:txbxContent>" + content +
         "</w:txbxContent></v:textbox></v:rect></w:pict></mc:Fallback></mc:AlternateContent></w:r></w:p>";
}

class WordReportFixture : public ReportFixture {
protected:
  void SetUp() override {
    ReportFixture::SetUp();
    CFolio::InitializeCOM();
  }
  void TearDown() override {
    CFolio::CloseFolioHandles();
    CFolio::InitializeCOM();
    ReportFixture::TearDown();
  }

  CStr Template(const std::string& body, std::vector<std::pair<std::string, std::string>> extra = {},
                const std::string& rels = "", const std::string& name = "t.docx") {
    extra.push_back({"word/media/p.png", Png(8, 8)});
    m_folder.Write(name, Docx(body, std::move(extra), ImageRel() + rels));
    return m_folder / name;
  }
  // A template whose primary header holds headerRuns, and in them may hold Control("H"),
  // the control of group and field.
  CStr TemplateWithHeader(const std::string& body, const std::string& headerRuns, const char16_t* group,
                          const char16_t* field) {
    const std::string header = std::string("<w:hdr xmlns:w=\"") + kW +
                               "\" xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\" "
                               "xmlns:v=\"urn:schemas-microsoft-com:vml\">" + Para(headerRuns) + "</w:hdr>";
    const std::string headerRels = "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" +
                                   ControlRels({"H"}) + "</Relationships>";
    return Template(body + "<w:p><w:pPr><w:sectPr><w:headerReference w:type=\"default\" r:id=\"rIdHdr\"/></w:sectPr></w:pPr></w:p>",
                    {{"word/header1.xml", header}, {"word/_rels/header1.xml.rels", headerRels},
                     {"word/activeX/activeXH.xml", ControlPart(group, field)}},
                    "<Relationship Id=\"rIdHdr\" Type=\"" + kRelTypes + "header\" Target=\"header1.xml\"/>");
  }
  CStr Picture(const std::string& name, unsigned w, unsigned h) {
    m_folder.Write(name, Png(w, h, 96));
    return m_folder / name;
  }
  void AnswerPicture(const CStr& field, const CStr& file) {
    m_answers[field] = [file](CKORIControlValue& v) {
      v.SetType(CKORIControlValue::ePicture);
      v.SetFilename(file);
    };
  }
  std::string Part(const std::string& docx, const std::string& name) {
    for (const SZipEntry& entry : CZipArchive::Read(m_folder.Read(docx)))
      if (entry.name == name) return entry.data;
    ADD_FAILURE() << name << " is not in " << docx;
    return {};
  }
  pugi::xml_document Xml(const std::string& docx, const std::string& name = "word/document.xml") {
    pugi::xml_document xml;
    const pugi::xml_parse_result parsed = xml.load_string(Part(docx, name).c_str(), pugi::parse_default | pugi::parse_ws_pcdata);
    EXPECT_TRUE(parsed) << "well-formed: " << parsed.description();
    return xml;
  }
  // The main text, one line per paragraph: "|" for a line break, "[object]" for an
  // inline object.
  std::string BodyText(const std::string& docx) {
    const pugi::xml_document xml = Xml(docx);
    std::string text;
    for (const pugi::xpath_node& p : xml.select_nodes("/w:document/w:body/w:p")) {
      for (const pugi::xpath_node& r : p.node().select_nodes("w:r"))
        for (pugi::xml_node child : r.node().children()) {
          const std::string name = child.name();
          if (name == "w:t") text += child.text().get();
          else if (name == "w:br") text += "|";
          else if (name == "w:drawing" || name == "w:object" || name == "w:pict") text += "[object]";
        }
      text += "\n";
    }
    return text;
  }
  // Width and height in points of every inline picture of the main text.
  std::vector<std::pair<double, double>> PictureSizes(const std::string& docx) {
    const pugi::xml_document xml = Xml(docx);
    std::vector<std::pair<double, double>> sizes;
    for (const pugi::xpath_node& e : xml.select_nodes("//wp:inline/wp:extent"))
      sizes.push_back({e.node().attribute("cx").as_double() / 12700, e.node().attribute("cy").as_double() / 12700});
    return sizes;
  }
  // Temporary files a run may have left in the temporary folder.
  std::vector<std::string> LeftOvers() {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(m_folder.Path())) {
      const std::string name = entry.path().filename().string();
      if (name.rfind("TemplateCopy", 0) == 0 || name.rfind("TempReport", 0) == 0 || name.find(".folio") != std::string::npos)
        files.push_back(name);
    }
    return files;
  }
};

}  // namespace wordtest
