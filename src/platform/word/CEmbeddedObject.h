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
// and ax:persistence="persistPropertyBag", one ax:ocxPr name/value per property). A
// document server of class "LivesheetItem" is an o:OLEObject whose embedded part
// "embeddings/livesheetItemN.xml" (content type kLivesheetContentType) holds
// <livesheetItem xmlns="urn:folio:livesheetitem"> with one <property name= value=/>
// per property of its property bag, in the server's order; any other content (a real
// OLE storage) loads as a server with default properties.
struct CEmbeddedObject {
  enum class EKind { eNone, eOleObject, eControl };

  EKind kind = EKind::eNone;
  CStr classType;        // program identifier ("" when unknown)
  CLSID clsid;           // controls: the stored class id
  CPart* part = nullptr; // the control's or object's own part, when present

  static constexpr const char* kLivesheetContentType = "application/vnd.folio.livesheetitem+xml";
  static constexpr const char* kActiveXContentType = "application/vnd.ms-office.activeX+xml";

  // Looks inside object (a run child) of story.
  static CEmbeddedObject Inspect(CStory& story, const pugi::xml_node& object);
  // The property bag saved in the object's part (empty when it has none we can read).
  PropertyBag ReadBag() const;
  // Saves bag into the object's part in the form above.
  void WriteBag(const PropertyBag& bag) const;
  // The XML of a control part.
  static std::string ControlPartXml(const CLSID& clsid, const PropertyBag& bag);
  static std::string LivesheetPartXml(const PropertyBag& bag);
};
