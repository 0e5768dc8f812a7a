// The one way the program writes a JSON value for others to read: on one line, keys in the
// order they were put in, and bytes that are no UTF-8 (a name read from a database or a form)
// as U+FFFD instead of a failure.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

inline std::string JsonLine(const nlohmann::ordered_json& Value) {
  return Value.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}
