// The wire of the language server: JSON-RPC messages framed by a Content-Length header, read
// from what arrives on standard input and written to standard output whole.
#pragma once

#include <cstddef>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

// One framed message as it arrived: its body, or why its header could not be read.
struct TFramedMessage {
  std::string Body;
  std::string HeaderError;  // empty when the header was sound
};

// Cuts the bytes that arrive into messages. A header without a usable Content-Length, or a
// body larger than any form could make, gives a message with its HeaderError; its body, when
// its length is known, is skipped.
class TMessageReader {
 public:
  // The largest body taken.
  static constexpr size_t kMaxBody = size_t{64} << 20;

  void Feed(std::string_view Bytes);
  // The next whole message, or none until more bytes arrive.
  std::optional<TFramedMessage> Next();

 private:
  std::optional<TFramedMessage> TakeHeader();

  std::string FBuffer;
  size_t FSkip = 0;                   // bytes of a refused body still to drop
  std::optional<size_t> FBodyLength;  // of the message whose header was read
};

// Writes Message framed to the file descriptor Fd (the whole of it, waiting while the pipe is
// full); false when the reader went away.
bool WriteMessage(int Fd, const nlohmann::json& Message);
