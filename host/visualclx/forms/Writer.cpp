// Writing components as a form description: the root's properties, then the components it
// owns, each nested under its parent component when that parent belongs to the form too.
#include <algorithm>
#include <map>
#include <set>

#include "host/rtl/Classes.h"
#include "host/visualclx/forms/FormReader.h"

// Control characters, which a quoted piece cannot hold across a line, become #N codes.
std::string QuoteString(std::string_view text) {
  if (text.empty()) return "''";
  std::string out;
  bool open = false;
  for (char c : text) {
    auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) {
      if (open) out += '\'';
      open = false;
      out += '#' + std::to_string(u);
      continue;
    }
    if (!open) out += '\'';
    open = true;
    out += c;
    if (c == '\'') out += '\'';
  }
  if (open) out += '\'';
  return out;
}

namespace {

class TWriter {
 public:
  explicit TWriter(const TComponent* root) : FRoot(root) {}

  std::string Run() {
    std::vector<const TComponent*> top;
    for (int i = 0, n = FRoot->ComponentCount(); i < n; ++i) {
      const TComponent* component = FRoot->Components(i);
      const TComponent* parent = component->GetParentComponent();
      if (parent && parent != FRoot && parent->Owner() == FRoot)
        FChildren[parent].push_back(component);
      else
        top.push_back(component);
    }
    Header(FRoot, 0);
    std::vector<const TObject*> path{FRoot};
    WriteProperties(FRoot, "", 1, path);
    for (const TComponent* component : top) WriteObject(component, 1);
    // Components whose parents form a ring are reached from nowhere above; they still belong
    // to the form.
    for (int i = 0, n = FRoot->ComponentCount(); i < n; ++i)
      if (!FWritten.contains(FRoot->Components(i))) WriteObject(FRoot->Components(i), 1);
    FOut += "end\n";
    return std::move(FOut);
  }

 private:
  void Line(int depth, const std::string& text) {
    FOut.append(static_cast<size_t>(depth) * 2, ' ');
    FOut += text;
    FOut += '\n';
  }

  void Header(const TComponent* component, int depth) {
    Line(depth, component->Name().empty() ? "object " + component->ClassName()
                                          : "object " + component->Name() + ": " + component->ClassName());
  }

  void WriteObject(const TComponent* component, int depth) {
    FWritten.insert(component);
    Header(component, depth);
    std::vector<const TObject*> path{component};
    WriteProperties(component, "", depth + 1, path);
    auto children = FChildren.find(component);
    if (children != FChildren.end())
      for (const TComponent* child : children->second)
        if (!FWritten.contains(child)) WriteObject(child, depth + 1);
    Line(depth, "end");
  }

  // The name under which the form refers to a component; empty for one outside the form.
  std::string ReferenceName(const TObject* value) const {
    auto* component = dynamic_cast<const TComponent*>(value);
    if (!component || (component != FRoot && component->Owner() != FRoot)) return "";
    return component->Name();
  }

  void WriteProperties(const TObject* object, const std::string& prefix, int depth, std::vector<const TObject*>& path) {
    bool isComponent = Is<TComponent>(object);
    for (const TPropInfo* p : object->ClassType()->AllProperties()) {
      if (!p->Stored || (isComponent && SameText(p->Name, "Name"))) continue;
      std::string name = prefix + p->Name;
      if (p->Kind == tkClass) {
        WriteObjectProperty(object, p, name, depth, path);
        continue;
      }
      if (p->Kind == tkMethod) {
        TNotifyEvent event = GetMethodProp(object, p);
        if (!event.MethodName.empty() && (!event.Data || event.Data == FRoot))
          Line(depth, name + " = " + event.MethodName);
        continue;
      }
      if (p->ReadOnly()) continue;
      if (p->GetStr) {
        std::string value = GetStrProp(object, p);
        if (!value.empty()) Line(depth, name + " = " + QuoteString(value));
        continue;
      }
      int64_t value = GetOrdProp(object, p);
      if (p->Default && *p->Default == value) continue;
      if (p->Kind == tkEnumeration)
        Line(depth, name + " = " + GetEnumName(*p->Enum, static_cast<int>(value)));
      else if (p->Kind == tkSet)
        Line(depth, name + " = " + SetText(*p->Enum, static_cast<uint32_t>(value)));
      else
        Line(depth, name + " = " + std::to_string(value));
    }
  }

  void WriteObjectProperty(const TObject* object, const TPropInfo* p, const std::string& name, int depth,
                           std::vector<const TObject*>& path) {
    TObject* value = GetObjectProp(object, p);
    if (!value) return;
    if (IsComponentReference(p)) {
      std::string target = ReferenceName(value);
      if (!target.empty()) Line(depth, name + " = " + target);
      return;
    }
    if (std::find(path.begin(), path.end(), value) != path.end()) return;  // an object holding its holder
    if (auto* strings = dynamic_cast<const TStrings*>(value); strings && strings->Count() > 0) {
      Line(depth, name + ".Strings = (");
      for (int i = 0, n = strings->Count(); i < n; ++i)
        Line(depth + 1, QuoteString(strings->Get(i)) + (i + 1 == n ? ")" : ""));
    }
    path.push_back(value);
    WriteProperties(value, name + ".", depth, path);
    path.pop_back();
  }

  static std::string SetText(const TEnumInfo& info, uint32_t bits) {
    std::string out;
    for (size_t i = 0; i < info.Names.size() && i < 32; ++i)
      if (bits & (uint32_t{1} << i)) out += (out.empty() ? "" : ", ") + info.Names[i];
    return "[" + out + "]";
  }

  const TComponent* FRoot;
  std::string FOut;
  std::map<const TComponent*, std::vector<const TComponent*>> FChildren;
  std::set<const TComponent*> FWritten;
};

}  // namespace

std::string WriteComponent(const TComponent* Root) { return TWriter(Root).Run(); }
