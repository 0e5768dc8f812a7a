// designhost links: which table is the detail of which, and which fields join them.
#include "designhost/Links.h"

#include <iostream>

#include "designhost/KeyLinks.h"
#include "designhost/Output.h"
#include "designhost/Project.h"
#include "host/dataclx/DefCollection.h"
#include "host/dataclx/FieldList.h"
#include "host/visualclx/JsonLine.h"

namespace {

struct TLink {
  const TProjectForm* Form;
  const TProjectTable* Detail;
  const TProjectTable* Master;
  std::vector<std::pair<std::string, std::string>> Pairs;  // detail field, master field
  std::string Index;                                       // the detail's IndexName
  std::string Warning;                                     // why the pairs could not be read; empty when they could
};

// The field a listed name stands for, as the table resolves it; the name as listed when the
// structure is not known or has no such field.
std::string Resolved(const std::string& Name, const TTableStructure* Structure) {
  if (!Structure || !Structure->Error.empty()) return Name;
  const TNamedItem* field = FindListedDef(Structure->Fields.get(), Name);
  return field ? field->Name() : Name;
}

// Why the fields of the detail's order could not be read from its database file: the file is
// missing, locked or no database, or the table in it does not read. Empty when they could, or
// when what is missing is a fault of the form (an unknown database, table or index) that check
// reports.
std::string WhyNoOrder(TProject& Project, const TProjectTable& Table) {
  const TProjectDatabase* database = Project.FindDatabase(Table.DatabaseName);
  const TDatabaseStructure* file = database ? Project.Structure(*database) : nullptr;
  if (file && !file->Error().empty()) return file->Error();
  const TTableStructure* structure = Project.Structure(Table);
  if (structure && !structure->Error.empty()) return "cannot read table '" + structure->Name + "': " + structure->Error;
  return {};
}

// The detail's order fields paired with its master fields by position, as far as both reach.
std::vector<TLink> FindLinks(TProject& Project) {
  std::vector<TLink> links;
  for (const TProjectForm& form : Project.Forms()) {
    for (const TProjectTable& table : form.Tables) {
      if (table.MasterTable < 0) continue;
      TLink link{&form, &table, &form.Tables[static_cast<size_t>(table.MasterTable)], {}, table.IndexName, {}};
      const TTableStructure* structure = Project.Structure(table);
      const TTableStructure* masterStructure = Project.Structure(*link.Master);
      std::optional<std::vector<std::string>> detailFields = OrderFields(table, structure);
      if (!detailFields) link.Warning = WhyNoOrder(Project, table);
      std::vector<std::string> masterFields = SplitFieldList(table.MasterFields);
      for (size_t i = 0; detailFields && i < detailFields->size() && i < masterFields.size(); ++i)
        link.Pairs.emplace_back(Resolved((*detailFields)[i], structure), Resolved(masterFields[i], masterStructure));
      links.push_back(std::move(link));
    }
  }
  return links;
}

// The links the foreign keys of tables without a master source would make, keys in declaration
// order, one for every component that holds the key's table.
std::vector<TLink> FindSuggestions(TProject& Project) {
  std::vector<TLink> links;
  for (const TProjectForm& form : Project.Forms()) {
    std::vector<TFormTable> tables;
    for (const TProjectTable& table : form.Tables) {
      const TProjectDatabase* database = Project.FindDatabase(table.DatabaseName);
      const TDatabaseStructure* file = database ? Project.Structure(*database) : nullptr;
      tables.push_back({table.Name, table.TableName, file && file->Error().empty() ? file : nullptr,
                        Project.Structure(table), table.MasterTable, !table.MasterSource.empty()});
    }
    for (size_t i = 0; i < tables.size(); ++i) {
      if (tables[i].HasMasterSource) continue;
      for (TKeyChoice& choice : KeyChoices(tables, i))
        links.push_back({&form,
                         &form.Tables[i],
                         &form.Tables[choice.Master],
                         std::move(choice.Link.Pairs),
                         choice.Link.IndexName,
                         {}});
    }
  }
  return links;
}

// A field name inside a line's pairs: escaped as a field of the line, and "=" and ";" escaped
// too, so the pairs split back into the names they were made of.
std::string PairField(std::string_view Name) {
  std::string out;
  for (char c : EscapeField(Name)) {
    if (c == '=' || c == ';') out += '\\';
    out += c;
  }
  return out;
}

// "D=M;D=M": Field (identity for the graph's labels, PairField for a line of text) applied to
// each field name.
std::string PairsText(const TLink& Link, std::string (*Field)(std::string_view) = nullptr) {
  std::string text;
  for (const auto& [detail, master] : Link.Pairs) {
    if (!text.empty()) text += ';';
    text.append(Field ? Field(detail) : detail).append("=").append(Field ? Field(master) : master);
  }
  return text;
}

// Text inside a Graphviz double-quoted string.
std::string DotQuoted(const std::string& Text) {
  std::string out = "\"";
  for (char c : Text) {
    if (c == '"' || c == '\\')
      out += std::string("\\") + c;
    else if (c == '\n')
      out += "\\n";
    else
      out += c;
  }
  return out + "\"";
}

std::string NodeId(const TProjectForm& Form, const TProjectTable& Table) {
  return DotQuoted(Form.File + ":" + Table.Name);
}

void PrintDot(TProject& Project, const std::vector<TLink>& Links) {
  std::cout << "digraph links {\n  rankdir=LR;\n  node [shape=box, fontname=\"DejaVu Sans\"];\n"
               "  edge [fontname=\"DejaVu Sans\", fontsize=10];\n";
  int cluster = 0;
  for (const TProjectForm& form : Project.Forms()) {
    if (form.Tables.empty()) continue;
    std::cout << "  subgraph cluster_" << cluster++ << " {\n    label=" << DotQuoted(form.File) << ";\n";
    for (const TProjectTable& table : form.Tables)
      std::cout << "    " << NodeId(form, table) << " [label=" << DotQuoted(table.Name + "\n" + table.TableName)
                << "];\n";
    std::cout << "  }\n";
  }
  for (const TLink& link : Links)
    std::cout << "  " << NodeId(*link.Form, *link.Master) << " -> " << NodeId(*link.Form, *link.Detail)
              << " [label=" << DotQuoted(PairsText(link)) << "];\n";
  std::cout << "}\n";
}

}  // namespace

