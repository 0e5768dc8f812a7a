// DesignIntf: what the designer and the property editors say to each other: the property
// attributes, the designer interface, and the registration of property editors.
#pragma once

#include <string>
#include <vector>

#include "host/designide/Forward.h"
#include "host/rtl/Classes.h"

// What the Object Inspector may do with a property; the platform's ordinals.
enum TPropertyAttribute {
  paValueList,
  paSubProperties,
  paDialog,
  paMultiSelect,
  paAutoUpdate,
  paSortList,
  paReadOnly,
  paRevertable,
  paFullWidthName,
  paVolatileSubProperties,
  paReference,
  paNotNestable
};
using TPropertyAttributes = TSet<TPropertyAttribute>;

const TEnumInfo& PropertyAttributeInfo();
// The attribute names joined by ",", in ordinal order: "paValueList,paMultiSelect,paSortList".
std::string PropertyAttributeNames(TPropertyAttributes Attributes);

// The form designer as the property editors see it; the host implements it.
class IDesigner {
 public:
  virtual ~IDesigner() = default;
  // The designer's modification notice: the form has changed and must be saved.
  virtual void Modified() = 0;
  // The form or data module being designed.
  virtual TComponent* Root() const = 0;
  // Hands out the name of every component of the form that is of class Class or a descendant.
  virtual void GetComponentNames(TClass Class, const TGetStrProc& Proc) = 0;
  // The component of the form with that name (case-insensitive), or nil.
  virtual TComponent* GetComponent(const std::string& Name) = 0;
};

// The name of a property's type as registrations name it: "string", "Integer", "Boolean",
// an enumeration's or set's type name, or the declared class's name.
std::string PropTypeName(const TPropInfo* PropInfo);

// Binds EditorClass to properties of type PropertyType ("string", "Integer", a class name; a
// class type also covers properties of its descendants) that ComponentClass or a descendant
// publishes (nil: any class) under PropertyName (empty: any name). A nil EditorClass hides the
// property from the inspector. The registration belongs to the module that is registering.
void RegisterPropertyEditor(const std::string& PropertyType, TClass ComponentClass, const std::string& PropertyName,
                            TClass EditorClass);

// The editor class for a property of a component of class ComponentClass: of the
// registrations that apply, the one with the most derived component class, then one naming
// the property, then the closest property type, then the later one; without any, the default
// editor of the property's type kind. Nil when a registration hides the property.
TClass GetEditorClass(const TPropInfo* PropInfo, TClass ComponentClass);
// The editor a property of that type kind gets when nothing is registered for it.
TClass DefaultEditorClass(const TPropInfo* PropInfo);

// The module whose registrations are being made: the loader names the package while its
// Initialize and Register run; otherwise it is nil, the host.
HMODULE CurrentRegisteringModule();
class TRegisteringModule {
 public:
  explicit TRegisteringModule(HMODULE Module);
  ~TRegisteringModule();
  TRegisteringModule(const TRegisteringModule&) = delete;
  TRegisteringModule& operator=(const TRegisteringModule&) = delete;

 private:
  HMODULE FPrevious;
};

// Forgets the property editor registrations a module made.
void UnregisterModuleEditors(HMODULE Module);

// Registers the designer layer's classes and installs the palette as the target of
// RegisterComponents. Calling it again is harmless.
void RegisterDesignClasses();
