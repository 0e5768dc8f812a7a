// RegisterRuntimeClasses: makes the run-time components findable by name.
#include "host/runtime/Qvrmain.h"

#include "host/dataclx/Db.h"
#include "host/rtl/Classes.h"

void RegisterRuntimeClasses() {
  RegisterDataClasses();
  RegisterClasses({TQVRSession::StaticClass(), TQVRSessionList::StaticClass(), TQVRDatabase::StaticClass(),
                   TQVRDataSet::StaticClass(), TQVRTable::StaticClass(), TQVRAdvFieldDef::StaticClass(),
                   TQVRAdvFieldDefs::StaticClass()});
}