int RunLinks(const std::vector<std::string>& Paths, TLinksFormat Format, bool Suggest) {
  TProject project(Paths);
  std::vector<TLink> links = Suggest ? FindSuggestions(project) : FindLinks(project);
  if (Format == TLinksFormat::Dot) {
    PrintDot(project, links);
  } else {
    for (const TLink& link : links) {
      if (Format == TLinksFormat::Text) {
        std::cout << EscapeField(link.Form->File) << '\t' << EscapeField(link.Detail->Name) << '\t'
                  << EscapeField(link.Master->Name) << '\t' << PairsText(link, PairField) << '\n';
        continue;
      }
      nlohmann::ordered_json object;
      object["file"] = link.Form->File;
      object["detail"] = link.Detail->Name;
      object["detailTable"] = link.Detail->TableName;
      object["master"] = link.Master->Name;
      object["masterTable"] = link.Master->TableName;
      object["index"] = link.Index;
      object["pairs"] = nlohmann::ordered_json::array();
      for (const auto& [detail, master] : link.Pairs) object["pairs"].push_back({detail, master});
      std::cout << JsonLine(object) << '\n';
    }
  }
  std::cout.flush();
  int status = 0;
  for (const TProjectForm& form : project.Forms()) {
    if (!form.Failure) continue;
    std::cerr << Printable(form.File + ':' + std::to_string(form.Failure->Line) +
                           ": error: " + form.Failure->ClassName + ": " + form.Failure->Message)
              << '\n';
    status = 1;
  }
  for (const TLink& link : links) {
    if (link.Warning.empty()) continue;
    std::cerr << Printable("warning: " + link.Form->File + ':' + std::to_string(link.Detail->LineOf("MasterSource")) +
                           ": " + link.Detail->Name + ": " + link.Warning)
              << '\n';
    status = 1;
  }
  return status;
}
