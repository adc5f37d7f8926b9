#include "platform/com/CPropertyComponent.h"

#include "platform/com/CComError.h"

CPropertyComponent::CPropertyComponent(std::span<const SProperty> table, const IID& iid)
    : m_table(table), m_iid(iid) {
  for (const auto& p : m_table) m_values[p.id] = Coerce(p.type, CVariant());
}

HRESULT CPropertyComponent::QueryInterface(const IID& iid) {
  return iid == m_iid ? S_OK : E_NOINTERFACE;
}

const CPropertyComponent::SProperty* CPropertyComponent::Find(DISPID id) const {
  for (const auto& p : m_table)
    if (p.id == id) return &p;
  return nullptr;
}

CVariant CPropertyComponent::Coerce(CVariant::EType type, const CVariant& value) {
  using T = CVariant::EType;
  switch (type) {
    case T::eText: return CVariant::Text(value.AsText());
    case T::eI2: return CVariant::I2(static_cast<std::int16_t>(value.AsLong()));
    case T::eI4: return CVariant::I4(static_cast<std::int32_t>(value.AsLong()));
    case T::eUI1: return CVariant::UI1(static_cast<std::uint8_t>(value.AsLong()));
    case T::eR4: return CVariant::R4(static_cast<float>(value.AsDouble()));
    case T::eR8: return CVariant::R8(value.AsDouble());
    case T::eBool: return CVariant::Bool(value.AsBool());
    default: return value;
  }
}

HRESULT CPropertyComponent::Invoke(DISPID id, EInvokeKind kind, std::span<const CVariant> args,
                                   CVariant& result) {
  if (kind == EInvokeKind::eMethod) return CallMethod(id, args, result);
  const SProperty* property = Find(id);
  if (!property) return DISP_E_MEMBERNOTFOUND;
  if (kind == EInvokeKind::ePropertyGet) {
    if (!args.empty()) return DISP_E_BADPARAMCOUNT;
    result = m_values[id];
    return S_OK;
  }
  if (args.size() != 1) return DISP_E_BADPARAMCOUNT;
  try {
    m_values[id] = Coerce(property->type, args[0]);
  } catch (const CComError& e) {
    return e.Error();
  }
  return S_OK;
}

HRESULT CPropertyComponent::CallMethod(DISPID, std::span<const CVariant>, CVariant&) {
  return DISP_E_MEMBERNOTFOUND;
}

void CPropertyComponent::Load(const PropertyBag& bag) {
  for (const auto& [name, value] : bag)
    for (const auto& p : m_table)
      if (name == p.name) m_values[p.id] = Coerce(p.type, CVariant::Text(value));
}

PropertyBag CPropertyComponent::Save() const {
  PropertyBag bag;
  for (const auto& p : m_table) bag.emplace_back(p.name, m_values.at(p.id).AsText());
  return bag;
}
