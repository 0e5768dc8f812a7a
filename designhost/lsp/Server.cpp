// The language server's message loop: one thread reads the editor's messages and answers
// them; the documents are checked in a child process, so no request waits behind a check.
#include "designhost/lsp/Server.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>

#include "designhost/lsp/Requests.h"
#include "host/rtl/SysUtils.h"

namespace {

using nlohmann::json;

// A message's params; an object when it has none.
json Params(const json& Message) {
  return Message.contains("params") && !Message["params"].is_null() ? Message["params"] : json::object();
}

// The key of a request's id, to match a $/cancelRequest with it.
std::string IdKey(const json& Id) { return Id.dump(); }

json Capabilities(TPositionEncoding Encoding) {
  return {
      {"positionEncoding", Encoding == TPositionEncoding::Utf8 ? "utf-8" : "utf-16"},
      {"textDocumentSync", {{"openClose", true}, {"change", 2}, {"save", {{"includeText", false}}}}},
      {"completionProvider", {{"triggerCharacters", {"=", "'", ";", ":", " "}}}},
      {"hoverProvider", true},
      {"definitionProvider", true},
      {"referencesProvider", true},
      {"renameProvider", {{"prepareProvider", true}}},
      {"documentFormattingProvider", true},
      {"codeActionProvider", {{"codeActionKinds", {"quickfix", "refactor"}}}},
      {"documentSymbolProvider", true},
  };
}

bool Offers(const json& Capabilities, const std::vector<std::string>& Path, const std::string& Value) {
  const json* node = &Capabilities;
  for (const std::string& step : Path) {
    if (!node->is_object() || !node->contains(step)) return false;
    node = &(*node)[step];
  }
  if (!node->is_array()) return false;
  for (const json& item : *node)
    if (item.is_string() && item.get<std::string>() == Value) return true;
  return false;
}

}  // namespace

int TLspServer::Run() {
  char buffer[65536];
  while (!FExit) {
    pollfd fds[2] = {{FIn, POLLIN, 0}, {FCheck ? FCheck->Fd() : -1, POLLIN, 0}};
    const int ready = ::poll(fds, 2, PollTimeout());
    if (ready < 0 && errno != EINTR) throw EInOutError(std::string("Cannot wait for input: ") + std::strerror(errno));
    if (FCheck && (fds[1].revents & (POLLIN | POLLHUP | POLLERR)) && FCheck->Read()) FinishCheck();
    if (FCheckAt && TClock::now() >= *FCheckAt) StartCheck();
    if (!(fds[0].revents & (POLLIN | POLLHUP | POLLERR))) continue;
    const ssize_t n = ::read(FIn, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      Log("input closed without exit");
      return 1;
    }
    Receive(std::string_view(buffer, static_cast<size_t>(n)));
  }
  return *FExit;
}

// Takes every whole message that arrived; a request cancelled by a message of the same batch
// is answered as cancelled, without being run.
void TLspServer::Receive(std::string_view Bytes) {
  FReader.Feed(Bytes);
  std::vector<TFramedMessage> batch;
  while (auto message = FReader.Next()) batch.push_back(std::move(*message));
  std::set<std::string> cancelled;
  for (const TFramedMessage& message : batch) {
    json parsed = json::parse(message.Body, nullptr, false);
    if (parsed.is_object() && parsed.value("method", "") == "$/cancelRequest" && parsed.contains("params") &&
        parsed["params"].is_object() && parsed["params"].contains("id"))
      cancelled.insert(IdKey(parsed["params"]["id"]));
  }
  for (const TFramedMessage& message : batch) {
    Handle(message, cancelled);
    if (FExit) return;
  }
}

void TLspServer::Handle(const TFramedMessage& Message, const std::set<std::string>& Cancelled) {
  if (!Message.HeaderError.empty()) return SendError(nullptr, kParseError, Message.HeaderError);
  json message = json::parse(Message.Body, nullptr, false);
  if (message.is_discarded()) return SendError(nullptr, kParseError, "the message is not JSON");
  const bool valid = message.is_object() && message.value("jsonrpc", "") == "2.0" && message.contains("method") &&
                     message["method"].is_string() &&
                     (!message.contains("id") || message["id"].is_string() || message["id"].is_number_integer()) &&
                     (!message.contains("params") || message["params"].is_structured() || message["params"].is_null());
  if (!valid) {
    const json id =
        message.is_object() && message.contains("id") && !message["id"].is_object() ? message["id"] : json();
    return SendError(id, kInvalidRequest, "the message is no request or notification");
  }
  if (message.contains("id"))
    HandleRequest(message, Cancelled);
  else
    HandleNotification(message);
}

void TLspServer::HandleRequest(const json& Message, const std::set<std::string>& Cancelled) {
  const json& id = Message["id"];
  const std::string method = Message["method"];
  if (Cancelled.contains(IdKey(id))) return SendError(id, kRequestCancelled, "cancelled");
  try {
    if (method != "initialize" && !FInitialized) throw TLspError(kServerNotInitialized, "not initialized");
    if (FShutdown) throw TLspError(kInvalidRequest, "the server is shutting down");
    Send({{"jsonrpc", "2.0"}, {"id", id}, {"result", Dispatch(method, Params(Message))}});
  } catch (const TLspError& e) {
    SendError(id, e.Code(), e.what());
  } catch (const json::exception& e) {
    SendError(id, kInvalidParams, std::string("invalid parameters: ") + e.what());
  } catch (const std::exception& e) {
    SendError(id, kRequestFailed, e.what());
  }
}

json TLspServer::Dispatch(const std::string& Method, const json& Params) {
  if (Method == "initialize") return Initialize(Params);
  if (Method == "shutdown") {
    FShutdown = true;
    return nullptr;
  }
  if (Method.starts_with("textDocument/")) return OnDocument(Method, Params);
  throw TLspError(kMethodNotFound, "no method '" + Method + "'");
}

