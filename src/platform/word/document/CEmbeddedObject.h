#pragma once
#include <string>

#include <pugixml.hpp>

#include "platform/com/CGuid.h"
#include "platform/com/IDispatch.h"

class CStory;
class CPart;

// The embedded object or ActiveX control inside an inline object, if any.
//
// Saved forms. A control is an "activeX/activeXN.xml" part (ax:ocx with the class id
// and ax:persistence="persistPropertyBag", one ax:ocxPr name/value per property).
// A document server object is an "embeddings/oleObjectN.bin" part (content type
// kOleObjectContentType) holding a compound file, as Word keeps embedded objects: the
// root's class id is the server's; "\1CompObj" names the class (its program id);
// "\1Ole" is the plain embedded-object header; and the stream kBagStream holds the
// server's property bag as UTF-8 XML, <livesheetItem xmlns="urn:folio:livesheetitem">
// with one <property name= value=/> per property in the server's order. Other streams
// and the storages below the root are kept when the bag is saved. Older documents hold
// that XML directly in an "embeddings/livesheetItemN.xml" part (kLivesheetContentType);
// it is read as it is and saved in the compound form. A storage without the bag stream loads as a server
// with default properties.
struct CEmbeddedObject {
  enum class EKind { eNone, eOleObject, eControl };

  EKind kind = EKind::eNone;
  CStr classType;        // program identifier ("" when unknown)
  CLSID clsid;           // controls: the stored class id
  CPart* part = nullptr; // the control's or object's own part, when present

  static constexpr const char* kLivesheetContentType = "application/vnd.folio.livesheetitem+xml";
  static constexpr const char* kOleObjectContentType = "application/vnd.openxmlformats-officedocument.oleObject";
  static constexpr const char16_t* kBagStream = u"FolioPropertyBag";
  static constexpr const char* kActiveXContentType = "application/vnd.ms-office.activeX+xml";

  // Looks inside object (a run child) of story.
  static CEmbeddedObject Inspect(CStory& story, const pugi::xml_node& object);
  // The property bag saved in the object's part (empty when it has none we can read).
  PropertyBag ReadBag() const;
  // Saves bag into the object's part in the form above (a part in the older form is
  // renamed and converted); returns the part's name afterwards.
  std::string WriteBag(const PropertyBag& bag) const;
  // The program id a "\1CompObj" stream names; empty when it names none.
  static CStr ProgIdOfCompObj(std::string_view stream);
  // A "\1CompObj" stream naming progId.
  static std::string CompObj(const CLSID& clsid, const CStr& progId);
  // The XML of a control part.
  static std::string ControlPartXml(const CLSID& clsid, const PropertyBag& bag);
  static std::string LivesheetPartXml(const PropertyBag& bag);
};
