// The form description's builder: creates the stored components, sets their properties,
// binds events to the root's published methods, fills the root's published fields and
// resolves component references once everything exists.
#include "host/visualclx/forms/Builder.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <unordered_set>

#include "host/rtl/Classes.h"
#include "host/rtl/SysUtils.h"
#include "host/visualclx/forms/FormError.h"
#include "host/visualclx/forms/FormReader.h"

namespace {

std::string DescribeValue(const TFormValue& value) {
  switch (value.Kind) {
    case TFormValue::vkString:
      return "string " + Quoted(value.Text);
    case TFormValue::vkInteger:
      return std::to_string(value.Integer);
    case TFormValue::vkIdent:
      return Quoted(value.Text);
    case TFormValue::vkSet:
      return "a set";
    case TFormValue::vkList:
      return "a string list";
  }
  return "a value";
}

// A value of a property of the root (or of one of its sub-objects) before the read changed it,
// so that a failed read can put it back.
struct TSavedValue {
  TObject* Holder = nullptr;
  const TPropInfo* Prop = nullptr;  // nil: the texts of the TStrings Holder
  std::string Str;
  int64_t Ord = 0;
  TNotifyEvent Method;
  std::unique_ptr<TStringList> Strings;

  TSavedValue(TObject* holder, const TPropInfo* prop) : Holder(holder), Prop(prop) {
    if (!Prop) {
      Strings = std::make_unique<TStringList>();
      Strings->Assign(static_cast<TStrings*>(Holder));
    } else if (Prop->Kind == tkMethod) {
      Method = GetMethodProp(Holder, Prop);
    } else if (Prop->GetStr) {
      Str = GetStrProp(Holder, Prop);
    } else {
      Ord = GetOrdProp(Holder, Prop);
    }
  }

  void Restore() const {
    if (!Prop)
      static_cast<TStrings*>(Holder)->Assign(Strings.get());
    else if (Prop->Kind == tkMethod)
      SetMethodProp(Holder, Prop, Method);
    else if (Prop->GetStr)
      SetStrProp(Holder, Prop, Str);
    else
      SetOrdProp(Holder, Prop, Ord);
  }
};

class TBuilder {
 public:
  TBuilder(TComponent* root, const std::string& fileName) : FRoot(root), FFileName(fileName) {}

  // Spent: Tree's own nested objects, given when the caller is done with the tree; each is
  // let go of once its components are made, so that their memory serves the next ones.
  void Build(const TFormObject& tree, std::vector<TFormObject>* spent) {
    bool wasLoading = FRoot->ComponentState().Contains(csLoading);
    FRoot->SetLoading(true);
    try {
      CheckRootClass(tree);
      SetRootName(tree);
      for (const TFormProperty& property : tree.Properties) ApplyProperty(FRoot, property, true);
      for (size_t i = 0; i < tree.Children.size(); ++i) {
        CreateComponent(tree.Children[i], FRoot);
        if (spent) (*spent)[i] = TFormObject();
      }
      ResolveReferences();
      for (const auto& [component, line] : FCreated)
        At(line, [&, c = component] {
          c->Loaded();
          c->SetLoading(false);
        });
      At(tree.Line, [&] { FRoot->Loaded(); });
      FRoot->SetLoading(wasLoading);
    } catch (...) {
      Undo();
      FRoot->SetLoading(wasLoading);
      throw;
    }
  }

 private:
  struct TFixup {
    TObject* Holder;
    const TPropInfo* Prop;
    std::string Name;
    int Line;
    bool OnRoot;
  };

  // Runs Action; a platform error it raises becomes an EFormError of this line.
  template <class F>
  void At(int line, F&& action) {
    At(line, nullptr, nullptr, std::forward<F>(action));
  }

