// TypInfo: reading and writing published properties by name, and the builder with which a
// class declares its published properties, methods and fields beside its definition.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

#include "host/rtl/Object.h"

// The published property of that name (case-insensitive), or nil.
const TPropInfo* GetPropInfo(TClass classInfo, std::string_view propName);
const TPropInfo* GetPropInfo(const TObject* instance, std::string_view propName);

int64_t GetOrdProp(const TObject* instance, const TPropInfo* propInfo);
void SetOrdProp(TObject* instance, const TPropInfo* propInfo, int64_t value);
std::string GetStrProp(const TObject* instance, const TPropInfo* propInfo);
void SetStrProp(TObject* instance, const TPropInfo* propInfo, const std::string& value);
TObject* GetObjectProp(const TObject* instance, const TPropInfo* propInfo);
void SetObjectProp(TObject* instance, const TPropInfo* propInfo, TObject* value);
TNotifyEvent GetMethodProp(const TObject* instance, const TPropInfo* propInfo);
void SetMethodProp(TObject* instance, const TPropInfo* propInfo, const TNotifyEvent& value);

// The property's value as the Object Inspector shows it: text for strings, the value name for
// enumerations, "True"/"False", "[a,b]" for sets, the component's name for references,
// "(TIndexDefs)" for other objects, the method name for events.
std::string GetPropValueText(const TObject* instance, const TPropInfo* propInfo);

// True when the property holds its default: what a stored form leaves out (empty text, the
// ordinal default, no reference, no handler, a sub-object whose stored properties are all at
// their defaults).
bool IsDefaultPropValue(const TObject* instance, const TPropInfo* propInfo);

std::string GetEnumName(const TEnumInfo& info, int value);
// The ordinal of a value name, or -1.
int GetEnumValue(const TEnumInfo& info, std::string_view name);

// Reads a property by path ("HorzScrollBar.Range"): the object that holds the last step, and
// its property; raises EPropertyError naming the class when a step does not exist.
std::pair<TObject*, const TPropInfo*> ResolvePropPath(TObject* instance, std::string_view path);

// An object property travels as an ordinal, as on the platform: these two are the only places
// where a reference becomes a number and back.
inline int64_t OrdOfObject(const TObject* object) { return static_cast<int64_t>(reinterpret_cast<intptr_t>(object)); }
inline TObject* ObjectOfOrd(int64_t ordinal) {
  return reinterpret_cast<TObject*>(static_cast<intptr_t>(ordinal));  // NOLINT(performance-no-int-to-ptr)
}

// The Boolean type's names, shared by every Boolean property.
const TEnumInfo& BooleanTypeInfo();

// Builds a class record. A class writes, in its .cpp:
//   TClass TFoo::StaticClass() {
//     static const TClassInfo info = TClassBuilder<TFoo>(TBar::StaticClass())
//         .Component()
//         .String("Caption", &TFoo::Caption, &TFoo::SetCaption)
//         .Build();
//     return &info;
//   }
//
// The builder and the accessors it makes are each library's own (hidden): no other library
// calls them, and exported, every one of them (a type and its name for each accessor) would be
// one more symbol that the dynamic linker looks up by name at every start of a program.
template <class T>
class __attribute__((visibility("hidden"))) TClassBuilder {
 public:
  // The record of T, derived from the class parent, under the name T's TIRVENDAL_CLASS gave it.
  explicit TClassBuilder(TClass parent) {
    static_assert(std::is_same_v<typename T::TSelf, T>,
                  "the class declares no class record of its own: TIRVENDAL_CLASS(Self) is missing in it");
    FInfo.Name = std::string(T::StaticClassName);
    FInfo.Parent = parent;
  }

  // The class is a component constructed as T(Owner).
  TClassBuilder& Component() {
    FInfo.NewComponent = [](TComponent* owner) -> TComponent* { return new T(owner); };
    return *this;
  }

  // The class is default-constructible.
  TClassBuilder& Constructible() {
    FInfo.NewObject = []() -> std::unique_ptr<TObject> { return std::make_unique<T>(); };
    return *this;
  }

  template <class G, class S>
  TClassBuilder& String(std::string name, G get, S set) {
    TPropInfo p = Named(std::move(name), tkLString, "string");
    p.GetStr = [get](const TObject* o) -> std::string { return (Self(o)->*get)(); };
    if constexpr (!std::is_null_pointer_v<S>)
      p.SetStr = [set](TObject* o, const std::string& v) { (Self(o)->*set)(v); };
    return Add(std::move(p));
  }

  template <class G, class S>
  TClassBuilder& Integer(std::string name, G get, S set, std::optional<int64_t> def = 0) {
    TPropInfo p = Named(std::move(name), tkInteger, "Integer");
    p.GetOrd = [get](const TObject* o) -> int64_t { return static_cast<int64_t>((Self(o)->*get)()); };
    if constexpr (!std::is_null_pointer_v<S>)
      p.SetOrd = [set](TObject* o, int64_t v) { (Self(o)->*set)(static_cast<int>(v)); };
    p.Default = def;
    return Add(std::move(p));
  }

