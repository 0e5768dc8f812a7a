// check's findings as diagnostics, and the child process that computes them.
#include "designhost/lsp/Diagnostics.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

#include "designhost/Check.h"
#include "designhost/lsp/TextDocument.h"

namespace {

// The range a finding points at in Document: the stored property's value, else the object line;
// for a form that does not read, its line.
nlohmann::json FindingRange(const TFinding& Finding, const TTextDocument& Document, const TTextLines& Lines) {
  const TFormObject* tree = Document.Tree();
  const TFormObject* object = tree && !Finding.Component.empty() ? FindObject(*tree, Finding.Component) : nullptr;
  if (const TFormProperty* property = object ? FindProperty(*object, Finding.Property) : nullptr)
    return Lines.ValueRange(property->Value);
  return Lines.LineRange(Finding.Line - 1);
}

nlohmann::json Diagnostic(const TFinding& Finding, const TTextDocument& Document, const TTextLines& Lines) {
  nlohmann::json diagnostic = {{"range", FindingRange(Finding, Document, Lines)},
                               {"severity", 1},
                               {"source", "designhost"},
                               {"message", Finding.Message}};
  if (!Finding.Nearest.empty())
    diagnostic["data"] = {{"property", Finding.Property}, {"name", Finding.Name}, {"nearest", Finding.Nearest}};
  return diagnostic;
}

}  // namespace

nlohmann::json DiagnoseDocuments(const TWorkspace& Workspace, TPositionEncoding Encoding) {
  const TFormTexts texts = Workspace.Texts();
  TProject project(Workspace.CheckPaths(), &texts);
  const std::vector<TFinding> findings = CheckProject(project);
  nlohmann::json published = nlohmann::json::array();
  for (const auto& [uri, document] : Workspace.Documents()) {
    const std::string key = FormKey(document->Path());
    const TTextLines lines(document->Text(), Encoding);
    nlohmann::json diagnostics = nlohmann::json::array();
    for (const TFinding& finding : findings)
      if (FormKey(finding.File) == key) diagnostics.push_back(Diagnostic(finding, *document, lines));
    published.push_back({{"uri", uri}, {"version", document->Version()}, {"diagnostics", diagnostics}});
  }
  return published;
}

// ---------------------------------------------------------------------------------------------
// TCheckProcess

TCheckProcess::TCheckProcess(const std::function<std::string()>& Work) {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) throw EInOutError(std::string("Cannot start a check: ") + std::strerror(errno));
  FPid = ::fork();
  if (FPid < 0) {
    const int error = errno;
    ::close(fds[0]);
    ::close(fds[1]);
    throw EInOutError(std::string("Cannot start a check: ") + std::strerror(error));
  }
  if (FPid == 0) {
    ::close(fds[0]);
    std::string answer;
    try {
      answer = Work();
    } catch (...) {  // NOLINT(bugprone-empty-catch): an empty answer is a failed check
    }
    for (size_t written = 0; written < answer.size();) {
      ssize_t n = ::write(fds[1], answer.data() + written, answer.size() - written);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) ::_exit(1);
      written += static_cast<size_t>(n);
    }
    ::_exit(0);
  }
  ::close(fds[1]);
  FFd = fds[0];
}

namespace {

int Reap(pid_t Pid) {
  int status = 0;
  while (::waitpid(Pid, &status, 0) < 0 && errno == EINTR) {
  }
  return status;
}

}  // namespace

TCheckProcess::~TCheckProcess() {
  ::close(FFd);
  if (FPid > 0) {
    ::kill(FPid, SIGKILL);
    Reap(FPid);
  }
}

bool TCheckProcess::Read() {
  char buffer[65536];
  const ssize_t n = ::read(FFd, buffer, sizeof buffer);
  if (n < 0 && errno == EINTR) return false;
  if (n > 0) {
    FAnswer.append(buffer, static_cast<size_t>(n));
    return false;
  }
  const int status = Reap(FPid);
  FPid = -1;
  if (n < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) FAnswer.clear();
  return true;
}