  // The same, the message naming the property Prop of Holder ("TQVRTable.TableName: ..."); the
  // name is made only for a message, not for every property read.
  template <class F>
  void At(int line, const TObject* holder, const TPropInfo* prop, F&& action) {
    try {
      action();
    } catch (const EFormError&) {
      throw;
    } catch (const Exception& e) {
      Fail(line, holder ? NameOf(holder, prop) + ": " + e.Message() : e.Message());
    }
  }

  // A property as messages name it; Prop nil: the texts of the TStrings Holder.
  static std::string NameOf(const TObject* holder, const TPropInfo* prop) {
    return holder->ClassName() + "." + (prop ? prop->Name : std::string("Strings"));
  }

  [[noreturn]] void Fail(int line, const std::string& message) const { FormError(FFileName, line, message); }

  void CheckRootClass(const TFormObject& tree) {
    for (TClass c = FRoot->ClassType(); c; c = c->Parent)
      if (SameText(c->Name, tree.ClassName)) return;
    Fail(tree.Line, "a " + tree.ClassName + " cannot be read into a " + FRoot->ClassName());
  }

  // The root takes the stored name, made unique among its owner's components as a second
  // instance of the same form needs.
  void SetRootName(const TFormObject& tree) {
    if (tree.Name.empty()) return;
    std::string name = tree.Name;
    if (TComponent* owner = FRoot->Owner()) {
      for (int i = 1;; ++i) {
        TComponent* other = owner->FindComponent(name);
        if (!other || other == FRoot) break;
        name = tree.Name + "_" + std::to_string(i);
      }
    }
    if (name == FRoot->Name()) return;
    const TPropInfo* nameProp = GetPropInfo(FRoot, "Name");
    FSaved.emplace_back(FRoot, nameProp);
    At(tree.Line, [&] { FRoot->SetName(name); });
  }

  void CreateComponent(const TFormObject& node, TComponent* parent) {
    if (!node.Name.empty() && FRoot->FindComponent(node.Name))
      Fail(node.Line, "duplicate component name '" + node.Name + "'");
    TComponent* component = CreateFormComponent(node, FRoot, FFileName);
    FCreated.emplace_back(component, node.Line);
    At(node.Line, [&] {
      component->SetLoading(true);
      component->SetName(node.Name);
      component->SetParentComponent(parent);
    });
    FillField(component, node);
    for (const TFormProperty& property : node.Properties) ApplyProperty(component, property, false);
    for (const TFormObject& child : node.Children) CreateComponent(child, component);
  }

  void FillField(TComponent* component, const TFormObject& node) {
    if (node.Name.empty()) return;
    const TFieldInfo* field = FRoot->ClassType()->FindField(node.Name);
    if (!field) return;
    if (!component->InheritsFrom(field->FieldClass()))
      Fail(node.Line, "field " + field->Name + " of " + FRoot->ClassName() + " is a " + field->FieldClass()->Name +
                          ", not a " + component->ClassName());
    field->Set(FRoot, component);
    FFilledFields.push_back(field);
  }

  // The object that holds the last step of Path, and that step's property; a nil property
  // stands for the texts of a TStrings ("Items.Strings").
  std::pair<TObject*, const TPropInfo*> ResolvePath(TObject* target, const TFormProperty& property) {
    TObject* holder = target;
    std::string_view path = property.Path;
    while (true) {
      size_t dot = path.find('.');
      std::string_view step = path.substr(0, dot);
      bool last = dot == std::string_view::npos;
      if (last && SameText(step, "Strings") && Is<TStrings>(holder)) return {holder, nullptr};
      const TPropInfo* p = GetPropInfo(holder, step);
      if (!p) Fail(property.Line, holder->ClassName() + " has no property " + Quoted(step));
      if (last) return {holder, p};
      std::string name = holder->ClassName() + "." + p->Name;
      if (p->Kind != tkClass) Fail(property.Line, name + " is not an object");
      if (IsComponentReference(p))
        Fail(property.Line, name + " refers to a component; its properties are not set through " + p->Name);
      holder = GetObjectProp(holder, p);
      if (!holder) Fail(property.Line, name + " holds no object");
      path = path.substr(dot + 1);
    }
  }