  template <class G, class S>
  TClassBuilder& Boolean(std::string name, G get, S set, bool def = false) {
    TPropInfo p = Named(std::move(name), tkEnumeration, "Boolean");
    p.Enum = &BooleanTypeInfo();
    p.GetOrd = [get](const TObject* o) -> int64_t { return (Self(o)->*get)() ? 1 : 0; };
    if constexpr (!std::is_null_pointer_v<S>) p.SetOrd = [set](TObject* o, int64_t v) { (Self(o)->*set)(v != 0); };
    p.Default = def ? 1 : 0;
    return Add(std::move(p));
  }

  template <class G, class S, class E>
  TClassBuilder& Enum(std::string name, G get, S set, const TEnumInfo& info, E def) {
    TPropInfo p = Named(std::move(name), tkEnumeration, info.TypeName);
    p.Enum = &info;
    p.GetOrd = [get](const TObject* o) -> int64_t { return static_cast<int64_t>((Self(o)->*get)()); };
    using V = std::decay_t<decltype((std::declval<const T*>()->*get)())>;
    if constexpr (!std::is_null_pointer_v<S>)
      p.SetOrd = [set](TObject* o, int64_t v) { (Self(o)->*set)(static_cast<V>(v)); };
    p.Default = static_cast<int64_t>(def);
    return Add(std::move(p));
  }

  // A set property; the getter and setter take the set's TSet type.
  template <class G, class S>
  TClassBuilder& Set(std::string name, G get, S set, const TEnumInfo& elements, std::string typeName,
                     uint32_t def = 0) {
    TPropInfo p = Named(std::move(name), tkSet, std::move(typeName));
    p.Enum = &elements;
    p.GetOrd = [get](const TObject* o) -> int64_t { return (Self(o)->*get)().Value(); };
    using V = std::decay_t<decltype((std::declval<const T*>()->*get)())>;
    if constexpr (!std::is_null_pointer_v<S>)
      p.SetOrd = [set](TObject* o, int64_t v) { (Self(o)->*set)(V::FromValue(static_cast<uint32_t>(v))); };
    p.Default = def;
    return Add(std::move(p));
  }

  // An object property of class U: a component reference when a setter is given and U is a
  // component, otherwise an owned sub-object whose own properties are written nested.
  template <class U, class G, class S>
  TClassBuilder& Object(std::string name, G get, S set, bool stored = true) {
    TPropInfo p = Named(std::move(name), tkClass, "");
    p.PropClassOf = &U::StaticClass;
    p.GetOrd = [get](const TObject* o) -> int64_t { return OrdOfObject(static_cast<TObject*>((Self(o)->*get)())); };
    if constexpr (!std::is_null_pointer_v<S>)
      p.SetOrd = [set](TObject* o, int64_t v) { (Self(o)->*set)(As<U>(ObjectOfOrd(v))); };
    p.Default.reset();
    p.Stored = stored;
    return Add(std::move(p));
  }

  // An event property held in a TNotifyEvent member.
  TClassBuilder& Event(std::string name, TNotifyEvent T::*member) {
    TPropInfo p = Named(std::move(name), tkMethod, "TNotifyEvent");
    p.GetMethod = [member](const TObject* o) { return Self(o)->*member; };
    p.SetMethod = [member](TObject* o, const TNotifyEvent& v) { Self(o)->*member = v; };
    p.Default.reset();
    return Add(std::move(p));
  }

  // A published method that events can be bound to by name.
  TClassBuilder& Method(std::string name, void (T::*method)(TObject*)) {
    FInfo.Methods.push_back(
        {std::move(name), [method](TObject* self, TObject* sender) { (static_cast<T*>(self)->*method)(sender); }});
    return *this;
  }

  // A published field that a stored form fills with the component of the same name.
  template <class U>
  TClassBuilder& Field(std::string name, U* T::*member) {
    FInfo.Fields.push_back({std::move(name), &U::StaticClass, [member](TObject* self, TObject* value) {
                              static_cast<T*>(self)->*member = As<U>(value);
                            }});
    return *this;
  }

  // Marks the last declared property as never stored in a form.
  TClassBuilder& NotStored() {
    FInfo.Properties.back().Stored = false;
    return *this;
  }

  TClassInfo Build() { return std::move(FInfo); }

 private:
  static const T* Self(const TObject* o) { return As<T>(o); }
  static T* Self(TObject* o) { return As<T>(o); }
  static TPropInfo Named(std::string name, TTypeKind kind, std::string typeName) {
    TPropInfo p;
    p.Name = std::move(name);
    p.Kind = kind;
    p.TypeName = std::move(typeName);
    return p;
  }
  TClassBuilder& Add(TPropInfo p) {
    FInfo.Properties.push_back(std::move(p));
    return *this;
  }

  TClassInfo FInfo;
};
