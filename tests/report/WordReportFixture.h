#pragma once
// Word reports for the reporter's tests: small but complete reports for the appending
// tests (styles, numbering, a picture, a table and a footer, each part with its proper
// content type), and templates written as short XML, run through the reporter with the
// engine's Word application.
#include <pugixml.hpp>

#include <string>
#include <utility>
#include <vector>

#include "ReportFixture.h"
#include "platform/word/WordFixture.h"
#include "platform/word/zip/CZipArchive.h"

namespace wordreport {

struct SReportParts {
  std::string body;                // blocks of w:body, without the final w:sectPr
  std::string sectPr = "<w:sectPr/>";
  std::string styles;              // w:style elements; empty: no styles part
  std::string numbering;           // w:abstractNum and w:num elements; empty: none
  std::string footer;              // blocks of the default footer; empty: none
  std::string footerRels;          // relationships of the footer part
  std::vector<std::pair<std::string, std::string>> media;  // word/<name>, bytes
  std::string rels;                // further relationships of the main part
  std::string overrides;           // further content type overrides
};

inline const std::string kNs =
    " xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\""
    " xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\""
    " xmlns:wp=\"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing\""
    " xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\""
    " xmlns:pic=\"http://schemas.openxmlformats.org/drawingml/2006/picture\""
    " xmlns:v=\"urn:schemas-microsoft-com:vml\" xmlns:o=\"urn:schemas-microsoft-com:office:office\"";
inline const std::string kRelNs = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
inline const std::string kXml = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>";

inline std::string Rel(const std::string& id, const std::string& type, const std::string& target) {
  return "<Relationship Id=\"" + id + "\" Type=\"" + kRelNs + type + "\" Target=\"" + target + "\"/>";
}

inline std::string Rels(const std::string& inner) {
  return kXml + "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" + inner +
         "</Relationships>";
}

inline std::string Build(const SReportParts& p) {
  const std::string wml = "application/vnd.openxmlformats-officedocument.wordprocessingml.";
  std::string types = kXml + "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                      "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
                      "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
                      "<Default Extension=\"png\" ContentType=\"image/png\"/>"
                      "<Override PartName=\"/word/document.xml\" ContentType=\"" + wml + "document.main+xml\"/>";
  std::string rels = p.rels;
  std::vector<std::pair<std::string, std::string>> members;
  std::string sectPr = p.sectPr;
  if (!p.styles.empty()) {
    types += "<Override PartName=\"/word/styles.xml\" ContentType=\"" + wml + "styles+xml\"/>";
    rels += Rel("rIdStyles", "styles", "styles.xml");
    members.push_back({"word/styles.xml", kXml + "<w:styles" + kNs + ">" + p.styles + "</w:styles>"});
  }
  if (!p.numbering.empty()) {
    types += "<Override PartName=\"/word/numbering.xml\" ContentType=\"" + wml + "numbering+xml\"/>";
    rels += Rel("rIdNumbering", "numbering", "numbering.xml");
    members.push_back({"word/numbering.xml", kXml + "<w:numbering" + kNs + ">" + p.numbering + "</w:numbering>"});
  }
  if (!p.footer.empty()) {
    types += "<Override PartName=\"/word/footer1.xml\" ContentType=\"" + wml + "footer+xml\"/>";
    rels += Rel("rIdFooter", "footer", "footer1.xml");
    members.push_back({"word/footer1.xml", kXml + "<w:ftr" + kNs + ">" + p.footer + "</w:ftr>"});
    if (!p.footerRels.empty()) members.push_back({"word/_rels/footer1.xml.rels", Rels(p.footerRels)});
    sectPr = "<w:sectPr><w:footerReference w:type=\"default\" r:id=\"rIdFooter\"/></w:sectPr>";
  }
  for (const auto& [name, bytes] : p.media) members.push_back({"word/" + name, bytes});
  types += p.overrides + "</Types>";
  members.insert(members.begin(),
                 {{"[Content_Types].xml", types},
                  {"_rels/.rels", Rels(Rel("rId1", "officeDocument", "word/document.xml"))},
                  {"word/document.xml", kXml + "<w:document" + kNs + "><w:body>" + p.body + sectPr + "</w:body></w:document>"},
                  {"word/_rels/document.xml.rels", Rels(rels)}});
  return wordtest::Zip(members);
}

inline std::string Para(const std::string& text, const std::string& pPr = "") {
  return "<w:p>" + (pPr.empty() ? "" : "<w:pPr>" + pPr + "</w:pPr>") + "<w:r><w:t xml:space=\"preserve\">" + text +
         "</w:t></w:r></w:p>";
}

// A table of one row per text.
inline std::string Table(const std::vector<std::string>& rows) {
  std::string xml = "<w:tbl><w:tblPr><w:tblW w:w=\"0\" w:type=\"auto\"/></w:tblPr><w:tblGrid><w:gridCol w:w=\"4000\"/></w:tblGrid>";
  for (const auto& row : rows) xml += "<w:tr><w:tc><w:tcPr><w:tcW w:w=\"4000\" w:type=\"dxa\"/></w:tcPr>" + Para(row) + "</w:tc></w:tr>";
  return xml + "</w:tbl>";
}

// A report as a user's earlier run leaves it: a heading in a style of its own, a
// numbered item, a picture and a table, all named as every other report names them.
inline std::string NumberedReport(int n) {
  const std::string id = std::to_string(n);
  SReportParts p;
  p.body = Para("Heading of report " + id, "<w:pStyle w:val=\"ReportHeading\"/>") +
           Para("Item of report " + id, "<w:numPr><w:ilvl w:val=\"0\"/><w:numId w:val=\"1\"/></w:numPr>") +
           "<w:p>" + wordtest::InlinePicture("picture " + id, 914400, 457200, "rIdImage", 1) + "</w:p>" +
           Table({"Cell of report " + id}) + Para("Body " + id + " ends here");
  p.styles = "<w:style w:type=\"paragraph\" w:styleId=\"ReportHeading\"><w:name w:val=\"Report heading " + id +
             "\"/><w:rPr><w:b/><w:sz w:val=\"" + std::to_string(24 + 2 * n) + "\"/></w:rPr></w:style>";
  p.numbering = "<w:abstractNum w:abstractNumId=\"0\"><w:nsid w:val=\"1A2B3C4D\"/><w:lvl w:ilvl=\"0\"><w:start w:val=\"1\"/>"
                "<w:numFmt w:val=\"decimal\"/><w:lvlText w:val=\"%1.\"/></w:lvl></w:abstractNum>"
                "<w:num w:numId=\"1\"><w:abstractNumId w:val=\"0\"/></w:num>";
  p.media = {{"media/image1.png", wordtest::Png(8 + static_cast<unsigned>(n), 8)}};
  p.rels = Rel("rIdImage", "image", "media/image1.png");
  return Build(p);
}

}  // namespace wordreport

namespace wordtest {

using wordreport::Rel;
using wordreport::Rels;

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
  for (const std::string& id : ids) rels += Rel("rIdCtl" + id, "control", "activeX/activeX" + id + ".xml");
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
    const std::string header = "<w:hdr" + wordreport::kNs + ">" + Para(headerRuns) + "</w:hdr>";
    return Template(body + "<w:p><w:pPr><w:sectPr><w:headerReference w:type=\"default\" r:id=\"rIdHdr\"/></w:sectPr></w:pPr></w:p>",
                    {{"word/header1.xml", header}, {"word/_rels/header1.xml.rels", Rels(ControlRels({"H"}))},
                     {"word/activeX/activeXH.xml", ControlPart(group, field)}},
                    Rel("rIdHdr", "header", "header1.xml"));
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