  void ApplyProperty(TObject* target, const TFormProperty& property, bool onRoot) {
    auto resolved = ResolvePath(target, property);
    TObject* holder = resolved.first;
    const TPropInfo* p = resolved.second;
    const TFormValue& value = property.Value;
    auto name = [&] { return NameOf(holder, p); };
    if (!p) {
      if (value.Kind != TFormValue::vkList) WrongValue(property, name(), "a string list");
      if (onRoot) FSaved.emplace_back(holder, nullptr);
      At(property.Line, holder, p, [&] { static_cast<TStrings*>(holder)->SetVector(value.Items); });
      return;
    }
    if (p->Kind == tkClass && !IsComponentReference(p))
      Fail(property.Line, name() + " is an object; its properties are stored as " + p->Name + ".NAME");
    if (p->ReadOnly()) Fail(property.Line, name() + " is read-only");

    switch (p->Kind) {
      case tkLString:
      case tkString:
      case tkWString:
        if (value.Kind != TFormValue::vkString) WrongValue(property, name(), "a string");
        Assign(holder, p, onRoot, property.Line, [&] { SetStrProp(holder, p, value.Text); });
        return;
      case tkInteger:
      case tkInt64: {
        if (value.Kind != TFormValue::vkInteger) WrongValue(property, name(), "an integer");
        if (p->Kind == tkInteger && (value.Integer < std::numeric_limits<int32_t>::min() ||
                                     value.Integer > std::numeric_limits<int32_t>::max()))
          Fail(property.Line, std::to_string(value.Integer) + " is out of range for " + name());
        Assign(holder, p, onRoot, property.Line, [&] { SetOrdProp(holder, p, value.Integer); });
        return;
      }
      case tkEnumeration: {
        if (value.Kind != TFormValue::vkIdent) WrongValue(property, name(), "an identifier");
        int ordinal = p->Enum ? p->Enum->ValueOf(value.Text) : -1;
        if (ordinal < 0) Fail(property.Line, name() + " has no value " + Quoted(value.Text));
        Assign(holder, p, onRoot, property.Line, [&] { SetOrdProp(holder, p, ordinal); });
        return;
      }
      case tkSet: {
        if (value.Kind != TFormValue::vkSet) WrongValue(property, name(), "a set");
        uint32_t bits = 0;
        for (const std::string& item : value.Items) {
          int ordinal = p->Enum ? p->Enum->ValueOf(item) : -1;
          if (ordinal < 0 || ordinal >= 32) Fail(property.Line, name() + " has no element " + Quoted(item));
          bits |= uint32_t{1} << ordinal;
        }
        Assign(holder, p, onRoot, property.Line, [&] { SetOrdProp(holder, p, bits); });
        return;
      }
      case tkClass:
        if (value.Kind != TFormValue::vkIdent) WrongValue(property, name(), "a component name");
        FFixups.push_back({holder, p, value.Text, property.Line, onRoot});
        return;
      case tkMethod: {
        if (value.Kind != TFormValue::vkIdent) WrongValue(property, name(), "a method name");
        const TMethodInfo* method = FRoot->ClassType()->FindMethod(value.Text);
        if (!method) Fail(property.Line, FRoot->ClassName() + " has no published method " + Quoted(value.Text));
        TNotifyEvent event;
        event.Code = [root = FRoot, method](TObject* sender) { method->Invoke(root, sender); };
        event.Data = FRoot;
        event.MethodName = method->Name;
        Assign(holder, p, onRoot, property.Line, [&] { SetMethodProp(holder, p, event); });
        return;
      }
      default:
        Fail(property.Line, name() + " cannot be read from a form");
    }
  }

  template <class F>
  void Assign(TObject* holder, const TPropInfo* p, bool onRoot, int line, F&& set) {
    if (onRoot) FSaved.emplace_back(holder, p);
    At(line, holder, p, std::forward<F>(set));
  }

