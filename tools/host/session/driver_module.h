// The driver module loaded by path and its ten entries found by name, the
// way a host application does it.
#ifndef HOST_DRIVER_MODULE_H
#define HOST_DRIVER_MODULE_H

#include <string>

#include "displaydll.h"
#include "module_loader.h"
#include "problem.h"

struct DriverEntries {
  DISPLAYDLL_TextFn Usage = nullptr;
  DISPLAYDLL_TextFn DriverName = nullptr;
  DISPLAYDLL_TextFn DefaultParameters = nullptr;
  DISPLAYDLL_InitFn Init = nullptr;
  DISPLAYDLL_VoidFn PowerResume = nullptr;
  DISPLAYDLL_VoidFn Done = nullptr;
  DISPLAYDLL_WriteFn Write = nullptr;
  DISPLAYDLL_SetPositionFn SetPosition = nullptr;
  DISPLAYDLL_CustomCharFn CustomChar = nullptr;
  DISPLAYDLL_CustomCharIndexFn CustomCharIndex = nullptr;
};

// Finds every entry, or names the first that is missing.
Problem FindDriverEntries(loader::ModuleHandle module, DriverEntries* entries);

#endif  // HOST_DRIVER_MODULE_H
