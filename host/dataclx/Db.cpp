// RegisterDataClasses: makes the data-access classes findable by name.
#include "host/dataclx/Db.h"

#include "host/rtl/Classes.h"

void RegisterDataClasses() {
  RegisterClasses({TNamedItem::StaticClass(), TDefCollection::StaticClass(), TFieldDef::StaticClass(),
                   TFieldDefs::StaticClass(), TIndexDef::StaticClass(), TIndexDefs::StaticClass(),
                   TField::StaticClass(), TFields::StaticClass(), TDataSet::StaticClass(), TDataSource::StaticClass()});
}
