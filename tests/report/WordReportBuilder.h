#pragma once
// Small but complete Word reports for the appending tests: styles, numbering, a
// picture, a table and a footer, each part with its proper content type.
#include <string>
#include <utility>
#include <vector>

#include "platform/word/WordFixture.h"

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
