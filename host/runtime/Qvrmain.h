// Unit Qvrmain: the run-time components (sessions, databases, data sets, tables) in one
// include, and their class registration.
#pragma once

#include "host/dataclx/Db.h"
#include "host/runtime/AdvFieldDefs.h"
#include "host/runtime/Database.h"
#include "host/runtime/QVRDataSet.h"
#include "host/runtime/Session.h"
#include "host/runtime/Table.h"

// Registers the run-time components and their collections in the class registry.
void RegisterRuntimeClasses();
