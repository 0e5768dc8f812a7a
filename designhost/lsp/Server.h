// designhost lsp: the language server for form files, on standard input and output.
#pragma once

#include <chrono>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "designhost/lsp/Diagnostics.h"
#include "designhost/lsp/Transport.h"
#include "designhost/lsp/Workspace.h"

class TLspServer {
 public:
  // The least time between the starts of two checks while the documents change: a change
  // after a quiet spell is checked at once, a burst of typing once per this time, and the
  // last change of a burst at most this time after it.
  static constexpr std::chrono::milliseconds kSettle{60};

  TLspServer(int In, int Out) : FIn(In), FOut(Out) {}
  // Serves until exit or the end of input: 0 after shutdown and exit, else 1.
  int Run();

 private:
  using TClock = std::chrono::steady_clock;

  void Receive(std::string_view Bytes);
  void Handle(const TFramedMessage& Message, const std::set<std::string>& Cancelled);
  void HandleRequest(const nlohmann::json& Message, const std::set<std::string>& Cancelled);
  void HandleNotification(const nlohmann::json& Message);
  nlohmann::json Dispatch(const std::string& Method, const nlohmann::json& Params);
  nlohmann::json Initialize(const nlohmann::json& Params);
  nlohmann::json OnDocument(const std::string& Method, const nlohmann::json& Params);

  void Send(const nlohmann::json& Message);
  void SendError(const nlohmann::json& Id, int Code, const std::string& Text);
  void Log(const std::string& Line) const;

  // Checks the open documents anew (a check under way is of older texts and ends): at once,
  // or for a change while the last check started less than kSettle ago, kSettle after it.
  void Schedule(bool Change);
  void StartCheck();
  void FinishCheck();
  int PollTimeout() const;

  int FIn;
  int FOut;
  TMessageReader FReader;
  TWorkspace FWorkspace;
  TPositionEncoding FEncoding = TPositionEncoding::Utf16;
  bool FEditRangeDefault = false;
  bool FInitialized = false;
  bool FShutdown = false;
  std::optional<int> FExit;
  std::optional<TClock::time_point> FCheckAt;
  TClock::time_point FLastCheck{};
  std::unique_ptr<TCheckProcess> FCheck;
};
