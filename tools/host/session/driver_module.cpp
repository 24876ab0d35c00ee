#include "driver_module.h"

namespace {

template <typename Entry>
bool Find(loader::ModuleHandle module, const char* name, Entry* entry, Problem* missing) {
  *entry = loader::FindEntryAs<Entry>(module, name);
  if (*entry == nullptr && !*missing) *missing = name;
  return *entry != nullptr;
}

}  // namespace

Problem FindDriverEntries(loader::ModuleHandle module, DriverEntries* entries) {
  Problem missing;
  Find(module, "DISPLAYDLL_Usage", &entries->Usage, &missing);
  Find(module, "DISPLAYDLL_DriverName", &entries->DriverName, &missing);
  Find(module, "DISPLAYDLL_DefaultParameters", &entries->DefaultParameters, &missing);
  Find(module, "DISPLAYDLL_Init", &entries->Init, &missing);
  Find(module, "DISPLAYDLL_PowerResume", &entries->PowerResume, &missing);
  Find(module, "DISPLAYDLL_Done", &entries->Done, &missing);
  Find(module, "DISPLAYDLL_Write", &entries->Write, &missing);
  Find(module, "DISPLAYDLL_SetPosition", &entries->SetPosition, &missing);
  Find(module, "DISPLAYDLL_CustomChar", &entries->CustomChar, &missing);
  Find(module, "DISPLAYDLL_CustomCharIndex", &entries->CustomCharIndex, &missing);
  return missing;
}