  [[noreturn]] void WrongValue(const TFormProperty& property, const std::string& name, const char* expected) const {
    Fail(property.Line, name + " expects " + expected + " but found " + DescribeValue(property.Value));
  }

  // References are made in form order, those to data sources last: a link between data sets
  // goes through a data source, so by then every data source knows its data set, and a loop of
  // links is refused at the link that closes it in form order, whatever the order of the objects.
  void ResolveReferences() {
    TClass dataSource = GetClass("TDataSource");
    auto late = [dataSource](const TFixup& fixup) {
      return dataSource && fixup.Prop->PropClass() && fixup.Prop->PropClass()->InheritsFrom(dataSource);
    };
    std::stable_partition(FFixups.begin(), FFixups.end(), [&](const TFixup& fixup) { return !late(fixup); });
    for (const TFixup& fixup : FFixups) {
      TComponent* target = nullptr;
      if (!SameText(fixup.Name, "nil")) {
        target = FRoot->FindComponent(fixup.Name);
        if (!target && SameText(FRoot->Name(), fixup.Name)) target = FRoot;
        if (!target) Fail(fixup.Line, "unknown component " + Quoted(fixup.Name));
        if (!target->InheritsFrom(fixup.Prop->PropClass()))
          Fail(fixup.Line, NameOf(fixup.Holder, fixup.Prop) + " expects a " + fixup.Prop->PropClass()->Name + " but " +
                               target->Name() + " is a " + target->ClassName());
      }
      Assign(fixup.Holder, fixup.Prop, fixup.OnRoot, fixup.Line,
             [&] { SetObjectProp(fixup.Holder, fixup.Prop, target); });
    }
  }

  // Puts the root back as it was: its changed properties restored, its fields cleared, and the
  // components this read created freed, the last created first.
  void Undo() noexcept {
    for (auto it = FSaved.rbegin(); it != FSaved.rend(); ++it) {
      try {
        it->Restore();
      } catch (...) {
        // The read's own error is the one worth reporting; a value that will not go back stays.
      }
    }
    for (const TFieldInfo* field : FFilledFields) field->Set(FRoot, nullptr);
    std::unordered_set<TComponent*> created;
    for (const auto& entry : FCreated) created.insert(entry.first);
    // Walk the root's list rather than FCreated: freeing one component may free others.
    for (int i = FRoot->ComponentCount() - 1; i >= 0; --i) {
      i = std::min(i, FRoot->ComponentCount() - 1);
      if (i < 0) break;
      TComponent* component = FRoot->Components(i);
      if (created.erase(component)) FreeObject(component);
    }
  }

  TComponent* FRoot;
  const std::string& FFileName;
  std::vector<std::pair<TComponent*, int>> FCreated;  // with the line of each one's header
  std::vector<TFixup> FFixups;
  std::vector<TSavedValue> FSaved;
  std::vector<const TFieldInfo*> FFilledFields;
};

}  // namespace

TComponent* CreateFormComponent(const TFormObject& Node, TComponent* Owner, const std::string& FileName) {
  TClass cls = GetClass(Node.ClassName);
  if (!cls) FormError(FileName, Node.Line, "unknown class '" + Node.ClassName + "'");
  if (!cls->NewComponent || !cls->InheritsFrom(TComponent::StaticClass()))
    FormError(FileName, Node.Line, Node.ClassName + " is not a component class");
  try {
    return cls->NewComponent(Owner);
  } catch (const Exception& e) {
    FormError(FileName, Node.Line, e.Message());
  }
}

void BuildComponent(TComponent* Root, const TFormObject& Tree, const std::string& FileName) {
  TBuilder(Root, FileName).Build(Tree, nullptr);
}

void BuildComponent(TComponent* Root, TFormObject&& Tree, const std::string& FileName) {
  TBuilder(Root, FileName).Build(Tree, &Tree.Children);
}
