#include "platform/word/om/COLEFormat.h"

#include "platform/com/CComError.h"
#include "platform/com/CKORIDocServer.h"
#include "platform/com/ComRuntime.h"

std::shared_ptr<IDispatch> COLEFormat::Object() {
  if (!m_object.part)
    throw CComError(E_FAIL, CStr(u"the object of class \"") + m_object.classType + u"\" has no saved data");
  const bool control = m_object.kind == CEmbeddedObject::EKind::eControl;
  CLSID clsid = m_object.clsid;
  if (!control) ThrowIfFailed(CLSIDFromProgID(m_object.classType, clsid),
                              CStr(u"no server for objects of class \"") + m_object.classType + u"\" is installed");
  return m_doc->Component(*m_object.part, control, clsid, [&]() -> std::shared_ptr<IDispatch> {
    std::shared_ptr<IDispatch> object;
    ThrowIfFailed(CoCreateInstance(clsid, object),
                  CStr(u"the object of class \"") + m_object.classType + u"\" cannot be created");
    if (auto* persist = dynamic_cast<IPersistPropertyBag*>(object.get())) persist->Load(m_object.ReadBag());
    return object;
  });
}

void COLEFormat::Activate() {
  // Only servers we host have anything to activate.
  if (m_object.kind != CEmbeddedObject::EKind::eOleObject || !(m_object.classType == CKORIDocServer::kProgId)) return;
  if (auto server = std::dynamic_pointer_cast<CKORIDocServer>(Object())) server->Activate();
}
