// What the cursor stands on in a form file: an object's name, a property's value, a
// component reference, a field name inside a field list.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "designhost/lsp/Requests.h"
#include "host/visualclx/forms/FormReader.h"

struct TSyntaxPoint {
  const TFormObject* Root = nullptr;  // nil when the document does not read
  const TFormObject* Object = nullptr;
  const TFormProperty* Property = nullptr;  // when on a property's value
  const TFormObject* Target = nullptr;      // the component named: on its object line, or a reference
  std::string Item;                         // the field name under the cursor in a field list
  bool OnName = false;                      // on the object line's name
  TTextPoint Start, End;                    // of what the cursor is on
};

TSyntaxPoint SyntaxAt(const TDocumentRequest& Request);

// The table component a table's MasterSource shows, or nil.
const TFormObject* MasterOf(const TFormObject& Root, const TFormObject& Table);

// True for a property that holds a field list.
bool IsFieldList(const std::string& Path);
