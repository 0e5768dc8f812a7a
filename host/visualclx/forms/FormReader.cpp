// Reading a stored form description: the lexer and parser make its syntax tree, the builder
// applies it to the components.
#include "host/visualclx/forms/FormReader.h"

#include <utility>

#include "host/visualclx/forms/Builder.h"
#include "host/visualclx/forms/Parser.h"

bool IsComponentReference(const TPropInfo* Prop) {
  return Prop->Kind == tkClass && Prop->PropClass() && Prop->PropClass()->InheritsFrom(TComponent::StaticClass()) &&
         Prop->SetOrd;
}

void ReadComponent(TComponent* Root, std::string_view Text, const std::string& FileName) {
  BuildComponent(Root, ParseForm(Text, FileName), FileName);
}

std::unique_ptr<TComponent> ReadRootComponent(std::string_view Text, const std::string& FileName, TComponent* Owner,
                                              const std::string& Folder) {
  TFormObject tree = ParseForm(Text, FileName);
  std::unique_ptr<TComponent> root(CreateFormComponent(tree, Owner, FileName));
  root->SetFormFolder(Folder);
  BuildComponent(root.get(), std::move(tree), FileName);
  return root;
}
