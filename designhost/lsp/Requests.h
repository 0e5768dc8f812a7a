// The language server's requests on a document: each answers the result of its method, or
// raises TLspError for the error response.
#pragma once

#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>

#include "designhost/lsp/TextDocument.h"
#include "designhost/lsp/Workspace.h"

// JSON-RPC's and the protocol's error codes.
constexpr int kParseError = -32700;
constexpr int kInvalidRequest = -32600;
constexpr int kMethodNotFound = -32601;
constexpr int kInvalidParams = -32602;
constexpr int kInternalError = -32603;
constexpr int kServerNotInitialized = -32002;
constexpr int kRequestFailed = -32803;
constexpr int kRequestCancelled = -32800;

class TLspError : public std::runtime_error {
 public:
  TLspError(int Code, const std::string& Message) : std::runtime_error(Message), FCode(Code) {}
  int Code() const { return FCode; }

 private:
  int FCode;
};

// A request on an open document: the document, its lines in the client's units and the
// position asked about (the start of the text when the request names none).
struct TDocumentRequest {
  const TWorkspace& Workspace;
  const TTextDocument& Document;
  const TTextLines& Lines;
  TTextPoint Point;
  const nlohmann::json& Params;
  bool EditRangeDefault = false;  // the client takes completion items' edit range once for all
};

nlohmann::json Completion(const TDocumentRequest& Request);
nlohmann::json Hover(const TDocumentRequest& Request);
nlohmann::json Definition(const TDocumentRequest& Request);
nlohmann::json References(const TDocumentRequest& Request);
nlohmann::json PrepareRename(const TDocumentRequest& Request);
nlohmann::json Rename(const TDocumentRequest& Request);
nlohmann::json Formatting(const TDocumentRequest& Request);
nlohmann::json CodeActions(const TDocumentRequest& Request);
nlohmann::json DocumentSymbols(const TDocumentRequest& Request);
