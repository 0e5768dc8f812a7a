// The built designhost lsp driven through pipes, as an editor drives it: messages framed and
// sent, answers and notifications read back in order.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>
#include <vector>

class TLspClient {
 public:
  explicit TLspClient(const std::filesystem::path& Dir) {
    int in[2];
    int out[2];
    if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addchdir_np(&actions, Dir.c_str());
    const std::string program = TIRVENDAL_BIN_DIR "/designhost";
    char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>("lsp"), nullptr};
    const int rc = posix_spawn(&FPid, program.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(in[0]);
    ::close(out[1]);
    FIn = in[1];
    FOut = out[0];
    if (rc != 0) throw std::runtime_error("cannot start designhost lsp");
  }
  ~TLspClient() {
    CloseInput();
    ::close(FOut);
    if (FPid > 0) {
      ::kill(FPid, SIGKILL);
      ::waitpid(FPid, nullptr, 0);
    }
  }
  TLspClient(const TLspClient&) = delete;
  TLspClient& operator=(const TLspClient&) = delete;

  // Sends the bodies framed, in one write: the server reads them as one batch.
  void SendRaw(const std::vector<std::string>& Bodies) {
    std::string frames;
    for (const std::string& body : Bodies)
      frames += "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
    if (::write(FIn, frames.data(), frames.size()) != static_cast<ssize_t>(frames.size()))
      throw std::runtime_error("write");
  }
  void SendRaw(const std::string& Body) { SendRaw(std::vector<std::string>{Body}); }
  void Notify(const std::string& Method, const nlohmann::json& Params) {
    SendRaw(nlohmann::json{{"jsonrpc", "2.0"}, {"method", Method}, {"params", Params}}.dump());
  }
  // Sends a request and answers its response, passing over notifications (kept for Next).
  nlohmann::json Request(const std::string& Method, const nlohmann::json& Params) {
    const int id = ++FLastId;
    SendRaw(nlohmann::json{{"jsonrpc", "2.0"}, {"id", id}, {"method", Method}, {"params", Params}}.dump());
    return ResponseTo(id);
  }
  nlohmann::json ResponseTo(const nlohmann::json& Id) {
    while (true) {
      nlohmann::json message = Read();
      if (message.contains("id") && message["id"] == Id && !message.contains("method")) return message;
      FPending.push_back(std::move(message));
    }
  }
  // The next message the server sends of its own (a notification), or the next response.
  nlohmann::json Next() {
    if (!FPending.empty()) {
      nlohmann::json message = FPending.front();
      FPending.erase(FPending.begin());
      return message;
    }
    return Read();
  }
  // The next publishDiagnostics for Uri.
  nlohmann::json Diagnostics(const std::string& Uri) {
    while (true) {
      nlohmann::json message = Next();
      if (message.value("method", "") == "textDocument/publishDiagnostics" && message["params"]["uri"] == Uri)
        return message["params"]["diagnostics"];
    }
  }
  pid_t Pid() const { return FPid; }
  void CloseInput() {
    if (FIn >= 0) ::close(FIn);
    FIn = -1;
  }
  // The exit status, waiting at most a few seconds; -1 when it did not end.
  int Wait() {
    for (int i = 0; i < 500; ++i) {
      int status = 0;
      if (::waitpid(FPid, &status, WNOHANG) == FPid) {
        FPid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      ::usleep(10000);
    }
    return -1;
  }

 private:
  nlohmann::json Read() {
    while (true) {
      const size_t end = FBuffer.find("\r\n\r\n");
      if (end != std::string::npos) {
        const size_t length = std::stoul(FBuffer.substr(FBuffer.find(':') + 1, end));
        if (FBuffer.size() >= end + 4 + length) {
          nlohmann::json message = nlohmann::json::parse(FBuffer.substr(end + 4, length));
          FBuffer.erase(0, end + 4 + length);
          return message;
        }
      }
      pollfd fd{FOut, POLLIN, 0};
      if (::poll(&fd, 1, 20000) <= 0) throw std::runtime_error("no message from the server");
      char buffer[65536];
      const ssize_t n = ::read(FOut, buffer, sizeof buffer);
      if (n <= 0) throw std::runtime_error("the server ended");
      FBuffer.append(buffer, static_cast<size_t>(n));
    }
  }

  pid_t FPid = -1;
  int FIn = -1;
  int FOut = -1;
  int FLastId = 0;
  std::string FBuffer;
  std::vector<nlohmann::json> FPending;
};
