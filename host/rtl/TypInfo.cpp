// TypInfo: access to published properties through their class records.
#include "host/rtl/TypInfo.h"

#include "host/rtl/Component.h"
#include "host/rtl/Strings.h"

namespace {

[[noreturn]] void WrongKind(const TPropInfo* p, const char* what) {
  throw EPropertyError("Property " + p->Name + " is not " + what);
}

[[noreturn]] void ReadOnlyProperty(const TPropInfo* p) {
  throw EPropertyError("Property " + p->Name + " is read-only");
}

}  // namespace

const TPropInfo* GetPropInfo(TClass classInfo, std::string_view propName) {
  return classInfo ? classInfo->FindProperty(propName) : nullptr;
}

const TPropInfo* GetPropInfo(const TObject* instance, std::string_view propName) {
  return instance ? GetPropInfo(instance->ClassType(), propName) : nullptr;
}

int64_t GetOrdProp(const TObject* instance, const TPropInfo* p) {
  if (!p->GetOrd) WrongKind(p, "an ordinal property");
  return p->GetOrd(instance);
}

void SetOrdProp(TObject* instance, const TPropInfo* p, int64_t value) {
  if (!p->GetOrd) WrongKind(p, "an ordinal property");
  if (!p->SetOrd) ReadOnlyProperty(p);
  p->SetOrd(instance, value);
}

std::string GetStrProp(const TObject* instance, const TPropInfo* p) {
  if (!p->GetStr) WrongKind(p, "a string property");
  return p->GetStr(instance);
}

void SetStrProp(TObject* instance, const TPropInfo* p, const std::string& value) {
  if (!p->GetStr) WrongKind(p, "a string property");
  if (!p->SetStr) ReadOnlyProperty(p);
  p->SetStr(instance, value);
}

TObject* GetObjectProp(const TObject* instance, const TPropInfo* p) {
  if (p->Kind != tkClass) WrongKind(p, "an object property");
  return ObjectOfOrd(p->GetOrd(instance));
}

void SetObjectProp(TObject* instance, const TPropInfo* p, TObject* value) {
  if (p->Kind != tkClass) WrongKind(p, "an object property");
  if (!p->SetOrd) ReadOnlyProperty(p);
  p->SetOrd(instance, OrdOfObject(value));
}

TNotifyEvent GetMethodProp(const TObject* instance, const TPropInfo* p) {
  if (p->Kind != tkMethod) WrongKind(p, "an event");
  return p->GetMethod(instance);
}

void SetMethodProp(TObject* instance, const TPropInfo* p, const TNotifyEvent& value) {
  if (p->Kind != tkMethod) WrongKind(p, "an event");
  p->SetMethod(instance, value);
}

std::string GetEnumName(const TEnumInfo& info, int value) {
  if (value < 0 || value >= static_cast<int>(info.Names.size())) return std::to_string(value);
  return info.Names[static_cast<size_t>(value)];
}

int GetEnumValue(const TEnumInfo& info, std::string_view name) { return info.ValueOf(name); }

const TEnumInfo& BooleanTypeInfo() {
  static const TEnumInfo info{"Boolean", {"False", "True"}};
  return info;
}

std::string GetPropValueText(const TObject* instance, const TPropInfo* p) {
  switch (p->Kind) {
    case tkLString:
    case tkString:
    case tkWString:
      return GetStrProp(instance, p);
    case tkEnumeration:
      return GetEnumName(*p->Enum, static_cast<int>(GetOrdProp(instance, p)));
    case tkSet: {
      auto bits = static_cast<uint32_t>(GetOrdProp(instance, p));
      std::string out = "[";
      for (size_t i = 0; i < p->Enum->Names.size(); ++i)
        if (bits & (uint32_t{1} << i)) out += (out.size() > 1 ? "," : "") + p->Enum->Names[i];
      return out + "]";
    }
    case tkClass: {
      TObject* value = GetObjectProp(instance, p);
      if (!value) return "";
      if (auto* component = dynamic_cast<TComponent*>(value)) return component->Name();
      return "(" + value->ClassName() + ")";
    }
    case tkMethod:
      return GetMethodProp(instance, p).MethodName;
    default:
      return std::to_string(GetOrdProp(instance, p));
  }
}

bool IsDefaultPropValue(const TObject* instance, const TPropInfo* p) {
  switch (p->Kind) {
    case tkLString:
    case tkString:
    case tkWString:
      return GetStrProp(instance, p).empty();
    case tkClass: {
      // A reference is set or not; an owned sub-object is at its default while all of its own
      // stored properties are, and while it holds no strings.
      static thread_local int depth = 0;
      TObject* value = GetObjectProp(instance, p);
      if (!value) return true;
      if (dynamic_cast<const TComponent*>(value)) return false;
      if (auto* strings = dynamic_cast<const TStrings*>(value); strings && strings->Count() > 0) return false;
      if (depth > 4) return true;
      ++depth;
      bool all = true;
      for (const TPropInfo* sub : value->ClassType()->AllProperties())
        if (sub->Stored && !IsDefaultPropValue(value, sub)) all = false;
      --depth;
      return all;
    }
    case tkMethod:
      return GetMethodProp(instance, p).MethodName.empty();
    default:
      return p->Default && *p->Default == GetOrdProp(instance, p);
  }
}

std::pair<TObject*, const TPropInfo*> ResolvePropPath(TObject* instance, std::string_view path) {
  TObject* holder = instance;
  while (true) {
    size_t dot = path.find('.');
    std::string_view step = path.substr(0, dot);
    const TPropInfo* p = GetPropInfo(holder, step);
    if (!p) throw EPropertyError(holder->ClassName() + " has no property '" + std::string(step) + "'");
    if (dot == std::string_view::npos) return {holder, p};
    TObject* next = p->Kind == tkClass ? GetObjectProp(holder, p) : nullptr;
    if (!next) throw EPropertyError(holder->ClassName() + "." + p->Name + " holds no object");
    holder = next;
    path = path.substr(dot + 1);
  }
}
