#pragma once
#include "platform/word/document/CEmbeddedObject.h"
#include "platform/word/om/CWordApplication.h"

// The embedded object or control of an inline shape.
class COLEFormat : public IWordOLEFormat {
public:
  COLEFormat(std::shared_ptr<CWordDocument> doc, CEmbeddedObject object) : m_doc(std::move(doc)), m_object(object) {}

  CStr ClassType() override { return m_object.classType; }
  std::shared_ptr<IDispatch> Object() override;
  void Activate() override;

private:
  std::shared_ptr<CWordDocument> m_doc;
  CEmbeddedObject m_object;
};
