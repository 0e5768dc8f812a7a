// Unit QVRReg: the palette entries and the editor bindings, in the order the designer sees them.
#include "reg/QVRReg.h"

#include "editors/QVRDatabaseFileNameProperty.h"
#include "editors/QVREdit.h"
#include "host/designide/DesignIntf.h"
#include "host/runtime/Qvrmain.h"

namespace QVRReg {

void Register() {
  RegisterComponents("Tirvendal", {TQVRTable::StaticClass()});
  RegisterComponents("Tirvendal", {TQVRDatabase::StaticClass()});
  RegisterPropertyEditor("string", TQVRDataSet::StaticClass(), "DatabaseName", TQVRDatabaseNameProperty::StaticClass());
  RegisterPropertyEditor("string", TQVRDatabase::StaticClass(), "DatabaseFileName",
                         TQVRDatabaseFileNameProperty::StaticClass());
  RegisterPropertyEditor("string", TQVRDatabase::StaticClass(), "SessionName", TQVRSessionNameProperty::StaticClass());
  RegisterPropertyEditor("string", TQVRTable::StaticClass(), "TableName", TQVRTableNameProperty::StaticClass());
  RegisterPropertyEditor("string", TQVRTable::StaticClass(), "MasterFields", TQVRFieldLinkProperty::StaticClass());
  RegisterPropertyEditor("string", TQVRTable::StaticClass(), "IndexName", TQVRIndexNameProperty::StaticClass());
  RegisterPropertyEditor("string", TQVRTable::StaticClass(), "IndexFieldNames",
                         TQVRIndexFieldNamesProperty::StaticClass());
}

}  // namespace QVRReg
