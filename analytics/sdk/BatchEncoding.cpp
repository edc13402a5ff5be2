#include "analytics/sdk/BatchEncoding.h"

#include <zlib.h>

#include <vector>

#include "analytics/sdk/PropertiesNode.h"

namespace analytics_core {

std::optional<std::string> Gzip(const std::string& text) {
  z_stream stream{};
  if (deflateInit2(&stream, 9, Z_DEFLATED, 31, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
    WriteError("deflateInit2 failed while compressing.");
    return std::nullopt;
  }
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
  stream.avail_in = static_cast<uInt>(text.size());
  std::string out;
  std::vector<char> chunk(32768);
  int result;
  do {
    stream.next_out = reinterpret_cast<Bytef*>(chunk.data());
    stream.avail_out = static_cast<uInt>(chunk.size());
    result = deflate(&stream, Z_FINISH);
    out.append(chunk.data(), chunk.size() - stream.avail_out);
  } while (result == Z_OK);
  deflateEnd(&stream);
  if (result != Z_STREAM_END) {
    WriteError("Exception during zlib compression: (" + std::to_string(result) + ") " +
               (stream.msg ? stream.msg : ""));
    return std::nullopt;
  }
  return out;
}

std::string Base64(const std::string& bytes) {
  static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    const unsigned v = (static_cast<unsigned char>(bytes[i]) << 16) | (static_cast<unsigned char>(bytes[i + 1]) << 8) |
                       static_cast<unsigned char>(bytes[i + 2]);
    out += alphabet[v >> 18];
    out += alphabet[(v >> 12) & 63];
    out += alphabet[(v >> 6) & 63];
    out += alphabet[v & 63];
  }
  if (i < bytes.size()) {
    const bool two = i + 1 < bytes.size();
    const unsigned v = (static_cast<unsigned char>(bytes[i]) << 16) |
                       (two ? static_cast<unsigned char>(bytes[i + 1]) << 8 : 0);
    out += alphabet[v >> 18];
    out += alphabet[(v >> 12) & 63];
    out += two ? alphabet[(v >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

std::string UrlEncode(const std::string& text) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size() * 3 / 2);
  for (unsigned char c : text) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
        c == '_' || c == '~') {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += digits[c >> 4];
      out += digits[c & 15];
    }
  }
  return out;
}

std::optional<std::string> EncodeBatch(const std::string& batch) {
  const std::optional<std::string> compressed = Gzip(batch);
  if (!compressed) return std::nullopt;
  return "data_list=" + UrlEncode(Base64(*compressed)) + "&gzip=1";
}

}  // namespace analytics_core
