// Unit Db: the platform's data-access layer in one include, and its class registration.
#pragma once

#include "host/dataclx/DataSet.h"
#include "host/dataclx/DataSource.h"
#include "host/dataclx/DatabaseError.h"
#include "host/dataclx/DefCollection.h"
#include "host/dataclx/Field.h"
#include "host/dataclx/FieldDef.h"
#include "host/dataclx/IndexDef.h"
#include "host/rtl/Strings.h"

// Registers every class of this layer in the class registry.
void RegisterDataClasses();
