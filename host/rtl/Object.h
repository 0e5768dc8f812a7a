// TObject and the run-time type information every platform class carries:
// the class record (TClassInfo) with its published properties, methods and fields.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/rtl/Forward.h"
#include "host/rtl/SysUtils.h"

// The platform's type kinds, with their ordinals.
enum TTypeKind : uint8_t {
  tkUnknown,
  tkInteger,
  tkChar,
  tkEnumeration,
  tkFloat,
  tkString,
  tkSet,
  tkClass,
  tkMethod,
  tkWChar,
  tkLString,
  tkWString,
  tkVariant,
  tkArray,
  tkRecord,
  tkInterface,
  tkInt64,
  tkDynArray
};

// A set of an enumeration's values, stored as the platform stores it: bit `1 << ordinal`.
template <class E>
class TSet {
 public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> items) {
    for (E e : items) FBits |= Bit(e);
  }
  static constexpr TSet FromValue(uint32_t bits) {
    TSet s;
    s.FBits = bits;
    return s;
  }
  constexpr bool Contains(E e) const { return (FBits & Bit(e)) != 0; }
  constexpr TSet& Include(E e) {
    FBits |= Bit(e);
    return *this;
  }
  constexpr TSet& Exclude(E e) {
    FBits &= ~Bit(e);
    return *this;
  }
  constexpr bool Empty() const { return FBits == 0; }
  constexpr uint32_t Value() const { return FBits; }
  constexpr TSet operator+(TSet o) const { return FromValue(FBits | o.FBits); }
  constexpr TSet operator*(TSet o) const { return FromValue(FBits & o.FBits); }
  constexpr TSet operator-(TSet o) const { return FromValue(FBits & ~o.FBits); }
  constexpr bool operator==(const TSet&) const = default;

 private:
  static constexpr uint32_t Bit(E e) { return uint32_t{1} << static_cast<unsigned>(e); }
  uint32_t FBits = 0;
};

// An event handler: a published method of an object (as a form binds it), or code given directly.
struct TNotifyEvent {
  std::function<void(TObject* Sender)> Code;
  TObject* Data = nullptr;  // the object whose published method this is, if any
  std::string MethodName;   // that method's name; empty for code assigned directly

  explicit operator bool() const { return static_cast<bool>(Code); }
  void operator()(TObject* Sender) const {
    if (Code) Code(Sender);
  }
};

// Names of an enumeration's values, by ordinal.
struct TEnumInfo {
  std::string TypeName;
  std::vector<std::string> Names;

  // The ordinal of a name (case-insensitive), or -1.
  int ValueOf(std::string_view name) const;
};

// A published property. Ordinal kinds (integer, enumeration, set, Boolean, class) use
// GetOrd/SetOrd; a class property's ordinal value is the object's address.
struct TPropInfo {
  std::string Name;
  TTypeKind Kind = tkUnknown;
  std::string TypeName;               // "string", "Integer", "Boolean", ...; empty for tkClass
  TClass (*PropClassOf)() = nullptr;  // tkClass: the declared class's StaticClass, asked lazily so
                                      // a class may publish a reference to its own kind
  const TEnumInfo* Enum = nullptr;    // tkEnumeration, and the element type of tkSet
  std::function<int64_t(const TObject*)> GetOrd;
  std::function<void(TObject*, int64_t)> SetOrd;
  std::function<std::string(const TObject*)> GetStr;
  std::function<void(TObject*, const std::string&)> SetStr;
  std::function<TNotifyEvent(const TObject*)> GetMethod;
  std::function<void(TObject*, const TNotifyEvent&)> SetMethod;
  std::optional<int64_t> Default;  // ordinal default; a stored form leaves it out
  bool Stored = true;              // false: never written to a form

  bool ReadOnly() const { return !SetOrd && !SetStr && !SetMethod; }
  // tkClass: the declared class of the property; nil for other kinds.
  TClass PropClass() const { return PropClassOf ? PropClassOf() : nullptr; }
};

// A published method: an event handler a form description can bind by name.
struct TMethodInfo {
  std::string Name;
  std::function<void(TObject* Self, TObject* Sender)> Invoke;
};

// A published field: a component reference a form description fills by name.
struct TFieldInfo {
  std::string Name;
  TClass (*FieldClass)() = nullptr;  // the declared class's StaticClass
  std::function<void(TObject* Self, TObject* Value)> Set;
};

// The class record: name, parent, how to make an instance, and what the class publishes.
class TClassInfo {
 public:
  std::string Name;
  TClass Parent = nullptr;
  // Creates a component owned by Owner; empty for classes that are not components or are abstract.
  std::function<TComponent*(TComponent* Owner)> NewComponent;
  // Creates a free-standing object; empty when the class has no default construction.
  std::function<std::unique_ptr<TObject>()> NewObject;
  std::vector<TPropInfo> Properties;  // own properties, in declaration order
  std::vector<TMethodInfo> Methods;
  std::vector<TFieldInfo> Fields;

  bool InheritsFrom(TClass ancestor) const;
  // Searches this class, then its ancestors; names compare without regard to case.
  const TPropInfo* FindProperty(std::string_view name) const;
  const TMethodInfo* FindMethod(std::string_view name) const;
  const TFieldInfo* FindField(std::string_view name) const;
  // Every published property, the ancestors' first; a redeclared name keeps its first place.
  std::vector<const TPropInfo*> AllProperties() const;
};

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;

  // What TIRVENDAL_CLASS declares for every other class.
  using TSelf = TObject;
  static constexpr std::string_view StaticClassName = "TObject";
  static TClass StaticClass();
  virtual TClass ClassType() const { return StaticClass(); }
  const std::string& ClassName() const { return ClassType()->Name; }
  bool InheritsFrom(TClass ancestor) const { return ClassType()->InheritsFrom(ancestor); }
};

// Declares a class's class record, named as the class is; the registration block beside the
// class defines StaticClass() with TClassBuilder<Self>, which takes the name from here.
#define TIRVENDAL_CLASS(Self)                                \
 public:                                                     \
  using TSelf = Self;                                        \
  static constexpr std::string_view StaticClassName = #Self; \
  static TClass StaticClass();                               \
  TClass ClassType() const override { return StaticClass(); }

// The platform's checked cast: nil stays nil, an object of another class raises EInvalidCast.
template <class T>
T* As(TObject* object) {
  if (!object) return nullptr;
  if (auto* result = dynamic_cast<T*>(object)) return result;
  throw EInvalidCast("Invalid class typecast");
}

template <class T>
const T* As(const TObject* object) {
  return As<T>(const_cast<TObject*>(object));
}

// The checked cast for an object just made: ownership moves to the result, or the object is
// freed when it is of another class and EInvalidCast is raised.
template <class T>
std::unique_ptr<T> OwnedAs(std::unique_ptr<TObject> object) {
  if (!As<T>(object.get())) return nullptr;
  return std::unique_ptr<T>(As<T>(object.release()));
}

template <class T>
bool Is(const TObject* object) {
  return dynamic_cast<const T*>(object) != nullptr;
}
