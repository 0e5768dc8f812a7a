// Forward declarations of the platform's run-time library (Classes, SysUtils, TypInfo).
#pragma once

class TObject;
class TPersistent;
class TComponent;
class TStrings;
class TStringList;
class TCollection;
class TCollectionItem;
class TClassInfo;
struct TPropInfo;
struct TMethodInfo;
struct TFieldInfo;
struct TEnumInfo;
class Exception;

using TClass = const TClassInfo*;
