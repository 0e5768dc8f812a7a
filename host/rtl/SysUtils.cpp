// SysUtils: Format, text helpers and conversions.
#include "host/rtl/SysUtils.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace {

// ASCII letters only, whatever locale the process runs in: names compare alike everywhere.
char FoldCase(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c | 0x20) : c; }

std::string Pad(std::string text, int width, bool left) {
  if (width <= 0 || static_cast<int>(text.size()) >= width) return text;
  std::string fill(static_cast<size_t>(width) - text.size(), ' ');
  return left ? text + fill : fill + text;
}

}  // namespace

std::string Format(std::string_view format, std::initializer_list<TVarRec> args) {
  std::string out;
  out.reserve(format.size() + 16);
  const TVarRec* next = args.begin();
  for (size_t i = 0; i < format.size(); ++i) {
    char c = format[i];
    if (c != '%') {
      out += c;
      continue;
    }
    if (++i >= format.size())
      throw EConvertError("Format '" + std::string(format) + "' invalid or incompatible with argument");
    if (format[i] == '%') {
      out += '%';
      continue;
    }
    bool left = false;
    if (format[i] == '-') {
      left = true;
      ++i;
    }
    int width = 0;
    while (i < format.size() && std::isdigit(static_cast<unsigned char>(format[i])))
      width = width * 10 + (format[i++] - '0');
    if (i >= format.size() || next == args.end())
      throw EConvertError("Format '" + std::string(format) + "' invalid or incompatible with argument");
    const TVarRec& arg = *next++;
    switch (FoldCase(format[i])) {
      case 's':
        if (!arg.AsString())
          throw EConvertError("Format '" + std::string(format) + "' invalid or incompatible with argument");
        out += Pad(*arg.AsString(), width, left);
        break;
      case 'd':
      case 'u':
        if (!arg.AsInteger())
          throw EConvertError("Format '" + std::string(format) + "' invalid or incompatible with argument");
        out += Pad(std::to_string(*arg.AsInteger()), width, left);
        break;
      case 'x': {
        if (!arg.AsInteger())
          throw EConvertError("Format '" + std::string(format) + "' invalid or incompatible with argument");
        char buf[32];
        auto res = std::to_chars(buf, buf + sizeof buf, static_cast<uint64_t>(*arg.AsInteger()), 16);
        std::string hex(buf, res.ptr);
        std::transform(hex.begin(), hex.end(), hex.begin(), [](char h) { return static_cast<char>(std::toupper(h)); });
        out += Pad(hex, width, left);
        break;
      }
      default:
        throw EConvertError("Format '" + std::string(format) + "' invalid or incompatible with argument");
    }
  }
  return out;
}

int AnsiCompareText(std::string_view a, std::string_view b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    unsigned char x = static_cast<unsigned char>(FoldCase(a[i]));
    unsigned char y = static_cast<unsigned char>(FoldCase(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool SameText(std::string_view a, std::string_view b) { return a.size() == b.size() && AnsiCompareText(a, b) == 0; }

std::string AnsiUpperCase(std::string_view s) {
  std::string r(s);
  std::transform(r.begin(), r.end(), r.begin(),
                 [](char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); });
  return r;
}

std::string AnsiLowerCase(std::string_view s) {
  std::string r(s);
  std::transform(r.begin(), r.end(), r.begin(), FoldCase);
  return r;
}

std::string Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  return std::string(s.substr(b, e - b));
}

std::string IntToStr(int64_t value) { return std::to_string(value); }

int64_t StrToInt(std::string_view s) {
  std::string t = Trim(s);
  int64_t v = 0;
  const char* b = t.data();
  const char* e = b + t.size();
  if (b != e && *b == '+') ++b;
  auto res = std::from_chars(b, e, v);
  if (t.empty() || res.ec != std::errc() || res.ptr != e)
    throw EConvertError("'" + std::string(s) + "' is not a valid integer value");
  return v;
}

std::u16string Utf8ToUtf16(std::string_view s) {
  std::u16string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    char32_t cp;
    size_t len;
    if (c < 0x80) {
      cp = c;
      len = 1;
    } else if ((c >> 5) == 0x6) {
      cp = c & 0x1F;
      len = 2;
    } else if ((c >> 4) == 0xE) {
      cp = c & 0x0F;
      len = 3;
    } else if ((c >> 3) == 0x1E) {
      cp = c & 0x07;
      len = 4;
    } else {
      cp = 0xFFFD;
      len = 1;
    }
    if (i + len > s.size()) {
      cp = 0xFFFD;
      len = s.size() - i;
    } else
      for (size_t k = 1; k < len; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    i += len;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (cp >> 10));
      out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
      out += static_cast<char16_t>(cp);
    }
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    char32_t cp = s[i];
    if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] < 0xE000) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (s[++i] - 0xDC00);
    }
    AppendUtf8(out, cp);
  }
  return out;
}

void AppendUtf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

void AbstractError() { throw EAbstractError("Abstract Error"); }
