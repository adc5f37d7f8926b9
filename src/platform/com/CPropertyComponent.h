#pragma once
#include <map>
#include <span>

#include "platform/com/IDispatch.h"

// An automation object whose members are typed properties listed in a table; it
// persists them as a property bag under their names.
class CPropertyComponent : public IDispatch, public IPersistPropertyBag {
public:
  struct SProperty {
    DISPID id;
    const char16_t* name;
    CVariant::EType type;
  };

  CPropertyComponent(std::span<const SProperty> table, const IID& iid);

  HRESULT QueryInterface(const IID& iid) override;
  HRESULT Invoke(DISPID id, EInvokeKind kind, std::span<const CVariant> args,
                 CVariant& result) override;
  void Load(const PropertyBag& bag) override;
  PropertyBag Save() const override;

protected:
  // A method call; the base has none.
  virtual HRESULT CallMethod(DISPID id, std::span<const CVariant> args, CVariant& result);

private:
  const SProperty* Find(DISPID id) const;
  static CVariant Coerce(CVariant::EType type, const CVariant& value);

  std::span<const SProperty> m_table;
  IID m_iid;
  std::map<DISPID, CVariant> m_values;
};
