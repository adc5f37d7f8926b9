#pragma once
#include <functional>
#include <memory>

#include "platform/com/CGuid.h"
#include "platform/com/HResult.h"
#include "platform/com/IDispatch.h"

// The calling thread's apartment: S_OK on the first call, S_FALSE on each further one
// (each must be matched by CoUninitialize).
HRESULT CoInitialize(void* reserved = nullptr);
// Undoes one CoInitialize of the calling thread; nothing when there is none.
void CoUninitialize();
// Whether the calling thread has an apartment.
bool IsComInitialized();

using ClassFactory = std::function<std::shared_ptr<IDispatch>()>;

// Registers (or replaces) a class under its program identifier and class id.
void RegisterComClass(const CStr& progId, const CLSID& clsid, ClassFactory factory);
// CO_E_NOTINITIALIZED without an apartment, CO_E_CLASSSTRING for an unknown name.
HRESULT CLSIDFromProgID(const CStr& progId, CLSID& clsid);
// CO_E_CLASSSTRING when text is no braced class id.
HRESULT CLSIDFromString(const CStr& text, CLSID& clsid);
// REGDB_E_CLASSNOTREG for an unknown class id.
HRESULT ProgIDFromCLSID(const CLSID& clsid, CStr& progId);
// A new object of the class; CO_E_NOTINITIALIZED without an apartment,
// REGDB_E_CLASSNOTREG for an unknown class.
HRESULT CoCreateInstance(const CLSID& clsid, std::shared_ptr<IDispatch>& object);
// Puts a created object into its running state; our objects always run.
HRESULT OleRun(IDispatch* object);