json TLspServer::Initialize(const json& Params) {
  if (FInitialized) throw TLspError(kInvalidRequest, "initialize was already asked");
  FInitialized = true;
  const json capabilities = Params.value("capabilities", json::object());
  if (Offers(capabilities, {"general", "positionEncodings"}, "utf-8")) FEncoding = TPositionEncoding::Utf8;
  FEditRangeDefault =
      Offers(capabilities, {"textDocument", "completion", "completionList", "itemDefaults"}, "editRange");
  if (Params.contains("workspaceFolders") && Params["workspaceFolders"].is_array()) {
    for (const json& folder : Params["workspaceFolders"]) FWorkspace.AddFolder(PathOfUri(folder.value("uri", "")));
  } else if (Params.contains("rootUri") && Params["rootUri"].is_string()) {
    FWorkspace.AddFolder(PathOfUri(Params["rootUri"].get<std::string>()));
  }
  return {{"capabilities", Capabilities(FEncoding)},
          {"serverInfo", {{"name", "designhost"}, {"version", TIRVENDAL_VERSION}}}};
}

json TLspServer::OnDocument(const std::string& Method, const json& Params) {
  using THandler = json (*)(const TDocumentRequest&);
  static const std::map<std::string, THandler, std::less<>> kHandlers = {
      {"textDocument/completion", Completion},          {"textDocument/hover", Hover},
      {"textDocument/definition", Definition},          {"textDocument/references", References},
      {"textDocument/prepareRename", PrepareRename},    {"textDocument/rename", Rename},
      {"textDocument/formatting", Formatting},          {"textDocument/codeAction", CodeActions},
      {"textDocument/documentSymbol", DocumentSymbols},
  };
  auto handler = kHandlers.find(Method);
  if (handler == kHandlers.end()) throw TLspError(kMethodNotFound, "no method '" + Method + "'");
  const std::string uri = Params.at("textDocument").at("uri").get<std::string>();
  const TTextDocument* document = FWorkspace.Find(uri);
  if (!document) throw TLspError(kInvalidParams, "the document " + uri + " is not open");
  const TTextLines lines(document->Text(), FEncoding);
  const TTextPoint point = Params.contains("position") ? lines.Point(Params["position"]) : TTextPoint{};
  return handler->second({FWorkspace, *document, lines, point, Params, FEditRangeDefault});
}

void TLspServer::HandleNotification(const json& Message) {
  const std::string method = Message["method"];
  const json params = Params(Message);
  try {
    if (method == "exit") {
      FExit = FShutdown ? 0 : 1;
    } else if (!FInitialized) {
      return;  // notifications before initialize are dropped
    } else if (method == "textDocument/didOpen") {
      const json& item = params.at("textDocument");
      FWorkspace.Open(item.at("uri"), item.value("version", 0), item.at("text"));
      Schedule(false);
    } else if (method == "textDocument/didChange") {
      TTextDocument* document = FWorkspace.Find(params.at("textDocument").at("uri"));
      if (!document) return Log("didChange of a document that is not open");
      for (const json& change : params.at("contentChanges")) document->Change(change, FEncoding);
      document->SetVersion(params["textDocument"].value("version", document->Version()));
      Schedule(true);
    } else if (method == "textDocument/didClose") {
      const std::string uri = params.at("textDocument").at("uri");
      FWorkspace.Close(uri);
      Send({{"jsonrpc", "2.0"},
            {"method", "textDocument/publishDiagnostics"},
            {"params", {{"uri", uri}, {"diagnostics", json::array()}}}});
      Schedule(false);
    } else if (method == "textDocument/didSave" || method == "workspace/didChangeWatchedFiles") {
      Schedule(false);
    }
  } catch (const std::exception& e) {
    Log(method + ": " + e.what());
  }
}

void TLspServer::Schedule(bool Change) {
  FCheck.reset();
  FCheckAt = Change ? std::max(TClock::now(), FLastCheck + kSettle) : TClock::now();
}

void TLspServer::StartCheck() {
  FCheckAt.reset();
  FLastCheck = TClock::now();
  if (FWorkspace.Documents().empty()) return;
  const TWorkspace& workspace = FWorkspace;
  const TPositionEncoding encoding = FEncoding;
  FCheck = std::make_unique<TCheckProcess>([&workspace, encoding] {
    return DiagnoseDocuments(workspace, encoding).dump(-1, ' ', false, json::error_handler_t::replace);
  });
}

void TLspServer::FinishCheck() {
  std::unique_ptr<TCheckProcess> check = std::move(FCheck);
  json published = json::parse(check->Answer(), nullptr, false);
  if (!published.is_array()) return Log("a check failed");
  for (json& params : published)
    if (const TTextDocument* document = FWorkspace.Find(params["uri"]);
        document && document->Version() == params["version"])
      Send({{"jsonrpc", "2.0"}, {"method", "textDocument/publishDiagnostics"}, {"params", std::move(params)}});
}

int TLspServer::PollTimeout() const {
  if (!FCheckAt) return -1;
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(*FCheckAt - TClock::now()).count();
  return static_cast<int>(std::max<int64_t>(left, 0));
}

void TLspServer::Send(const json& Message) {
  if (!WriteMessage(FOut, Message)) FExit = 1;  // the editor went away
}

void TLspServer::SendError(const json& Id, int Code, const std::string& Text) {
  Send({{"jsonrpc", "2.0"}, {"id", Id}, {"error", {{"code", Code}, {"message", Text}}}});
}

void TLspServer::Log(const std::string& Line) const { std::cerr << "designhost lsp: " << Line << std::endl; }
