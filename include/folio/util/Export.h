#pragma once
// Marks the classes and functions a host may use; everything else stays inside the library.
#if defined(_WIN32)
#  if defined(FOLIO_BUILDING_LIBRARY)
#    define FOLIO_API __declspec(dllexport)
#  else
#    define FOLIO_API __declspec(dllimport)
#  endif
#else
#  define FOLIO_API __attribute__((visibility("default")))
#endif
