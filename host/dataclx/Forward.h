// Forward declarations of the platform's data-access layer (unit Db).
#pragma once

class EDatabaseError;
class TNamedItem;
class TDefCollection;
class TFieldDef;
class TFieldDefs;
class TIndexDef;
class TIndexDefs;
class TField;
class TFields;
class TDataSet;
class TDataSource;
class TDataLink;
