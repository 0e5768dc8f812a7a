// Content-Length framing of the language server's messages.
#include "designhost/lsp/Transport.h"

#include <unistd.h>

#include <cerrno>
#include <charconv>

#include "host/rtl/SysUtils.h"

namespace {

constexpr std::string_view kLengthField = "content-length:";

// The value of Content-Length in a header block, or none.
std::optional<size_t> ContentLength(std::string_view Header) {
  size_t start = 0;
  while (start < Header.size()) {
    size_t end = Header.find("\r\n", start);
    if (end == std::string_view::npos) end = Header.size();
    std::string_view line = Header.substr(start, end - start);
    start = end + 2;
    if (line.size() < kLengthField.size() || !SameText(line.substr(0, kLengthField.size()), kLengthField)) continue;
    std::string_view value = line.substr(kLengthField.size());
    while (!value.empty() && value.front() == ' ') value.remove_prefix(1);
    while (!value.empty() && value.back() == ' ') value.remove_suffix(1);
    size_t length = 0;
    auto [last, error] = std::from_chars(value.data(), value.data() + value.size(), length);
    if (error != std::errc() || last != value.data() + value.size()) return std::nullopt;
    return length;
  }
  return std::nullopt;
}

}  // namespace

void TMessageReader::Feed(std::string_view Bytes) {
  const size_t dropped = std::min(FSkip, Bytes.size());
  FSkip -= dropped;
  FBuffer.append(Bytes.substr(dropped));
}

std::optional<TFramedMessage> TMessageReader::Next() {
  if (FSkip > 0) return std::nullopt;
  if (!FBodyLength) return TakeHeader();
  if (FBuffer.size() < *FBodyLength) return std::nullopt;
  TFramedMessage message{FBuffer.substr(0, *FBodyLength), {}};
  FBuffer.erase(0, *FBodyLength);
  FBodyLength.reset();
  return message;
}

std::optional<TFramedMessage> TMessageReader::TakeHeader() {
  const size_t end = FBuffer.find("\r\n\r\n");
  if (end == std::string::npos) {
    // A header never runs this long: what is there is no header, and is dropped.
    if (FBuffer.size() > 8192) {
      FBuffer.clear();
      return TFramedMessage{{}, "a header without its end"};
    }
    return std::nullopt;
  }
  std::optional<size_t> length = ContentLength(std::string_view(FBuffer).substr(0, end));
  FBuffer.erase(0, end + 4);
  if (!length) return TFramedMessage{{}, "a header without a valid Content-Length"};
  if (*length > kMaxBody) {
    const size_t dropped = std::min(*length, FBuffer.size());
    FBuffer.erase(0, dropped);
    FSkip = *length - dropped;
    return TFramedMessage{{}, "a body of " + std::to_string(*length) + " bytes, more than a form can need"};
  }
  FBodyLength = length;
  return Next();
}

bool WriteMessage(int Fd, const nlohmann::json& Message) {
  const std::string body = Message.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
  const std::string frame = "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
  size_t written = 0;
  while (written < frame.size()) {
    ssize_t n = ::write(Fd, frame.data() + written, frame.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    written += static_cast<size_t>(n);
  }
  return true;
}
