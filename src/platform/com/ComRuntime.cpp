#include "platform/com/ComRuntime.h"

#include <map>
#include <mutex>

#include "platform/com/CComError.h"
#include "platform/com/CKORIControl.h"
#include "platform/com/CKORIDocServer.h"

namespace {

thread_local int t_apartmentCount = 0;

struct SClassEntry {
  CStr progId;
  ClassFactory factory;
};

class CClassRegistry {
public:
  static CClassRegistry& Instance() {
    static CClassRegistry registry;
    return registry;
  }
  void Register(const CStr& progId, const CLSID& clsid, ClassFactory factory) {
    std::lock_guard lock(m_mutex);
    m_byProgId[progId.LowerAscii()] = clsid;
    m_byClsid[clsid] = SClassEntry{progId, std::move(factory)};
  }
  std::optional<CLSID> Find(const CStr& progId) {
    std::lock_guard lock(m_mutex);
    auto it = m_byProgId.find(progId.LowerAscii());
    if (it == m_byProgId.end()) return std::nullopt;
    return it->second;
  }
  std::optional<SClassEntry> Find(const CLSID& clsid) {
    std::lock_guard lock(m_mutex);
    auto it = m_byClsid.find(clsid);
    if (it == m_byClsid.end()) return std::nullopt;
    return it->second;
  }

private:
  // The host's components are always there.
  CClassRegistry() {
    m_byProgId[CStr(CKORIControl::kProgId).LowerAscii()] = CKORIControl::ClassId();
    m_byClsid[CKORIControl::ClassId()] = {CKORIControl::kProgId, [] { return std::make_shared<CKORIControl>(); }};
    m_byProgId[CStr(CKORIDocServer::kProgId).LowerAscii()] = CKORIDocServer::ClassId();
    m_byClsid[CKORIDocServer::ClassId()] = {CKORIDocServer::kProgId, [] { return std::make_shared<CKORIDocServer>(); }};
  }
  std::mutex m_mutex;
  std::map<CStr, CLSID> m_byProgId;  // keys lower-cased: program ids ignore case
  std::map<CLSID, SClassEntry> m_byClsid;
};

}  // namespace

HRESULT CoInitialize(void*) { return t_apartmentCount++ == 0 ? S_OK : S_FALSE; }

void CoUninitialize() {
  if (t_apartmentCount > 0) --t_apartmentCount;
}

bool IsComInitialized() { return t_apartmentCount > 0; }

void RegisterComClass(const CStr& progId, const CLSID& clsid, ClassFactory factory) {
  CClassRegistry::Instance().Register(progId, clsid, std::move(factory));
}

HRESULT CLSIDFromProgID(const CStr& progId, CLSID& clsid) {
  if (!IsComInitialized()) return CO_E_NOTINITIALIZED;
  auto found = CClassRegistry::Instance().Find(progId);
  if (!found) return CO_E_CLASSSTRING;
  clsid = *found;
  return S_OK;
}

HRESULT CLSIDFromString(const CStr& text, CLSID& clsid) {
  auto parsed = CGuid::Parse(text.View());
  if (!parsed) return CO_E_CLASSSTRING;
  clsid = *parsed;
  return S_OK;
}

HRESULT ProgIDFromCLSID(const CLSID& clsid, CStr& progId) {
  auto found = CClassRegistry::Instance().Find(clsid);
  if (!found) return REGDB_E_CLASSNOTREG;
  progId = found->progId;
  return S_OK;
}

HRESULT CoCreateInstance(const CLSID& clsid, std::shared_ptr<IDispatch>& object) {
  object.reset();
  if (!IsComInitialized()) return CO_E_NOTINITIALIZED;
  auto found = CClassRegistry::Instance().Find(clsid);
  if (!found) return REGDB_E_CLASSNOTREG;
  try {
    object = found->factory();
  } catch (const CComError& e) {
    return e.Error();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  return object ? S_OK : CO_E_SERVER_EXEC_FAILURE;
}

HRESULT OleRun(IDispatch* object) { return object ? S_OK : E_POINTER; }

CVariant GetProperty(IDispatch& object, DISPID id) {
  CVariant result;
  ThrowIfFailed(object.Invoke(id, IDispatch::EInvokeKind::ePropertyGet, {}, result));
  return result;
}

void PutProperty(IDispatch& object, DISPID id, const CVariant& value) {
  CVariant result;
  ThrowIfFailed(object.Invoke(id, IDispatch::EInvokeKind::ePropertyPut, std::span(&value, 1), result));
}

CVariant CallMethod(IDispatch& object, DISPID id, std::span<const CVariant> args) {
  CVariant result;
  ThrowIfFailed(object.Invoke(id, IDispatch::EInvokeKind::eMethod, args, result));
  return result;
}
