// Forward declarations of the run-time components (unit Qvrmain).
#pragma once

class TQVRSession;
class TQVRSessionList;
class TQVRDatabase;
class TQVRDataSet;
class TQVRTable;
class TQVRAdvFieldDef;
class TQVRAdvFieldDefs;
class TSqliteConnection;
class TSqliteStatement;
