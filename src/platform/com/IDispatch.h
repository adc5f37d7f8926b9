#pragma once
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "platform/com/CGuid.h"
#include "platform/com/CVariant.h"

using DISPID = std::int32_t;

// A late-bound automation object: members are reached by dispatch id.
class IDispatch {
public:
  enum class EInvokeKind { eMethod, ePropertyGet, ePropertyPut };

  virtual ~IDispatch() = default;
  // S_OK when the object offers the interface iid, E_NOINTERFACE otherwise.
  virtual HRESULT QueryInterface(const IID& iid) = 0;
  // Calls member id; DISP_E_MEMBERNOTFOUND for an id the object does not have.
  virtual HRESULT Invoke(DISPID id, EInvokeKind kind, std::span<const CVariant> args,
                         CVariant& result) = 0;
};

// Persistence as name and value texts, in the order the object lists them.
using PropertyBag = std::vector<std::pair<CStr, CStr>>;

// An object that saves its state to, and loads it from, a property bag.
class IPersistPropertyBag {
public:
  virtual ~IPersistPropertyBag() = default;
  // Unknown names are ignored; a value that does not convert raises CComError.
  virtual void Load(const PropertyBag& bag) = 0;
  virtual PropertyBag Save() const = 0;
};

// Property get, put and method call that raise CComError on failure.
CVariant GetProperty(IDispatch& object, DISPID id);
void PutProperty(IDispatch& object, DISPID id, const CVariant& value);
CVariant CallMethod(IDispatch& object, DISPID id, std::span<const CVariant> args = {});
